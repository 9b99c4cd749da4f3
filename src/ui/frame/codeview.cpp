#include "codeview.h"

#include "codegen/grammar.h"
#include "declarationhighlighter.h"

#include <QFontDatabase>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace bitloom {

namespace {

// Lays the code text out as QPlainTextDocumentLayout does, but takes a
// change to reach only as far as the text that now stands in its place.
// The stock layout measures a replacement by the characters removed plus
// those added, so a change within one line, and every re-highlight of a
// line (reported as a replacement of the whole line), spills into the next
// line and repaints the whole pane.
class CodeLayout final : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override
    {
        QPlainTextDocumentLayout::documentChanged(from, charsAdded > 0 ? 0 : charsRemoved, charsAdded);
    }
};

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A quiet band: the base colour moved a little towards the highlight.
QColor bandColour(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor mark = palette.color(QPalette::Highlight);
    constexpr float share = 0.12f;
    return QColor::fromRgbF(base.redF() + (mark.redF() - base.redF()) * share,
                            base.greenF() + (mark.greenF() - base.greenF()) * share,
                            base.blueF() + (mark.blueF() - base.blueF()) * share);
}

// The UTF-16 text of `utf8`, a byte-order mark included: the stock
// conversion drops one at the start.
QString exactText(std::string_view utf8)
{
    QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (utf8.starts_with("\xEF\xBB\xBF") && !text.startsWith(QChar(0xFEFF)))
        text.prepend(QChar(0xFEFF));
    return text;
}

// What the shown document is given for `utf8`: one character for each of
// the code text's, so that positions in the pane are positions in the code
// text. A carriage return would merge with its line feed into one line
// break there, so it is shown as a zero-width space.
QString shownText(std::string_view utf8)
{
    QString text = exactText(utf8);
    text.replace(u'\r', QChar(0x200B));
    return text;
}

} // namespace

qsizetype utf16Length(std::string_view utf8)
{
    qsizetype units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isContinuationByte(c))
            ++units;
        if (byte >= 0xF0)
            ++units; // four-byte sequences become a surrogate pair
    }
    return units;
}

CodeView::CodeView(QWidget* parent) : QPlainTextEdit(parent)
{
    auto* shown = new QTextDocument(this);
    shown->setDocumentLayout(new CodeLayout(shown));
    setDocument(shown);
    setObjectName(QStringLiteral("codeView"));
    setAccessibleName(tr("Generated C code"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mHighlighter = new DeclarationHighlighter(document());
    keepSelectionOnInsert();
}

void CodeView::keepSelectionOnInsert()
{
    // Lines appended at the end of a selection (Ctrl+A) stay outside it.
    QTextCursor cursor = textCursor();
    if (cursor.keepPositionOnInsert())
        return;
    cursor.setKeepPositionOnInsert(true);
    const int across = horizontalScrollBar()->value();
    const int down = verticalScrollBar()->value();
    setTextCursor(cursor);
    horizontalScrollBar()->setValue(across);
    verticalScrollBar()->setValue(down);
}

void CodeView::setCurrentName(const std::string& name)
{
    mCurrentName = name;
    bandCurrentSprite(false);
}

void CodeView::setText(const std::string& text)
{
    // The common prefix and suffix stay; only the middle is replaced. The
    // boundaries are kept on whole UTF-8 characters.
    const std::size_t oldSize = mText.size();
    const std::size_t limit = std::min(oldSize, text.size());
    std::size_t prefix = 0;
    while (prefix < limit && mText[prefix] == text[prefix])
        ++prefix;
    while (prefix > 0 && prefix < limit && isContinuationByte(text[prefix]))
        --prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && mText[oldSize - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    while (suffix > 0 && isContinuationByte(text[text.size() - suffix]))
        --suffix;

    const std::string_view oldView(mText);
    const qsizetype start = utf16Length(oldView.substr(0, prefix));
    const qsizetype removed = utf16Length(oldView.substr(prefix, oldSize - prefix - suffix));
    const std::string_view inserted = std::string_view(text).substr(prefix, text.size() - prefix - suffix);

    mText = text;
    if (removed == 0 && inserted.empty())
        return;

    keepSelectionOnInsert();
    QTextCursor cursor(document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(start + removed), QTextCursor::KeepAnchor);
    cursor.insertText(shownText(inserted));
    bandCurrentSprite(true);
}

QTextBlock CodeView::declarationBlock(std::size_t at, qsizetype* units) const
{
    *units = utf16Length(std::string_view(mText).substr(0, at));
    return document()->findBlock(int(*units));
}

void CodeView::bandCurrentSprite(bool scroll)
{
    // Every line each of the current sprite's declarations spans.
    QList<QTextEdit::ExtraSelection> band;
    QTextBlock first, last;
    const auto sprite = grammar::findSprite(mText, mCurrentName);
    for (const auto* declaration : {&sprite.light, &sprite.dark}) {
        if (!*declaration)
            continue;
        qsizetype units = 0;
        const QTextBlock head = declarationBlock((*declaration)->lineStart, &units);
        // The line end of the last line belongs to that line's block.
        const qsizetype tailAt =
            units
            + utf16Length(std::string_view(mText).substr(
                (*declaration)->lineStart, (*declaration)->lineEnd - (*declaration)->lineStart));
        const QTextBlock tail = document()->findBlock(int(tailAt));
        for (QTextBlock block = head; block.isValid(); block = block.next()) {
            QTextEdit::ExtraSelection line;
            line.cursor = QTextCursor(block);
            line.format.setBackground(bandColour(palette()));
            line.format.setProperty(QTextFormat::FullWidthSelection, true);
            band.append(line);
            if (block == tail || block.blockNumber() >= tail.blockNumber())
                break;
        }
        if (!first.isValid() || head.blockNumber() < first.blockNumber())
            first = head;
        if (!last.isValid() || tail.blockNumber() > last.blockNumber())
            last = tail;
    }
    setExtraSelections(band);
    if (!scroll || !first.isValid())
        return;

    // Scroll only as far as needed. The pane does not wrap, so the scroll
    // bar counts lines: the first shown one, and a page of them.
    QScrollBar* bar = verticalScrollBar();
    const int top = first.firstLineNumber();
    const int bottom = last.firstLineNumber() + std::max(1, last.lineCount()) - 1;
    const int page = std::max(1, bar->pageStep());
    if (top < bar->value())
        bar->setValue(top);
    else if (bottom >= bar->value() + page)
        bar->setValue(std::min(top, bottom - page + 1));
}

QMimeData* CodeView::createMimeDataFromSelection() const
{
    // The shown document would turn some characters (such as a no-break
    // space) into others on the way out; the copy takes the code text itself.
    const QTextCursor cursor = textCursor();
    const QString whole = exactText(mText);
    auto* data = new QMimeData;
    data->setText(whole.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()));
    return data;
}

} // namespace bitloom
