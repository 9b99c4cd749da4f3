#include "declarationhighlighter.h"

#include "codegen/grammar.h"
#include "codeview.h"

#include <QTextBlock>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace bitloom {

namespace {

// A declaration body longer than this many lines is not looked for: no
// header spreads 8 numbers that far, and the limit bounds the work a head
// line without a closed body costs.
constexpr int kMaxDeclarationLines = 64;

// The block state of a line outside any declaration; inside one it is the
// number of the declaration's lines that follow the line.
constexpr int kOutside = -1;

// Whether a line may begin a declaration at all: its head, on that line,
// holds a type word and the opening brace. Most lines of a long text fail
// this and cost no more.
bool mayHoldHead(const QString& line)
{
    return line.contains(u'{')
           && (line.contains(QLatin1String("char")) || line.contains(QLatin1String("uint8_t")));
}

// A line's UTF-8 text as the code text has it: the view shows a carriage
// return as a zero-width space.
std::string codeLine(const QString& shown)
{
    QString line = shown;
    line.replace(QChar(0x200B), u'\r');
    return line.toStdString();
}

// The lines from a head line on, joined by line feeds, as far as the
// declaration it begins reaches; with the byte offset each line begins at.
struct Lines {
    std::string text;
    std::vector<std::size_t> starts;
};

// Reads the declaration the block `head` begins, if it begins one, into
// `lines` (which its views then point into).
std::optional<grammar::Declaration> readDeclaration(const QTextBlock& head, Lines& lines)
{
    lines.text = codeLine(head.text());
    lines.starts.assign(1, 0);
    // The first line begins after a byte-order mark.
    const std::size_t lineStart = head.blockNumber() == 0 ? firstLineStart(lines.text) : 0;
    auto declaration = grammar::parseDeclarationAt(lines.text, lineStart);
    // An unreadable body may be one that goes on below: add lines until it
    // reads, trying again whenever a line may have closed it.
    QTextBlock next = head.next();
    while (declaration && !declaration->readable && next.isValid()
           && int(lines.starts.size()) < kMaxDeclarationLines) {
        const std::string line = codeLine(next.text());
        lines.text.push_back('\n');
        lines.starts.push_back(lines.text.size());
        lines.text += line;
        if (line.find(';') != std::string::npos)
            declaration = grammar::parseDeclarationAt(lines.text, lineStart);
        next = next.next();
    }
    if (declaration && !declaration->readable && lines.starts.size() > 1) {
        // Unreadable: only its head line belongs to it.
        lines.text.resize(lines.starts[1] - 1);
        lines.starts.resize(1);
        declaration = grammar::parseDeclarationAt(lines.text, lineStart);
    }
    return declaration;
}

} // namespace

DeclarationHighlighter::DeclarationHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    mKeyword.setForeground(QColor(0x00, 0x00, 0xA0));
    mKeyword.setFontWeight(QFont::Bold);
    mNumber.setForeground(QColor(0x80, 0x00, 0x80));
    mBracket.setForeground(QColor(0x60, 0x60, 0x60));
    mComment.setForeground(QColor(0x30, 0x70, 0x30));
}

void DeclarationHighlighter::highlightBlock(const QString& text)
{
    // A line within a body that began above: its head is as many lines up
    // as the body has gone on so far.
    const QTextBlock block = currentBlock();
    if (const int previous = previousBlockState(); previous > 0) {
        QTextBlock head = block;
        int lineIndex = 0;
        // The head is the nearest block above whose state is not that of
        // a line that follows it within its declaration.
        for (QTextBlock up = block.previous(); up.isValid() && lineIndex < kMaxDeclarationLines;
             up = up.previous()) {
            ++lineIndex;
            head = up;
            const QTextBlock above = up.previous();
            if (!above.isValid() || above.userState() <= 0)
                break;
        }
        const int following = colourDeclarationLine(head, lineIndex);
        if (following >= 0) {
            setCurrentBlockState(following);
            return;
        }
    }
    if (!mayHoldHead(text)) {
        setCurrentBlockState(kOutside);
        return;
    }
    setCurrentBlockState(colourDeclarationLine(block, 0));
}

int DeclarationHighlighter::colourDeclarationLine(const QTextBlock& head, int lineIndex)
{
    Lines lines;
    const auto read = readDeclaration(head, lines);
    if (!read)
        return kOutside;
    const grammar::Declaration& declaration = *read;
    // The lines the declaration spans, from its head line on.
    const std::size_t lastLine =
        declaration.readable
            ? std::size_t(std::upper_bound(lines.starts.begin(), lines.starts.end(), declaration.end)
                          - lines.starts.begin() - 1)
            : 0;
    if (std::size_t(lineIndex) > lastLine)
        return kOutside;

    const std::size_t from = lines.starts[std::size_t(lineIndex)];
    const std::size_t to = std::size_t(lineIndex) + 1 < lines.starts.size()
                               ? lines.starts[std::size_t(lineIndex) + 1] - 1
                               : lines.text.size();
    const std::string_view text(lines.text);
    for (const grammar::TokenSpan& token : grammar::declarationTokens(text, declaration)) {
        if (token.position + token.length <= from || token.position >= to)
            continue;
        // A comment may run over lines; each line colours its own part.
        const std::size_t start = std::max(token.position, from);
        const std::size_t stop = std::min(token.position + token.length, to);
        const QTextCharFormat* format = nullptr;
        switch (token.kind) {
        case grammar::TokenKind::Keyword:
        case grammar::TokenKind::Type: format = &mKeyword; break;
        case grammar::TokenKind::Number: format = &mNumber; break;
        case grammar::TokenKind::Punctuation: format = &mBracket; break;
        case grammar::TokenKind::Comment: format = &mComment; break;
        case grammar::TokenKind::Identifier: break;
        }
        if (!format)
            continue;
        const qsizetype column = utf16Length(text.substr(from, start - from));
        setFormat(int(column), int(utf16Length(text.substr(start, stop - start))), *format);
    }
    return int(lastLine) - lineIndex;
}

} // namespace bitloom
