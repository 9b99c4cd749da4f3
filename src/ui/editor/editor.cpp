#include "editor.h"

#include "accessiblevalue.h"
#include "cellwidget.h"
#include "io/palette.h"
#include "spritenamebox.h"
#include "toolimage.h"
#include "ui/pictures.h"
#include "ui/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace bitloom {

namespace {

MouseButton toMouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::Left;
    }
}

template <typename Widget>
void place(Widget* widget, const layout::ControlDescription& control)
{
    widget->setObjectName(QString::fromUtf8(control.name.data(), qsizetype(control.name.size())));
    widget->setGeometry(twips::toPixels(control.rect));
}

} // namespace

Editor::Editor(Document& document, QWidget* parent) : QWidget(parent), mDocument(document)
{
    setObjectName(QStringLiteral("editor"));
    setWindowTitle(tr("Graph Editor"));
    setFixedSize(twips::toPixels(layout::kEditorClient).size());

    installAccessibleFactory();
    buildControls();
    connectControls();
    reportPointerCell();
    addEscapeKey();

    mSubscription =
        mDocument.subscribe([this](const DocumentChange& change) { showDocument(change.changes); });
    showDocument(~0u & ~Refused);
}

void Editor::buildControls()
{
    for (int k = 0; k < kCellCount; ++k) {
        auto* cell = new CellWidget(k, CellWidget::Frame::Flat, this);
        cell->setObjectName(QStringLiteral("cell"));
        cell->setGeometry(twips::toPixels(layout::cellRect(k)));
        cell->setCursor(Qt::CrossCursor);
        cell->setMouseTracking(true);
        cell->setAccessibleName(tr("Cell, row %1, column %2").arg(rowOf(k) + 1).arg(columnFromLeft(k) + 1));
        cell->installEventFilter(this);
        mCells[std::size_t(k)] = cell;
    }
    // The grid is one stop of the Tab chain: only its focus cell takes the
    // focus from Tab, never from a click, so clicks leave the name box
    // with the keyboard.
    cell(mFocusCell)->setFocusPolicy(Qt::TabFocus);
    for (int i = 0; i < kShadeCount; ++i) {
        auto* cell = new CellWidget(i, CellWidget::Frame::Sunken, this);
        cell->setObjectName(QStringLiteral("paletteCell"));
        cell->setGeometry(twips::toPixels(layout::paletteCellRect(i)));
        cell->setColour(shadeOfCode(i));
        const QString shade = shadeName(cell->colour());
        cell->setAccessibleName(tr("Colour %1").arg(shade));
        cell->setAccessibleDescription(tr("Paint with %1").arg(shade));
        cell->setToolTip(shade.at(0).toUpper() + shade.mid(1));
        mPaletteCells[std::size_t(i)] = cell;
    }

    mColourMarker = new ToolImage(picture("arrow"), this);
    place(mColourMarker, layout::kColourMarker);
    mColourMarker->setAccessibleName(tr("Selected colour marker"));

    mNameLabel = new QLabel(tr("Sprite Name:"), this);
    place(mNameLabel, layout::kNameLabel);

    mNameBox = new SpriteNameBox(this);
    place(mNameBox, layout::kNameBox);
    mNameBox->lineEdit()->setAccessibleName(tr("Sprite name"));
    mNameLabel->setBuddy(mNameBox);

    // The pop-up is a borderless child frame raised above the cells, not a
    // popup window: choosing a tool is the only way to close it.
    mToolPopup = new QFrame(this);
    place(mToolPopup, layout::kToolPopup);
    mToolPopup->setFrameShape(QFrame::NoFrame);
    mToolPopup->setAutoFillBackground(true);
    mToolPopup->setBackgroundRole(QPalette::Button);
    mToolPopup->hide();

    mPenButton = new ToolImage(picture("pencil"), mToolPopup);
    place(mPenButton, layout::kPenButton);
    mPenButton->setToolTip(tr("Pen"));
    mPenButton->setAccessibleName(tr("Pen"));
    mBrushButton = new ToolImage(picture("brush"), mToolPopup);
    place(mBrushButton, layout::kBrushButton);
    mBrushButton->setToolTip(tr("Brush"));
    mBrushButton->setAccessibleName(tr("Brush"));

    mNameBox->setFocus();
}

void Editor::connectControls()
{
    for (auto* cell : mCells) {
        connect(cell, &CellWidget::pressed, this, [this](int k, Qt::MouseButton button, QPointF pos) {
            const QPointF offset = twips::fromPixels(pos);
            pressCell(k, toMouseButton(button), float(offset.x()), float(offset.y()));
        });
        connect(cell, &CellWidget::moved, this, [this](int k, QPoint pos, Qt::MouseButtons buttons) {
            const QPoint at = mCells[std::size_t(k)]->mapTo(this, pos);
            pointerMovedOverGrid(at);
            // A pen drag paints each cell it enters.
            if (buttons & Qt::LeftButton) {
                if (CellWidget* under = cellUnder(at))
                    mDocument.dragOver(under->index());
            }
        });
        connect(cell, &CellWidget::released, this, [this](int, Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                mDocument.release();
        });
    }
    for (auto* cell : mPaletteCells)
        connect(cell, &CellWidget::clicked, this, [this](int i) { mDocument.selectColour(i); });

    connect(mPenButton, &ToolImage::clicked, this, [this] { mDocument.choosePen(); });
    connect(mBrushButton, &ToolImage::clicked, this, [this] { mDocument.chooseBrush(); });
    connect(mPenButton, &ToolImage::hovered, this, [this] { highlightTool(true, false); });
    connect(mBrushButton, &ToolImage::hovered, this, [this] { highlightTool(false, true); });

    connect(mNameBox, &SpriteNameBox::nameEdited, this,
            [this] { mDocument.typeName(mNameBox->currentText().toStdString()); });
    connect(mNameBox, &SpriteNameBox::nameChosen, this,
            [this] { mDocument.chooseName(mNameBox->currentIndex()); });
}

void Editor::pointerMovedOverGrid(QPoint editorPos)
{
    // While a button is held the pressed cell keeps receiving the moves, so
    // the cell is found from the pointer: the one under it, if any. A pop-up
    // covering the cells hides them here as well.
    QWidget* under = childAt(editorPos);
    const auto cell = std::find(mCells.begin(), mCells.end(), under);
    if (cell != mCells.end())
        mDocument.moveOver((*cell)->index());
}

CellWidget* Editor::cellUnder(QPoint editorPos) const
{
    QWidget* under = childAt(editorPos);
    const auto cell = std::find(mCells.begin(), mCells.end(), under);
    return cell != mCells.end() ? *cell : nullptr;
}

void Editor::pointerLeftCell()
{
    // The pointer leaves one cell before it enters the next: whether it left
    // the grid is known once the events of the move have been delivered.
    mLeftCell = true;
    QTimer::singleShot(0, this, [this] {
        if (std::exchange(mLeftCell, false))
            mDocument.leaveGrid();
    });
}

void Editor::reportPointerCell()
{
    // As for painting, the cell is found from the pointer, not from the cell
    // that reports the move: a held button keeps the moves with the pressed
    // cell, and the pop-up hides the cells it covers.
    for (auto* cell : mCells) {
        connect(cell, &CellWidget::moved, this, [this, cell](int, QPoint pos, Qt::MouseButtons) {
            const QWidget* under = childAt(cell->mapTo(this, pos));
            const auto found = std::find(mCells.begin(), mCells.end(), under);
            setPointerCell(found != mCells.end() ? (*found)->index() : -1);
        });
    }
}

void Editor::setPointerCell(int cell)
{
    if (cell == mPointerCell)
        return;
    mPointerCell = cell;
    emit pointerCellChanged(cell);
}

void Editor::addEscapeKey()
{
    // Escape closes the tool pop-up, choosing nothing, wherever the keyboard
    // is in the editor. The key is claimed only while the pop-up shows.
    mEscape = new QShortcut(
        QKeySequence(Qt::Key_Escape), this, this,
        [this] {
            highlightTool(false, false);
            mDocument.closeToolPopup();
        },
        Qt::WidgetWithChildrenShortcut);
    mEscape->setEnabled(mToolPopup->isVisible());
}

bool Editor::eventFilter(QObject* watched, QEvent* event)
{
    if (std::find(mCells.begin(), mCells.end(), watched) != mCells.end()) {
        if (event->type() == QEvent::Leave) {
            pointerLeftCell();
            setPointerCell(-1);
        } else if (event->type() == QEvent::Enter) {
            mLeftCell = false;
        }
    }
    if (watched == cell(mFocusCell)) {
        if (event->type() == QEvent::KeyPress)
            return gridKeyPressed(*static_cast<QKeyEvent*>(event));
        // Some platforms follow the context-menu key with a context-menu
        // event; the key has already opened the pop-up.
        if (event->type() == QEvent::ContextMenu
            && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Editor::bindGridKey(QKeyCombination key, QAction* action)
{
    mGridKeys.emplace_back(key, action);
}

bool Editor::gridKeyPressed(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    if (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        pressFocusCell(MouseButton::Right);
        return true;
    }
    const QKeyCombination pressed(modifiers, Qt::Key(key));
    for (const auto& [bound, action] : mGridKeys) {
        if (bound == pressed) {
            if (action->isEnabled())
                action->trigger();
            return true;
        }
    }
    if (modifiers != Qt::NoModifier)
        return false; // shortcuts pass on
    switch (key) {
    case Qt::Key_Up: moveFocusCell(-1, 0); return true;
    case Qt::Key_Down: moveFocusCell(1, 0); return true;
    case Qt::Key_Left: moveFocusCell(0, -1); return true;
    case Qt::Key_Right: moveFocusCell(0, 1); return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A held key presses once, as a held button does.
        if (!event.isAutoRepeat())
            pressFocusCell(MouseButton::Left);
        return true;
    case Qt::Key_Menu:
        if (!event.isAutoRepeat())
            pressFocusCell(MouseButton::Right);
        return true;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4: mDocument.selectColour(key - Qt::Key_1); return true;
    case Qt::Key_P: mDocument.choosePen(); return true;
    case Qt::Key_B: mDocument.chooseBrush(); return true;
    default: return false;
    }
}

void Editor::moveFocusCell(int rows, int columns)
{
    const int row = std::clamp(rowOf(mFocusCell) + rows, 0, kGridSide - 1);
    const int column = std::clamp(columnFromLeft(mFocusCell) + columns, 0, kGridSide - 1);
    const int target = cellAt(row, column);
    if (target == mFocusCell)
        return; // at the edge
    CellWidget* from = cell(mFocusCell);
    CellWidget* to = cell(target);
    mFocusCell = target;
    // The focus moves with the focus cell, so assistive technology announces
    // the new cell, and the Tab stop moves with it.
    to->setFocusPolicy(Qt::TabFocus);
    to->setFocus(Qt::OtherFocusReason);
    from->setFocusPolicy(Qt::NoFocus);
    // Arriving at a cell is a pointer move onto its centre: the brush paints
    // it, unless the pop-up covers it.
    pointerMovedOverGrid(to->geometry().center());
}

void Editor::pressFocusCell(MouseButton button)
{
    // The pointer position of a press at the cell's centre, in twips.
    constexpr float centre = layout::kCellSize / 2.0f;
    pressCell(mFocusCell, button, centre, centre);
}

void Editor::pressCell(int cell, MouseButton button, float x, float y)
{
    if (button == MouseButton::Right && !mDocument.tools().toolPopupVisible()) {
        // The pop-up opens with its top-left corner at the pointer, unclamped,
        // and with no tool highlighted.
        const layout::Rect rect = layout::cellRect(cell);
        mToolPopupLeft = float(rect.left) + x;
        mToolPopupTop = float(rect.top) + y;
        highlightTool(false, false);
    }
    mDocument.press(cell, button);
}

void Editor::highlightTool(bool pen, bool brush)
{
    mPenHighlighted = pen;
    mBrushHighlighted = brush;
    mPenButton->setBorder(pen);
    mBrushButton->setBorder(brush);
}

void Editor::showDocument(Changes changes)
{
    if (changes & CellsChanged)
        showCells();
    if (changes & ToolsChanged)
        showTools();
    if (changes & (NameChanged | ListChanged))
        mNameBox->showName(mDocument.name());
    // Refusals for tiles of arrays are said in the status bar instead.
    if ((changes & Refused) && mDocument.lastRefusal().message.empty())
        showRefusal(mDocument.lastRefusal());
}

void Editor::showCells()
{
    for (int k = 0; k < kCellCount; ++k) {
        CellWidget* cell = mCells[std::size_t(k)];
        const Cell colour = mDocument.grid()[std::size_t(k)];
        cell->setColour(colour);
        setAccessibleValue(cell, shadeName(colour));
    }
}

void Editor::showTools()
{
    const ToolState& tools = mDocument.tools();
    for (int i = 0; i < kShadeCount; ++i) {
        const QString shade = shadeName(shadeOfCode(i));
        setAccessibleValue(mPaletteCells[std::size_t(i)],
                           shadeOfCode(i) == mDocument.colour() ? tr("%1, selected").arg(shade) : shade);
    }
    const Tool tool = mDocument.tool();
    setAccessibleValue(mPenButton, tool == Tool::Pen ? tr("chosen") : tr("not chosen"));
    setAccessibleValue(mBrushButton, tool == Tool::Brush ? tr("chosen") : tr("not chosen"));

    QRect okRect = twips::toPixels(layout::kColourMarker.rect);
    okRect.moveTop(twips::toPixels(markerTop()));
    mColourMarker->setGeometry(okRect);

    mToolPopup->move(twips::toPixels(int(mToolPopupLeft)), twips::toPixels(int(mToolPopupTop)));
    if (tools.toolPopupVisible() != mToolPopup->isVisible()) {
        mToolPopup->setVisible(tools.toolPopupVisible());
        mToolPopup->raise();
    }
    if (mEscape)
        mEscape->setEnabled(tools.toolPopupVisible());
}

void Editor::showRefusal(const Refusal& refusal)
{
    const QString name = QString::fromStdString(refusal.name);
    const QString message = refusal.reason == Refusal::Reason::TableFull
                                ? tr("The sprite table is full: %1 sprites already have names, so \"%2\" "
                                     "cannot be added. Nothing was changed. Choose or type one of the "
                                     "existing names to go on drawing.")
                                      .arg(kSpriteTableSize)
                                      .arg(name)
                                : tr("The code of \"%1\" could not be updated: the bytes of its "
                                     "declaration cannot all be read (it needs 8 numbers from 0 to 255 "
                                     "between \"{\" and \"};\"). The code text was left as it was; the "
                                     "drawing is kept.")
                                      .arg(name);
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Bitloom"), message, QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("refusalMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void Editor::closeEvent(QCloseEvent* event)
{
    // The editor lives for the whole run; closing it would lose the drawing.
    event->ignore();
}

} // namespace bitloom
