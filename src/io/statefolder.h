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

} // namespace bitloom
