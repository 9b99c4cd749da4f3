#include "uitest.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace bitloom::test {

std::vector<std::pair<std::string, Shades>> tableSnapshot(const Editor& editor)
{
    std::vector<std::pair<std::string, Shades>> rows;
    for (const SpriteEntry& entry : editor.document().table())
        rows.emplace_back(entry.name, entry.shades);
    return rows;
}

std::optional<QString> takeMessage(const QWidget& window, const char* name)
{
    auto* box = window.findChild<QMessageBox*>(QString::fromLatin1(name));
    if (!box || !box->isVisible())
        return std::nullopt;
    const QString text = box->text();
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return text;
}

std::optional<QString> answering(QMessageBox::StandardButton button, const std::function<void()>& command,
                                 QString* name)
{
    std::optional<QString> seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (seen || !box || !box->isVisible())
            return;
        seen = box->text();
        if (name)
            *name = box->objectName();
        if (QAbstractButton* answer = box->button(button))
            answer->click();
        else
            ADD_FAILURE() << "the message has no such button";
    });
    poll.start(5);
    command();
    return seen;
}

void answerMessage(QMessageBox::StandardButton button)
{
    // Polls from the dialog's own event loop until it is shown.
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        if (QAbstractButton* answer = box->button(button))
            answer->click();
        else
            ADD_FAILURE() << "the message has no such button";
    });
    poll->start(5);
}

void WindowTest::SetUp()
{
    window = std::make_unique<TestWindow>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::TearDown()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowTest::chooseTool(ToolImage& image)
{
    press(0, Qt::RightButton, {2, 2});
    ASSERT_TRUE(toolPopup().isVisible());
    QTest::mouseClick(&image, Qt::LeftButton);
    ASSERT_FALSE(toolPopup().isVisible());
}

void WindowTest::typeName(const QString& name)
{
    QTest::keyClick(&nameBox(), Qt::Key_A, Qt::ControlModifier);
    if (name.isEmpty())
        QTest::keyClick(&nameBox(), Qt::Key_Backspace);
    // Each key carries its character, so letters beyond ASCII type too.
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype length = name[i].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, &nameBox(), Qt::Key_unknown, name.mid(i, length), {});
        i += length - 1;
    }
    ASSERT_EQ(nameBox().currentText(), name);
}

void WindowTest::chooseName(int row)
{
    nameBox().showPopup();
    QAbstractItemView* view = nameBox().view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->isVisible(); }));
}

void WindowTest::draw(const QString& name, int colourIndex, std::initializer_list<int> cells)
{
    typeName(name);
    pickColour(colourIndex);
    for (int cell : cells)
        press(cell);
}

} // namespace bitloom::test
