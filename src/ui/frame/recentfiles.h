#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

namespace bitloom {

// File > Open Recent: the last files opened or saved, newest first, kept in
// the settings across runs, and a menu that lists them with "Clear Menu" at
// the end. BITLOOM_STATE_DIR moves the settings file too.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(QMenu& menu, QObject* parent = nullptr);

    // `path` was opened or saved: it goes to the top.
    void add(const QString& path);
    // `path` is no longer there: it leaves the list.
    void remove(const QString& path);
    void clear();
    QStringList files() const;
    // Fills the menu from the list (also done each time it opens).
    void rebuild();

signals:
    // The user chose `path` from the menu.
    void chosen(const QString& path);

private:
    void store(const QStringList& files);

    QMenu& mMenu;
};

} // namespace bitloom
