#include "chighlighter.h"

namespace bitloom {

namespace {

constexpr QLatin1StringView kTypePrefix("static unsigned char ");

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

CHighlighter::CHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    mKeyword.setForeground(QColor(0x00, 0x00, 0xA0));
    mKeyword.setFontWeight(QFont::Bold);
    mNumber.setForeground(QColor(0x80, 0x00, 0x80));
    mBracket.setForeground(QColor(0x60, 0x60, 0x60));
}

void CHighlighter::highlightBlock(const QString& text)
{
    // A declaration line: the three type words, then the name (left as it is,
    // whatever it holds), then the initialiser after the last "={".
    if (!text.startsWith(kTypePrefix))
        return;
    setFormat(0, int(kTypePrefix.size()) - 1, mKeyword);

    const qsizetype open = text.lastIndexOf(QLatin1StringView("[]={"));
    if (open < 0)
        return;
    setFormat(int(open), 4, mBracket);
    for (qsizetype i = open + 4; i < text.size(); ++i) {
        if (text[i] == u'0' && i + 3 < text.size() && text[i + 1] == u'x' && isHexDigit(text[i + 2])
            && isHexDigit(text[i + 3])) {
            setFormat(int(i), 4, mNumber);
            i += 3;
        } else if (text[i] == u'}' || text[i] == u';') {
            setFormat(int(i), 1, mBracket);
        }
    }
}

} // namespace bitloom
