#include "recentfiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include <memory>

namespace bitloom {

namespace {

const QString kKey = QStringLiteral("recentFiles");

std::unique_ptr<QSettings> settings()
{
    const QString overridden = qEnvironmentVariable("BITLOOM_STATE_DIR");
    if (!overridden.isEmpty())
        return std::make_unique<QSettings>(QDir(overridden).filePath(QStringLiteral("settings.ini")),
                                           QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Bitloom"),
                                       QStringLiteral("Bitloom"));
}

} // namespace

RecentFiles::RecentFiles(QMenu& menu, QObject* parent) : QObject(parent), mMenu(menu)
{
    // Filled each time it opens: the list may have changed since, here or
    // in another Bitloom, and an item is never taken away while it runs.
    connect(&mMenu, &QMenu::aboutToShow, this, &RecentFiles::rebuild);
    rebuild();
}

QStringList RecentFiles::files() const
{
    QStringList files = settings()->value(kKey).toStringList();
    files.removeAll(QString());
    while (files.size() > kMaxFiles)
        files.removeLast();
    return files;
}

void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list);
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    store(list);
}

void RecentFiles::clear()
{
    store({});
}

void RecentFiles::store(const QStringList& files)
{
    settings()->setValue(kKey, files.mid(0, kMaxFiles));
}

void RecentFiles::rebuild()
{
    mMenu.clear();
    const QStringList list = files();
    for (int i = 0; i < list.size(); ++i) {
        const QString& path = list[i];
        // "&1 sprites.h", the folder in the tooltip and the status bar.
        QString caption = QFileInfo(path).fileName();
        caption.replace(QStringLiteral("&"), QStringLiteral("&&"));
        QAction* item = mMenu.addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(caption) : caption);
        item->setObjectName(QStringLiteral("recentFileAction"));
        item->setData(path);
        item->setToolTip(QDir::toNativeSeparators(path));
        item->setStatusTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    mMenu.addSeparator();
    QAction* clearItem = mMenu.addAction(tr("Clear Menu"));
    clearItem->setObjectName(QStringLiteral("clearRecentAction"));
    clearItem->setEnabled(!list.isEmpty());
    connect(clearItem, &QAction::triggered, this, &RecentFiles::clear);
    mMenu.menuAction()->setEnabled(true);
}

} // namespace bitloom
