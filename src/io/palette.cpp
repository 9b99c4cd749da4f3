#include "palette.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

namespace bitloom {

namespace {
constexpr QRgb kShadeRgb[kShadeCount] = {qRgb(0xFF, 0xFF, 0xFF), qRgb(0x80, 0x80, 0x80),
                                         qRgb(0x40, 0x40, 0x40), qRgb(0x00, 0x00, 0x00)};
} // namespace

QRgb shadeRgb(Cell cell)
{
    return kShadeRgb[isShade(cell) ? codeOf(cell) : codeOf(Cell::White)];
}

QColor toQColor(Cell cell)
{
    if (!isShade(cell))
        return QGuiApplication::palette().color(QPalette::Base);
    return QColor(shadeRgb(cell));
}

QString shadeName(Cell cell)
{
    static const char* const kNames[kShadeCount] = {
        QT_TRANSLATE_NOOP("bitloom::Shades", "white"), QT_TRANSLATE_NOOP("bitloom::Shades", "grey"),
        QT_TRANSLATE_NOOP("bitloom::Shades", "dark grey"), QT_TRANSLATE_NOOP("bitloom::Shades", "black")};
    return isShade(cell) ? QCoreApplication::translate("bitloom::Shades", kNames[codeOf(cell)])
                         : QCoreApplication::translate("bitloom::Shades", "unpainted");
}

} // namespace bitloom
