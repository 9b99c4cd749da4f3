#include "declarationhighlighter.h"

#include "codegen/declaration.h"
#include "codeview.h"

#include <QTextBlock>
#include <QTextDocument>

namespace bitloom {

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// What a block's user state says about its colours. New blocks start as
// Fresh: they have never been given formats.
enum BlockState : int {
    Fresh = -1,
    Plain = 0,        // coloured: no formats
    Coloured = 1,     // coloured: formats set
    StalePlain = 2,   // text changed since it was coloured, had no formats
    StaleColoured = 3 // text changed since it was coloured, had formats
};

// Whether `line` begins with the type words every declaration begins with;
// most lines of a large file are turned away here without a conversion.
bool mayDeclare(const QString& line)
{
    const std::string_view type = declarationType();
    if (line.size() < qsizetype(type.size()))
        return false;
    for (std::size_t i = 0; i < type.size(); ++i) {
        if (line[qsizetype(i)] != QLatin1Char(type[i]))
            return false;
    }
    return true;
}

} // namespace

DeclarationHighlighter::DeclarationHighlighter(QTextDocument* document) : QObject(document), mDocument(document)
{
    mKeyword.setForeground(QColor(0x00, 0x00, 0xA0));
    mKeyword.setFontWeight(QFont::Bold);
    mNumber.setForeground(QColor(0x80, 0x00, 0x80));
    mBracket.setForeground(QColor(0x60, 0x60, 0x60));
    connect(document, &QTextDocument::contentsChange, this, &DeclarationHighlighter::contentsChanged);
}

QList<QTextLayout::FormatRange> DeclarationHighlighter::formats(const QString& line) const
{
    // A declaration line, taken apart as the updater and the reader take it:
    // the three type words, the name (left as it is, whatever it holds), the
    // "[]={" of its head and the initialiser after it.
    QList<QTextLayout::FormatRange> ranges;
    if (!mayDeclare(line))
        return ranges;
    const QByteArray utf8 = line.toUtf8();
    const std::string_view bytes(utf8.constData(), std::size_t(utf8.size()));
    const auto declaration = parseDeclarationLine(bytes);
    if (!declaration)
        return ranges;
    ranges.append({0, int(declarationType().size()) - 1, mKeyword});
    // The head is ASCII, so its last four characters are "[]={".
    const qsizetype open = utf16Length(bytes.substr(0, declaration->bodyStart)) - 4;
    ranges.append({int(open), 4, mBracket});
    for (qsizetype i = open + 4; i < line.size(); ++i) {
        if (line[i] == u'0' && i + 3 < line.size() && line[i + 1] == u'x' && isHexDigit(line[i + 2])
            && isHexDigit(line[i + 3])) {
            ranges.append({int(i), 4, mNumber});
            i += 3;
        } else if (line[i] == u'}' || line[i] == u';') {
            ranges.append({int(i), 1, mBracket});
        }
    }
    return ranges;
}

void DeclarationHighlighter::highlight(const QTextBlock& block)
{
    const int state = block.userState();
    if (!block.isValid() || state == Plain || state == Coloured)
        return;
    const QList<QTextLayout::FormatRange> ranges = formats(block.text());
    QTextBlock target = block;
    target.setUserState(ranges.isEmpty() ? Plain : Coloured);
    // A line that never had formats and gets none needs no layout object.
    if (ranges.isEmpty() && state != StaleColoured)
        return;
    QTextLayout* layout = block.layout();
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
    for (QTextBlock block : {first, last}) {
        const int state = block.userState();
        if (state == Plain)
            block.setUserState(StalePlain);
        else if (state == Coloured)
            block.setUserState(StaleColoured);
    }
    // A few lines are coloured now, before they are laid out; the lines of
    // a large insertion wait until they are shown.
    if (last.blockNumber() - first.blockNumber() >= kEagerLines)
        return;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        highlight(block);
        if (block == last)
            break;
    }
}

} // namespace bitloom
