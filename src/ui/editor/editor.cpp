#include "editor.h"

#include "accessiblevalue.h"
#include "cellwidget.h"
#include "shades.h"
#include "spritenamebox.h"
#include "toolimage.h"
#include "ui/pictures.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

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

Editor::Editor(CodePane& pane, QWidget* parent) : QWidget(parent), mPane(pane)
{
    setObjectName(QStringLiteral("editor"));
    setWindowTitle(QStringLiteral("Graph Editor"));
    setFixedSize(twips::toPixels(layout::kEditorClient).size());

    installAccessibleFactory();
    buildControls();
    connectControls();

    mModel.setGenerate([this] { generate(); });
    mModel.setChanged([this] { showModel(); });
    mModel.Form_Load();
}

void Editor::buildControls()
{
    for (int k = 0; k < kCellCount; ++k) {
        auto* cell = new CellWidget(k, CellWidget::Frame::Flat, this);
        cell->setObjectName(QStringLiteral("pixel"));
        cell->setGeometry(twips::toPixels(layout::pixelRect(k)));
        cell->setCursor(Qt::CrossCursor);
        cell->setMouseTracking(true);
        cell->setAccessibleName(QStringLiteral("Cell, row %1, column %2")
                                    .arg(rowOf(k) + 1)
                                    .arg(columnFromLeft(k) + 1));
        mPixels[std::size_t(k)] = cell;
    }
    for (int i = 0; i < kPaletteSize; ++i) {
        auto* cell = new CellWidget(i, CellWidget::Frame::Sunken, this);
        cell->setObjectName(QStringLiteral("renk"));
        cell->setGeometry(twips::toPixels(layout::renkRect(i)));
        cell->setColour(mModel.palette()[std::size_t(i)]);
        const QString shade = shadeName(mModel.palette(), cell->colour());
        cell->setAccessibleName(QStringLiteral("Colour %1").arg(shade));
        cell->setAccessibleDescription(QStringLiteral("Paint with %1").arg(shade));
        cell->setToolTip(shade.at(0).toUpper() + shade.mid(1));
        mRenk[std::size_t(i)] = cell;
    }

    mOk = new ToolImage(picture("arrow"), this);
    place(mOk, layout::kOk);
    mOk->setAccessibleName(QStringLiteral("Selected colour marker"));

    mLabel1 = new QLabel(QStringLiteral("Sprite Name:"), this);
    place(mLabel1, layout::kLabel1);

    mSprName = new SpriteNameBox(this);
    place(mSprName, layout::kSprName);
    mSprName->setEditText(QStringLiteral("Sprite"));
    mSprName->lineEdit()->setAccessibleName(QStringLiteral("Sprite name"));
    mLabel1->setBuddy(mSprName);

    // The pop-up is a borderless child frame raised above the cells, not a
    // popup window: choosing a tool is the only way to close it.
    mTools = new QFrame(this);
    place(mTools, layout::kTools);
    mTools->setFrameShape(QFrame::NoFrame);
    mTools->setAutoFillBackground(true);
    mTools->setBackgroundRole(QPalette::Button);
    mTools->hide();

    mKalem = new ToolImage(picture("pencil"), mTools);
    place(mKalem, layout::kKalem);
    mKalem->setToolTip(QStringLiteral("Pen"));
    mKalem->setAccessibleName(QStringLiteral("Pen"));
    mBoya = new ToolImage(picture("paintcan"), mTools);
    place(mBoya, layout::kBoya);
    mBoya->setToolTip(QStringLiteral("Brush"));
    mBoya->setAccessibleName(QStringLiteral("Brush"));

    mSprName->setFocus();
}

void Editor::connectControls()
{
    for (auto* cell : mPixels) {
        connect(cell, &CellWidget::pressed, this, [this](int k, Qt::MouseButton button, QPointF pos) {
            const QPointF offset = twips::fromPixels(pos);
            mModel.pixel_MouseDown(k, toMouseButton(button), float(offset.x()), float(offset.y()));
        });
        connect(cell, &CellWidget::moved, this, [this](int k, QPoint pos, Qt::MouseButtons) {
            pointerMovedOverGrid(mPixels[std::size_t(k)]->mapTo(this, pos));
        });
    }
    for (auto* cell : mRenk)
        connect(cell, &CellWidget::clicked, this, [this](int i) { mModel.renk_Click(i); });

    connect(mKalem, &ToolImage::clicked, this, [this] { mModel.kalem_Click(); });
    connect(mBoya, &ToolImage::clicked, this, [this] { mModel.boya_Click(); });
    connect(mKalem, &ToolImage::hovered, this, [this] { mModel.kalem_MouseMove(); });
    connect(mBoya, &ToolImage::hovered, this, [this] { mModel.boya_MouseMove(); });

    connect(mSprName, &SpriteNameBox::nameEdited, this, [this] { mModel.sprName_Change(*mSprName); });
    connect(mSprName, &SpriteNameBox::nameChosen, this, [this] { mModel.sprName_Click(*mSprName); });
}

void Editor::pointerMovedOverGrid(QPoint editorPos)
{
    // While a button is held the pressed cell keeps receiving the moves, so
    // the cell is found from the pointer: the one under it, if any. A pop-up
    // covering the cells hides them here as well.
    auto* cell = qobject_cast<CellWidget*>(childAt(editorPos));
    if (cell && cell->objectName() == QLatin1String("pixel"))
        mModel.pixel_MouseMove(cell->index());
}

void Editor::showModel()
{
    const Palette& palette = mModel.palette();
    for (int k = 0; k < kCellCount; ++k) {
        CellWidget* cell = mPixels[std::size_t(k)];
        const Colour colour = mModel.grid()[std::size_t(k)];
        cell->setColour(colour);
        setAccessibleValue(cell, shadeName(palette, colour));
    }
    for (int i = 0; i < kPaletteSize; ++i) {
        const QString shade = shadeName(palette, palette[std::size_t(i)]);
        setAccessibleValue(mRenk[std::size_t(i)],
                           i == mModel.module().selColor ? shade + QStringLiteral(", selected") : shade);
    }
    const Tool tool = mModel.module().selTool;
    setAccessibleValue(mKalem, tool == Tool::Pen ? QStringLiteral("chosen") : QStringLiteral("not chosen"));
    setAccessibleValue(mBoya, tool == Tool::Brush ? QStringLiteral("chosen") : QStringLiteral("not chosen"));

    QRect okRect = twips::toPixels(layout::kOk.rect);
    okRect.moveTop(twips::toPixels(mModel.okTop()));
    mOk->setGeometry(okRect);

    mKalem->setBorder(mModel.kalemBorder() == Border::Single);
    mBoya->setBorder(mModel.boyaBorder() == Border::Single);

    mTools->move(twips::toPixels(int(mModel.toolsLeft())), twips::toPixels(int(mModel.toolsTop())));
    if (mModel.toolsVisible() != mTools->isVisible()) {
        mTools->setVisible(mModel.toolsVisible());
        mTools->raise();
    }
}

GenerateResult Editor::generate()
{
    const GenerateResult result =
        bitloom::generate(mModel.grid(), mModel.palette(), mModel.module(), *mSprName, mPane);
    if (result != GenerateResult::Updated)
        showRefusal(result);
    return result;
}

void Editor::clearTile()
{
    mModel.clearTile();
}

void Editor::showRefusal(GenerateResult result)
{
    const QString name = mSprName->currentText();
    const QString message =
        result == GenerateResult::TableFull
            ? tr("The sprite table is full: %1 sprites already have names, so \"%2\" "
                 "cannot be added. Nothing was changed. Choose or type one of the "
                 "existing names to go on drawing.")
                  .arg(kSpriteTableSize)
                  .arg(name)
            : tr("The code of \"%1\" could not be updated: its declaration has no "
                 "closing brace on its line. The code text was left as it was; the "
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
