#pragma once

#include <QStandardPaths>
#include <QString>

namespace bitloom {

// Where Bitloom keeps the files of a running instance: `kind` is a folder
// under `standard` ("recovery" under the application data, "locks" under
// the runtime folder). BITLOOM_STATE_DIR moves them all into one folder, so
// that tests and scripts never touch the user's own. The folder is not
// created here.
QString stateFolder(QStandardPaths::StandardLocation standard, const QString& kind);

// Creates `path` (and the folders above it that are missing) readable by
// this user only, and makes an existing `path` so: the unsaved work and the
// names of the files open are nobody else's business. Returns whether the
// folder is there.
bool makePrivateFolder(const QString& path);

// Makes a file this instance created readable and writable by this user
// only (0600).
void makePrivateFile(const QString& path);

} // namespace bitloom
