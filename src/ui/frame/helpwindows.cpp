#include "helpwindows.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace bitloom {

namespace {

// A menu caption as it reads in a list: no mnemonic marks, no ellipsis.
QString plainCaption(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
    if (caption.endsWith(QChar(0x2026)))
        caption.chop(1);
    return caption;
}

QString keysOf(const QAction& action)
{
    QStringList keys;
    for (const QKeySequence& key : action.shortcuts())
        keys << key.toString(QKeySequence::NativeText);
    return keys.join(QStringLiteral(", "));
}

// Every item with a shortcut in `menu` and its submenus.
void addMenuKeys(QTreeWidgetItem& group, const QMenu& menu, const QString& prefix = {})
{
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        if (QMenu* sub = action->menu()) {
            addMenuKeys(group, *sub, prefix + plainCaption(action->text()) + QStringLiteral(" > "));
            continue;
        }
        const QString keys = keysOf(*action);
        if (!keys.isEmpty())
            new QTreeWidgetItem(&group, {prefix + plainCaption(action->text()), keys});
    }
}

} // namespace

ShortcutsWindow::ShortcutsWindow(const QMenuBar& menus, QWidget* parent)
    : QDialog(parent), mList(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("shortcutsWindow"));
    setWindowTitle(tr("Keyboard Shortcuts"));
    mList->setObjectName(QStringLiteral("shortcutList"));
    mList->setColumnCount(2);
    mList->setHeaderLabels({tr("Action"), tr("Keys")});
    mList->setRootIsDecorated(false);
    mList->setSelectionMode(QAbstractItemView::NoSelection);

    const auto addGroup = [this](const QString& title) {
        auto* group = new QTreeWidgetItem(mList, {title});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        return group;
    };
    for (QAction* menuAction : menus.actions()) {
        if (const QMenu* menu = menuAction->menu()) {
            QTreeWidgetItem* group = addGroup(tr("%1 menu").arg(plainCaption(menuAction->text())));
            addMenuKeys(*group, *menu);
            if (group->childCount() == 0)
                delete group;
        }
    }

    const auto addKeys = [](QTreeWidgetItem* group, std::initializer_list<std::pair<QString, QString>> rows) {
        for (const auto& [action, keys] : rows)
            new QTreeWidgetItem(group, {action, keys});
    };
    addKeys(addGroup(tr("Grid (painting with the keyboard)")),
            {
                {tr("Move to the next cell"), tr("Arrow keys")},
                {tr("Choose white, grey, dark grey or black"), tr("1, 2, 3, 4")},
                {tr("Paint the cell (as a left click)"), tr("Space or Return")},
                {tr("Open the tool pop-up (as a right click)"), tr("Menu or Shift+F10")},
                {tr("Close the tool pop-up"), tr("Escape")},
                {tr("Pen"), tr("P")},
                {tr("Brush"), tr("B")},
                {tr("Flip Horizontally"), tr("H")},
                {tr("Flip Vertically"), tr("V")},
                {tr("Rotate Clockwise"), tr("R")},
                {tr("Rotate Anticlockwise"), tr("Shift+R")},
                {tr("Shift the drawing"), tr("Shift+Arrow keys")},
                {tr("Invert Shades"), tr("I")},
                {tr("Copy Sprite, Paste Sprite"), tr("Ctrl+C, Ctrl+V")},
            });
    addKeys(addGroup(tr("Name box")), {
                                          {tr("Take the typed name"), tr("Return")},
                                          {tr("Show the listed names"), tr("Alt+Down")},
                                      });
    addKeys(addGroup(tr("Sprites window")), {
                                                {tr("Move to another sprite"), tr("Arrow keys, Home, End")},
                                                {tr("Show the sprite in the editor"), tr("Return or Space")},
                                                {tr("Copy Sprite, Paste Sprite"), tr("Ctrl+C, Ctrl+V")},
                                            });
    mList->expandAll();
    mList->resizeColumnToContents(0);
    mList->header()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mList);
    layout->addWidget(buttons);
    resize(mList->columnWidth(0) + fontMetrics().averageCharWidth() * 30, fontMetrics().height() * 30);
}

QStringList ShortcutsWindow::entries() const
{
    QStringList lines;
    for (int g = 0; g < mList->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = mList->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            lines << group->text(0) + QStringLiteral(": ") + group->child(i)->text(0) + QStringLiteral(": ")
                         + group->child(i)->text(1);
    }
    return lines;
}

QString aboutText()
{
    return QObject::tr("<h3>Bitloom %1</h3>"
                       "<p>A small desktop tool for drawing 8 × 8 sprites in four grey levels and keeping "
                       "their C source.</p>"
                       "<p>Copyright © 2026 Veldra Software.<br>Released under the MIT License.</p>")
        .arg(QStringLiteral(BITLOOM_VERSION));
}

} // namespace bitloom
