#include "statefolder.h"

#include <QDir>

namespace bitloom {

QString stateFolder(QStandardPaths::StandardLocation standard, const QString& kind)
{
    const QString overridden = qEnvironmentVariable("BITLOOM_STATE_DIR");
    if (!overridden.isEmpty())
        return QDir(overridden).filePath(kind);
    QString base = QStandardPaths::writableLocation(standard);
    if (base.isEmpty())
        base = QDir::temp().filePath(QStringLiteral("bitloom"));
    else if (standard == QStandardPaths::RuntimeLocation)
        base = QDir(base).filePath(QStringLiteral("bitloom"));
    return QDir(base).filePath(kind);
}

} // namespace bitloom
