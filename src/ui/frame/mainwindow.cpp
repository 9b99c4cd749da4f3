#include "mainwindow.h"

#include "codeview.h"
#include "codewindow.h"
#include "screenfit.h"
#include "ui/editor/editor.h"
#include "ui/pictures.h"
#include "ui/twips.h"

#include <QFrame>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QVBoxLayout>

namespace bitloom {

MainWindow::MainWindow()
    : mMdiArea(new QMdiArea), mGenerator(new CodeWindow), mEditor(new Editor(*mGenerator->txtBox()))
{
    setObjectName(QStringLiteral("başform"));
    setWindowTitle(QStringLiteral("BITLOOM by VELDRA SOFTWARE"));
    setWindowIcon(picture("bitloom"));

    auto* picture1 = new QFrame;
    picture1->setObjectName(QString::fromUtf8(layout::kPicture1.name.data(),
                                              qsizetype(layout::kPicture1.name.size())));
    picture1->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture1->setAutoFillBackground(true);
    picture1->setBackgroundRole(QPalette::Button);
    picture1->setFixedHeight(twips::toPixels(layout::kPicture1.rect.height));

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(picture1);
    column->addWidget(mMdiArea, 1);
    setCentralWidget(central);
    resize(twips::toPixels(layout::kMainClient).size());

    buildMenus();
    MDIForm_Load();
}

void MainWindow::buildMenus()
{
    const auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    const auto addItem = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    QMenu* file = addMenu("mnuFile", QStringLiteral("File"));
    addItem(file, "mnuNew", QStringLiteral("New"));
    addItem(file, "mnuOpen", QStringLiteral("Open"));
    addItem(file, "mnuSave", QStringLiteral("Save"));
    connect(addItem(file, "mnuQuit", QStringLiteral("Quit")), &QAction::triggered, this,
            &MainWindow::mnuQuit_Click);

    QMenu* tile = addMenu("mnutile", QStringLiteral("Tile"));
    connect(addItem(tile, "mnuclear", QStringLiteral("Clear Tile")), &QAction::triggered, this,
            &MainWindow::mnuclear_Click);
    addItem(tile, "mnuRemove", QStringLiteral("Remove Tile"));
}

void MainWindow::MDIForm_Load()
{
    const QIcon icon = windowIcon();

    // The editor: fixed size, no minimise or maximise button, at the top-left.
    mEditorWindow = mMdiArea->addSubWindow(mEditor, Qt::SubWindow | Qt::CustomizeWindowHint
                                                        | Qt::WindowTitleHint
                                                        | Qt::WindowSystemMenuHint
                                                        | Qt::WindowCloseButtonHint);
    mEditorWindow->layout()->setSizeConstraint(QLayout::SetFixedSize);
    mEditorWindow->setWindowIcon(icon);
    mEditorWindow->move(0, 0);
    mEditorWindow->show();
    mEditorWindow->layout()->activate(); // its outer size is read below

    // The code window: 6000 x 7100 twips outside, directly right of the
    // editor's outer width, at the top.
    mGeneratorWindow = mMdiArea->addSubWindow(mGenerator);
    mGeneratorWindow->setWindowIcon(icon);
    mGeneratorWindow->setGeometry(mEditorWindow->width(), 0,
                                  twips::toPixels(layout::kGeneratorStartWidth),
                                  twips::toPixels(layout::kGeneratorStartHeight));
    mGeneratorWindow->show();

    // Leave the keyboard with the name box.
    mMdiArea->setActiveSubWindow(mEditorWindow);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (mSizedToChildren)
        return;
    mSizedToChildren = true;
    // Before the window first appears its layout is settled: grow it so that
    // both child windows are wholly visible, as far as the screen allows.
    fitToScreen(*this, *mMdiArea);
}

void MainWindow::mnuclear_Click()
{
    mEditor->clearTile();
}

void MainWindow::mnuQuit_Click()
{
    close();
}

} // namespace bitloom
