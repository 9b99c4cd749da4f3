#include "pictures.h"

#include <QPixmap>

namespace bitloom {

QIcon picture(const char* name)
{
    const QString base = QStringLiteral(":/png/") + QLatin1StringView(name);
    QIcon icon;
    icon.addPixmap(QPixmap(base + QStringLiteral(".png")));
    QPixmap dense(base + QStringLiteral("@2x.png"));
    dense.setDevicePixelRatio(2.0);
    icon.addPixmap(dense);
    return icon;
}

} // namespace bitloom
