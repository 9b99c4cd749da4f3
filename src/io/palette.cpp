#include "palette.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

namespace bitloom {

namespace {
constexpr Colour kSystemColourFlag = 0x80000000u;
constexpr Colour kSystemWindowBackground = 5;
constexpr Colour kSystemWindowText = 8;
constexpr Colour kSystemAppWorkspace = 12;
} // namespace

QColor toQColor(Colour colour)
{
    if (colour & kSystemColourFlag) {
        const QPalette palette = QGuiApplication::palette();
        switch (colour & ~kSystemColourFlag) {
        case kSystemWindowBackground: return palette.color(QPalette::Base);
        case kSystemWindowText: return palette.color(QPalette::Text);
        case kSystemAppWorkspace: return palette.color(QPalette::Dark);
        default: return palette.color(QPalette::Button);
        }
    }
    // Red in the lowest byte, then green, then blue.
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QString shadeName(const Palette& palette, Colour colour)
{
    static const char* const kNames[kPaletteSize] = {
        QT_TRANSLATE_NOOP("bitloom::Shades", "white"), QT_TRANSLATE_NOOP("bitloom::Shades", "grey"),
        QT_TRANSLATE_NOOP("bitloom::Shades", "dark grey"), QT_TRANSLATE_NOOP("bitloom::Shades", "black")};
    const auto code = shadeOf(palette, colour);
    return code ? QCoreApplication::translate("bitloom::Shades", kNames[*code])
                : QCoreApplication::translate("bitloom::Shades", "unpainted");
}

} // namespace bitloom
