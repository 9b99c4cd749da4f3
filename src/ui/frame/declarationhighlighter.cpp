#include "declarationhighlighter.h"

#include "codegen/declaration.h"
#include "codeview.h"

namespace bitloom {

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

DeclarationHighlighter::DeclarationHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    mKeyword.setForeground(QColor(0x00, 0x00, 0xA0));
    mKeyword.setFontWeight(QFont::Bold);
    mNumber.setForeground(QColor(0x80, 0x00, 0x80));
    mBracket.setForeground(QColor(0x60, 0x60, 0x60));
}

void DeclarationHighlighter::highlightBlock(const QString& text)
{
    // A declaration line, taken apart as the updater and the reader take it:
    // the three type words, the name (left as it is, whatever it holds), the
    // "[]={" of its head and the initialiser after it.
    const QByteArray utf8 = text.toUtf8();
    const std::string_view line(utf8.constData(), std::size_t(utf8.size()));
    const auto declaration = parseDeclarationLine(line);
    if (!declaration)
        return;
    setFormat(0, int(declarationType().size()) - 1, mKeyword);
    // The head is ASCII, so its last four characters are "[]={".
    const qsizetype open = utf16Length(line.substr(0, declaration->bodyStart)) - 4;
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
