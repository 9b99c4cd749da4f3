// The Tile > Layout menu: the user's layout choices for the tile arrays of
// a file, remembered outside the file (per file path and array name) so that
// the file stays byte-exact, and handed to the document, which alone reads
// tiles from them.
#include "mainwindow.h"

#include "layoutchoices.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QSettings>
#include <QUrl>

namespace bitloom {

namespace {

const QString kNotTiles = QStringLiteral("not-tiles");

// One settings group a file: its path, percent-encoded so that no '/'
// nests groups.
QString fileGroup(const QString& path)
{
    return QStringLiteral("tileLayouts/") + QString::fromLatin1(QUrl::toPercentEncoding(path));
}

QString arrayKey(const QString& path, std::string_view array)
{
    return fileGroup(path) + QLatin1Char('/')
           + QString::fromLatin1(
               QUrl::toPercentEncoding(QString::fromUtf8(array.data(), qsizetype(array.size()))));
}

} // namespace

LayoutChoice MainWindow::layoutChoice(const QString& path, std::string_view array)
{
    const QSettings settings;
    const QString key = arrayKey(path, array);
    LayoutChoice choice;
    const QString layout = settings.value(key + QStringLiteral("/layout")).toString();
    if (layout == kNotTiles)
        choice.notTiles = true;
    else
        choice.layout = parseLayoutId(layout.toStdString());
    bool ok = false;
    const int width = settings.value(key + QStringLiteral("/width")).toInt(&ok);
    if (ok && width > 0)
        choice.width = width;
    return choice;
}

void MainWindow::storeLayoutChoice(std::string_view array, const LayoutChoice& choice)
{
    QSettings settings;
    const QString key = arrayKey(QString::fromStdString(mDocument.filePath()), array);
    settings.setValue(key + QStringLiteral("/layout"),
                      choice.notTiles ? kNotTiles
                      : choice.layout ? QString::fromLatin1(layoutId(*choice.layout).data(),
                                                            qsizetype(layoutId(*choice.layout).size()))
                                      : QString());
    if (choice.width)
        settings.setValue(key + QStringLiteral("/width"), *choice.width);
    else
        settings.remove(key + QStringLiteral("/width"));
    rereadTiles();
}

void MainWindow::rereadTiles()
{
    mDocument.setLayoutChooser([this](std::string_view array) {
        return layoutChoice(QString::fromStdString(mDocument.filePath()), array);
    });
}

void carryLayoutChoices(const QString& from, const QString& to)
{
    if (from == to)
        return;
    QSettings settings;
    settings.beginGroup(fileGroup(from));
    const QStringList keys = settings.allKeys();
    QList<std::pair<QString, QVariant>> values;
    for (const QString& key : keys)
        values.append({key, settings.value(key)});
    settings.endGroup();
    settings.remove(fileGroup(to));
    for (const auto& [key, value] : values)
        settings.setValue(fileGroup(to) + QLatin1Char('/') + key, value);
}

void MainWindow::buildLayoutMenu(QMenu& tile)
{
    QMenu* menu = tile.addMenu(tr("Lay&out"));
    menu->setObjectName(QStringLiteral("layoutMenu"));
    menu->menuAction()->setObjectName(QStringLiteral("layoutMenu"));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    const auto addChoice = [&](const QString& text, const QString& name, LayoutChoice choice) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice] {
            if (const auto current = mDocument.currentTile()) {
                LayoutChoice kept = choice;
                // A width chosen before stays with a 1-bit layout.
                if (kept.layout && isOneBit(*kept.layout))
                    kept.width =
                        layoutChoice(QString::fromStdString(mDocument.filePath()), current->array->name)
                            .width;
                storeLayoutChoice(std::string(current->array->name), kept);
            }
        });
        mLayoutActions.push_back({action, choice});
    };
    for (const TileLayout layout : kTileLayouts) {
        const std::string_view item = layoutMenuItem(layout);
        const std::string_view id = layoutId(layout);
        addChoice(QString::fromUtf8(item.data(), qsizetype(item.size())),
                  QStringLiteral("layout_") + QString::fromLatin1(id.data(), qsizetype(id.size())),
                  LayoutChoice{layout, false, std::nullopt});
    }
    addChoice(tr("Not &Tiles"), QStringLiteral("layout_not_tiles"),
              LayoutChoice{std::nullopt, true, std::nullopt});
    menu->addSeparator();
    mImageWidthAction = menu->addAction(tr("Image W&idth…"));
    mImageWidthAction->setObjectName(QStringLiteral("imageWidthAction"));
    connect(mImageWidthAction, &QAction::triggered, this, &MainWindow::chooseImageWidth);
    mResetLayoutsAction = menu->addAction(tr("R&eset Layouts for This File"));
    mResetLayoutsAction->setObjectName(QStringLiteral("resetLayoutsAction"));
    connect(mResetLayoutsAction, &QAction::triggered, this, [this] {
        QSettings().remove(fileGroup(QString::fromStdString(mDocument.filePath())));
        rereadTiles();
    });
}

void MainWindow::chooseImageWidth()
{
    const auto current = mDocument.currentTile();
    if (!current)
        return;
    const TileImage& image = current->array->image;
    const std::string name = current->array->name;
    const int width = mAskWidth(QString::fromStdString(name), image.width);
    if (width <= 0)
        return;
    // The width reads the array as an image in its 1-bit layout (rows when
    // it is read as 2-bit tiles, which are always 8 wide).
    const TileLayout layout = isOneBit(image.layout) ? image.layout : TileLayout::Rows;
    storeLayoutChoice(name, LayoutChoice{layout, false, width});
}

void MainWindow::showLayoutMenu()
{
    const auto current = mDocument.currentTile();
    for (const auto& [action, choice] : mLayoutActions) {
        action->setEnabled(current.has_value());
        action->setChecked(current && !choice.notTiles && choice.layout == current->array->image.layout);
    }
    // Reset stays enabled: it is the way back for an array marked Not Tiles.
    mImageWidthAction->setEnabled(current.has_value());
}

} // namespace bitloom
