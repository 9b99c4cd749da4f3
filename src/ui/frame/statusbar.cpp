#include "statusbar.h"

#include "io/palette.h"
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"

#include <QApplication>
#include <QLabel>

namespace bitloom {

namespace {

// Names can be as long as a line; the bar keeps room for the other fields.
constexpr int kShownNameLength = 32;

QString capitalised(const QString& text)
{
    return text.isEmpty() ? text : text.at(0).toUpper() + text.mid(1);
}

} // namespace

StatusBar::StatusBar(Document& document, Editor& editor, QWidget* parent)
    : QStatusBar(parent), mDocument(document), mEditor(editor)
{
    setObjectName(QStringLiteral("statusBar"));
    mTool = addField("toolStatus");
    mColour = addField("colourStatus");
    mSprite = addField("spriteStatus", 1);
    mLayout = addField("layoutStatus", 1);
    mCount = addField("spriteCountStatus");
    mCell = addField("cellStatus");
    // A field of its own rather than a message: messages time out or give
    // way to the next one, and this must stay until it no longer holds.
    mRecoveryProblem = new QLabel(this);
    mRecoveryProblem->setObjectName(QStringLiteral("recoveryProblemStatus"));
    mRecoveryProblem->setTextFormat(Qt::PlainText);
    mRecoveryProblem->setMinimumWidth(1);
    mRecoveryProblem->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    mRecoveryProblem->hide();
    insertPermanentWidget(0, mRecoveryProblem, 2);

    mSubscription =
        mDocument.subscribe([this](const DocumentChange& change) { showDocument(change.changes); });
    connect(&mEditor, &Editor::pointerCellChanged, this, &StatusBar::showCell);
    // The focus cell shows while the grid has the keyboard; arrow keys move
    // the focus from cell to cell.
    connect(qApp, &QApplication::focusChanged, this, &StatusBar::showCell);
    showDocument(~0u);
    showCell();
}

QLabel* StatusBar::addField(const char* name, int stretch)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    // Fields ask for their text's width but give way on a small screen, so
    // the bar never makes the window wider than the screen.
    label->setMinimumWidth(1);
    addPermanentWidget(label, stretch);
    return label;
}

void StatusBar::showDocument(Changes changes)
{
    if (changes & ToolsChanged)
        showTools();
    if (changes & (NameChanged | ListChanged | TableChanged))
        showSprite();
    // What a tile of an array could not take, and why.
    if ((changes & Refused) && !mDocument.lastRefusal().message.empty())
        showMessage(QString::fromStdString(mDocument.lastRefusal().message));
}

void StatusBar::showTools()
{
    // Before any tool is chosen a press paints one cell, as the pen does.
    mTool->setText(mDocument.tool() == Tool::Brush ? tr("Tool: Brush") : tr("Tool: Pen"));
    mColour->setText(tr("Colour: %1").arg(capitalised(shadeName(mDocument.colour()))));
}

void StatusBar::showSprite()
{
    QString name = QString::fromStdString(mDocument.name());
    if (name.size() > kShownNameLength)
        name = name.left(kShownNameLength - 1) + QChar(0x2026);
    mSprite->setText(tr("Sprite: %1").arg(name));
    mSprite->setToolTip(QString::fromStdString(mDocument.name()));
    mCount->setText(QString::fromStdString(mDocument.countText()));
    mLayout->setText(QString::fromStdString(mDocument.layoutText()));
}

void StatusBar::showRecoveryProblem(const QString& reason)
{
    if (reason.isEmpty()) {
        mRecoveryProblem->hide();
        mRecoveryProblem->clear();
        return;
    }
    mRecoveryProblem->setText(tr("Unsaved work is not kept for recovery: %1").arg(reason));
    mRecoveryProblem->setToolTip(mRecoveryProblem->text());
    mRecoveryProblem->show();
}

void StatusBar::showCell()
{
    int cell = mEditor.pointerCell();
    // The application's focus widget is already the new one while
    // focusChanged is reported; hasFocus() may not say so yet.
    if (cell < 0 && QApplication::focusWidget() == mEditor.cell(mEditor.focusCell()))
        cell = mEditor.focusCell();
    mCell->setText(cell < 0 ? QString()
                            : tr("Row %1, column %2").arg(rowOf(cell) + 1).arg(columnFromLeft(cell) + 1));
}

} // namespace bitloom
