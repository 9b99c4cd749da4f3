#include "declarationhighlighter.h"

#include "codegen/grammar.h"
#include "utf16length.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <string>
#include <vector>

namespace bitloom {

namespace {

// What a block's user state says about its colours. New blocks start as
// Fresh: they have never been given formats.
enum BlockState : int {
    Fresh = -1,
    Plain = 0,        // coloured: no formats
    Coloured = 1,     // coloured: formats set
    StalePlain = 2,   // text changed since it was coloured, had no formats
    StaleColoured = 3 // text changed since it was coloured, had formats
};

// Whether a line may begin a byte array at all: its head, on that line,
// holds a type word and a bracket. Most lines of a long text fail this and
// cost no more.
bool mayHoldHead(const QString& line)
{
    return line.contains(u'[')
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

// Reads the byte array that the lines `shown` (a head line and the lines
// below it) begin, if they begin one, into `lines`.
std::optional<grammar::ByteArray> readDeclaration(const QStringList& shown, bool firstOfText, Lines& lines)
{
    lines.text = codeLine(shown.front());
    lines.starts.assign(1, 0);
    // The text's first line begins after a byte-order mark.
    const std::size_t lineStart = firstOfText ? firstLineStart(lines.text) : 0;
    auto declaration = grammar::parseByteArrayAt(lines.text, lineStart);
    // A body that does not read may be one that goes on below, and "=" and
    // "{" may stand below a head that ends its line: add lines until it
    // reads, trying again whenever a line may have closed it.
    const bool headGoesOn = lines.text.find(';') == std::string::npos;
    for (qsizetype next = 1; (declaration ? !declaration->readable : headGoesOn) && next < shown.size();
         ++next) {
        const std::string line = codeLine(shown[next]);
        lines.text.push_back('\n');
        lines.starts.push_back(lines.text.size());
        lines.text += line;
        if (line.find(';') != std::string::npos || line.find('{') != std::string::npos)
            declaration = grammar::parseByteArrayAt(lines.text, lineStart);
    }
    if (declaration && !declaration->readable && lines.starts.size() > 1) {
        // Unreadable: only its head line belongs to it.
        lines.text.resize(lines.starts[1] - 1);
        lines.starts.resize(1);
        declaration = grammar::parseByteArrayAt(lines.text, lineStart);
    }
    return declaration;
}

// Ranges of one line, each with its format, in order.
struct Span {
    int start = 0;
    int length = 0;
    const QTextCharFormat* format = nullptr;
};

// The spans as format ranges, neighbours of one format joined across the
// blanks between them ("static unsigned char", "[]={", "};"): fewer ranges
// make a line that is laid out again, as after every press, cheaper to
// shape and paint.
QList<QTextLayout::FormatRange> joined(const std::vector<Span>& spans, const QString& line)
{
    QList<QTextLayout::FormatRange> ranges;
    const Span* open = nullptr;
    int end = 0;
    const auto blanksBetween = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            if (i >= line.size() || (line[i] != u' ' && line[i] != u'\t'))
                return false;
        }
        return true;
    };
    for (const Span& span : spans) {
        if (open && span.format == open->format && blanksBetween(end, span.start)) {
            ranges.back().length = span.start + span.length - ranges.back().start;
        } else {
            ranges.append({span.start, span.length, *span.format});
            open = &span;
        }
        end = span.start + span.length;
    }
    return ranges;
}

} // namespace

DeclarationHighlighter::DeclarationHighlighter(QTextDocument* document)
    : QObject(document), mDocument(document)
{
    mKeyword.setForeground(QColor(0x00, 0x00, 0xA0));
    mKeyword.setFontWeight(QFont::Bold);
    mNumber.setForeground(QColor(0x80, 0x00, 0x80));
    mBracket.setForeground(QColor(0x60, 0x60, 0x60));
    mComment.setForeground(QColor(0x30, 0x70, 0x30));
    connect(document, &QTextDocument::contentsChange, this, &DeclarationHighlighter::contentsChanged);
}

const QTextCharFormat* DeclarationHighlighter::formatOf(int kind, char first) const
{
    switch (grammar::TokenKind(kind)) {
    case grammar::TokenKind::Keyword:
    case grammar::TokenKind::Type: return &mKeyword;
    case grammar::TokenKind::Number: return &mNumber;
    // Commas stay plain: the numbers between them stand out enough.
    case grammar::TokenKind::Punctuation: return first == ',' ? nullptr : &mBracket;
    case grammar::TokenKind::Comment: return &mComment;
    case grammar::TokenKind::Identifier: return nullptr;
    }
    return nullptr;
}

std::optional<QList<QTextLayout::FormatRange>> DeclarationHighlighter::declarationLine(const QTextBlock& head,
                                                                                       int lineIndex) const
{
    if (!mayHoldHead(head.text()))
        return std::nullopt;
    QStringList shown{head.text()};
    for (QTextBlock next = head.next(); next.isValid() && shown.size() < kMaxDeclarationLines;
         next = next.next())
        shown.append(next.text());
    Lines lines;
    const auto declaration = readDeclaration(shown, head.blockNumber() == 0, lines);
    if (!declaration)
        return std::nullopt;
    // The lines the declaration spans, from its head line on.
    const std::size_t lineCount =
        declaration->readable
            ? std::size_t(std::upper_bound(lines.starts.begin(), lines.starts.end(), declaration->end)
                          - lines.starts.begin())
            : 1;
    std::vector<Span> spans;
    if (std::size_t(lineIndex) >= lineCount)
        return QList<QTextLayout::FormatRange>{}; // a declaration that ends above the line
    const std::string_view text(lines.text);
    const std::size_t lineBegin = lines.starts[std::size_t(lineIndex)];
    const std::size_t lineStop = std::size_t(lineIndex) + 1 < lines.starts.size()
                                     ? lines.starts[std::size_t(lineIndex) + 1] - 1
                                     : text.size();
    for (const grammar::TokenSpan& token : grammar::byteArrayTokens(text, *declaration)) {
        const QTextCharFormat* format = formatOf(int(token.kind), text[token.position]);
        // A comment may run over lines; each line colours its own part.
        const std::size_t from = std::max(token.position, lineBegin);
        const std::size_t to = std::min(token.position + token.length, lineStop);
        if (!format || to <= from)
            continue;
        spans.push_back({int(utf16Length(text.substr(lineBegin, from - lineBegin))),
                         int(utf16Length(text.substr(from, to - from))), format});
    }
    return joined(spans, shown[lineIndex]);
}

QList<QTextLayout::FormatRange> DeclarationHighlighter::formats(const QTextBlock& block) const
{
    // The nearest line at or above that begins a declaration decides: its
    // declaration reaches this line or it does not. A head line cannot stand
    // inside another declaration's body, which would then not read.
    int lineIndex = 0;
    for (QTextBlock head = block; head.isValid() && lineIndex < kMaxDeclarationLines;
         head = head.previous(), ++lineIndex) {
        if (auto ranges = declarationLine(head, lineIndex))
            return *ranges;
    }
    return {};
}

QList<QTextLayout::FormatRange> DeclarationHighlighter::formats(const QString& line) const
{
    Lines lines;
    const auto declaration = readDeclaration({line}, true, lines);
    if (!mayHoldHead(line) || !declaration)
        return {};
    std::vector<Span> spans;
    const std::string_view text(lines.text);
    for (const grammar::TokenSpan& token : grammar::byteArrayTokens(text, *declaration)) {
        if (const QTextCharFormat* format = formatOf(int(token.kind), text[token.position]))
            spans.push_back({int(utf16Length(text.substr(0, token.position))),
                             int(utf16Length(text.substr(token.position, token.length))), format});
    }
    return joined(spans, line);
}

void DeclarationHighlighter::highlight(const QTextBlock& block)
{
    const int state = block.userState();
    if (!block.isValid() || state == Plain || state == Coloured)
        return;
    const QList<QTextLayout::FormatRange> ranges = formats(block);
    QTextBlock target = block;
    target.setUserState(ranges.isEmpty() ? Plain : Coloured);
    // A line that never had formats and gets none needs no layout object.
    if (ranges.isEmpty() && state != StaleColoured)
        return;
    QTextLayout* layout = block.layout();
    if (layout->formats() == ranges)
        return; // coloured as it was: no new layout
    const bool laidOut = layout->lineCount() > 0;
    layout->setFormats(ranges);
    // A line already laid out is laid out again with its new formats; one
    // not yet laid out takes them when it is.
    if (laidOut)
        mDocument->markContentsDirty(block.position(), block.length());
}

void DeclarationHighlighter::contentsChanged(int from, int removed, int added)
{
    Q_UNUSED(removed);
    // Blocks created by the change are Fresh; the ones it began and ended in
    // keep their state and are marked stale here.
    QTextBlock first = mDocument->findBlock(from);
    QTextBlock last = mDocument->findBlock(from + added);
    if (!last.isValid())
        last = mDocument->lastBlock();
    if (!first.isValid())
        return;
    const auto markStale = [](QTextBlock block) {
        const int state = block.userState();
        if (state == Plain)
            block.setUserState(StalePlain);
        else if (state == Coloured)
            block.setUserState(StaleColoured);
    };
    markStale(first);
    markStale(last);
    // A declaration may span lines: the lines of the declarations the change
    // belongs to are read again. Above a body line, up to its head; below,
    // the coloured lines up to the next head, and any line below a head whose
    // body is not closed on its line.
    QTextBlock above = first.previous();
    if (!mayHoldHead(first.text())) {
        for (int n = 0; above.isValid() && n < kMaxDeclarationLines && above.userState() == Coloured;
             ++n, above = above.previous()) {
            markStale(above);
            if (mayHoldHead(above.text())) {
                above = above.previous();
                break;
            }
        }
    }
    const bool openHead = mayHoldHead(last.text()) && !last.text().contains(QLatin1String("};"));
    QTextBlock below = last.next();
    for (int n = 0; below.isValid() && n < kMaxDeclarationLines && (openHead || below.userState() == Coloured)
                    && !mayHoldHead(below.text());
         ++n, below = below.next())
        markStale(below);
    // A few lines are coloured now, before they are laid out; the lines of
    // a large insertion wait until they are shown.
    if (last.blockNumber() - first.blockNumber() >= kEagerLines)
        return;
    const QTextBlock start = above.isValid() ? above.next() : mDocument->firstBlock();
    for (QTextBlock block = start; block.isValid() && block != below; block = block.next())
        highlight(block);
}

} // namespace bitloom
