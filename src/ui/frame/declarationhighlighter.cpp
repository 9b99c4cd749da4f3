#include "declarationhighlighter.h"

#include "codegen/grammar.h"
#include "codeview.h"

#include <QStringList>
#include <QTextBlock>
#include <QTimer>

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
    QStringList shown; // each line as the view shows it
};

// Reads the declaration the block `head` begins, if it begins one, into
// `lines` (which its views then point into).
std::optional<grammar::Declaration> readDeclaration(const QTextBlock& head, Lines& lines)
{
    lines.shown = {head.text()};
    lines.text = codeLine(lines.shown.front());
    lines.starts.assign(1, 0);
    // The first line begins after a byte-order mark.
    const std::size_t lineStart = head.blockNumber() == 0 ? firstLineStart(lines.text) : 0;
    auto declaration = grammar::parseDeclarationAt(lines.text, lineStart);
    // An unreadable body may be one that goes on below: add lines until it
    // reads, trying again whenever a line may have closed it.
    QTextBlock next = head.next();
    while (declaration && !declaration->readable && next.isValid()
           && int(lines.starts.size()) < kMaxDeclarationLines) {
        lines.shown.append(next.text());
        const std::string line = codeLine(lines.shown.back());
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
        lines.shown = {lines.shown.front()};
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
        const int following = colourDeclarationLine(head, lineIndex, text);
        if (following != previous - 1) {
            // The declaration no longer spans the lines its head line
            // coloured: those above this one are highlighted again, after
            // this pass, since a pass only moves down.
            const int headNumber = head.blockNumber();
            QTimer::singleShot(0, this, [this, headNumber] {
                if (!document())
                    return;
                if (const QTextBlock stale = document()->findBlockByNumber(headNumber); stale.isValid())
                    rehighlightBlock(stale);
            });
        }
        if (following >= 0) {
            setCurrentBlockState(following);
            return;
        }
    }
    if (!mayHoldHead(text)) {
        setCurrentBlockState(kOutside);
        return;
    }
    setCurrentBlockState(colourDeclarationLine(block, 0, text));
}

int DeclarationHighlighter::colourDeclarationLine(const QTextBlock& head, int lineIndex, const QString& text)
{
    // The lines below a head line reuse what the head line worked out, as
    // long as they and the head read as they did then; every line that
    // changes is highlighted again, which works it out anew.
    const bool known = lineIndex > 0 && mLayout.headBlock == head.blockNumber()
                       && lineIndex < int(mLayout.lines.size()) && mLayout.lines[lineIndex] == text
                       && mLayout.lines.front() == head.text();
    if (!known)
        layOut(head);
    if (lineIndex >= int(mLayout.spans.size()))
        return kOutside;
    for (const Span& span : mLayout.spans[std::size_t(lineIndex)])
        setFormat(span.column, span.length, *span.format);
    return int(mLayout.spans.size()) - 1 - lineIndex;
}

void DeclarationHighlighter::layOut(const QTextBlock& head)
{
    mLayout = {};
    mLayout.headBlock = head.blockNumber();
    Lines lines;
    const auto read = readDeclaration(head, lines);
    if (!read)
        return;
    const grammar::Declaration& declaration = *read;
    // The lines the declaration spans, from its head line on.
    const std::size_t lineCount =
        declaration.readable
            ? std::size_t(std::upper_bound(lines.starts.begin(), lines.starts.end(), declaration.end)
                          - lines.starts.begin())
            : 1;
    mLayout.lines = lines.shown.mid(0, qsizetype(lineCount));
    mLayout.spans.resize(lineCount);

    const std::string_view text(lines.text);
    std::size_t line = 0;
    for (const grammar::TokenSpan& token : grammar::declarationTokens(text, declaration)) {
        const QTextCharFormat* format = nullptr;
        switch (token.kind) {
        case grammar::TokenKind::Keyword:
        case grammar::TokenKind::Type: format = &mKeyword; break;
        case grammar::TokenKind::Number: format = &mNumber; break;
        case grammar::TokenKind::Punctuation:
            // Commas stay plain: the numbers between them stand out enough.
            if (text[token.position] != ',')
                format = &mBracket;
            break;
        case grammar::TokenKind::Comment: format = &mComment; break;
        case grammar::TokenKind::Identifier: break;
        }
        if (!format)
            continue;
        // A comment may run over lines; each line colours its own part.
        for (std::size_t at = token.position; at < token.position + token.length;) {
            while (line + 1 < lineCount && lines.starts[line + 1] <= at)
                ++line;
            const std::size_t lineStart = lines.starts[line];
            const std::size_t lineStop =
                line + 1 < lines.starts.size() ? lines.starts[line + 1] - 1 : text.size();
            const std::size_t stop = std::min(token.position + token.length, lineStop);
            if (stop > at)
                mLayout.spans[line].push_back({int(utf16Length(text.substr(lineStart, at - lineStart))),
                                               int(utf16Length(text.substr(at, stop - at))), format});
            at = std::max(stop, at) + 1; // past the line feed
        }
    }
}

} // namespace bitloom
