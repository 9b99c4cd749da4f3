#include "codeview.h"

#include "codegen/grammar.h"
#include "declarationhighlighter.h"
#include "utf16length.h"

#include <QFontDatabase>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

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

// More lines than any screen shows at once.
constexpr qsizetype kManyLines = 4096;

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

// Length of the common start of `a` and `b`, compared a page at a time.
std::size_t commonPrefix(std::string_view a, std::string_view b)
{
    constexpr std::size_t kPage = 4096;
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i + kPage <= limit && std::memcmp(a.data() + i, b.data() + i, kPage) == 0)
        i += kPage;
    while (i < limit && a[i] == b[i])
        ++i;
    return i;
}

// Length of the common end of `a` and `b`, compared a page at a time.
std::size_t commonSuffix(std::string_view a, std::string_view b)
{
    constexpr std::size_t kPage = 4096;
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t n = 0;
    while (n + kPage <= limit
           && std::memcmp(a.data() + a.size() - n - kPage, b.data() + b.size() - n - kPage, kPage) == 0)
        n += kPage;
    while (n < limit && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

} // namespace

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
    mFill = new QTimer(this);
    mFill->setInterval(0);
    connect(mFill, &QTimer::timeout, this, &CodeView::showMore);
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

void CodeView::setCurrentName(const std::string& name,
                              std::optional<std::pair<std::size_t, std::size_t>> tileLines)
{
    mCurrentName = name;
    mTileLines = tileLines;
    bandCurrentSprite(false);
}

void CodeView::setText(const std::string& text)
{
    // The common prefix and suffix stay; only the middle is replaced. The
    // boundaries are kept on whole UTF-8 characters.
    const std::size_t oldSize = mText.size();
    const std::size_t limit = std::min(oldSize, text.size());
    std::size_t prefix = commonPrefix(mText, text);
    while (prefix > 0 && prefix < limit && isContinuationByte(text[prefix]))
        --prefix;
    std::size_t suffix =
        commonSuffix(std::string_view(mText).substr(prefix), std::string_view(text).substr(prefix));
    while (suffix > 0 && isContinuationByte(text[text.size() - suffix]))
        --suffix;

    const std::string_view inserted = std::string_view(text).substr(prefix, text.size() - prefix - suffix);
    change(prefix, oldSize - suffix, inserted, [&] { mText = text; });
}

void CodeView::applyEdit(const TextEdit& edit)
{
    if (edit.position > mText.size() || edit.removed > mText.size() - edit.position) {
        qWarning("CodeView::applyEdit: an edit beyond the end of the code text was ignored");
        return;
    }
    // Widened to whole UTF-8 characters on both sides, so that the shown
    // document is only ever given whole characters. The bytes before the
    // edit and after what it removes are the same in both texts.
    const std::string_view old(mText);
    const std::size_t oldEnd = edit.position + edit.removed;
    const auto byteAt = [&](std::size_t i) {
        // The byte at `i` of the text after the edit, for i <= position.
        if (i < edit.position)
            return old[i];
        if (!edit.inserted.empty())
            return edit.inserted.front();
        return oldEnd < old.size() ? old[oldEnd] : '\0';
    };
    std::size_t from = edit.position;
    while (from > 0 && isContinuationByte(byteAt(from)))
        --from;
    std::size_t to = oldEnd;
    while (to < old.size() && isContinuationByte(old[to]))
        ++to;

    std::string inserted;
    inserted.reserve(edit.position - from + edit.inserted.size() + to - oldEnd);
    inserted.append(old.substr(from, edit.position - from))
        .append(edit.inserted)
        .append(old.substr(oldEnd, to - oldEnd));
    change(from, to, inserted, [&] { bitloom::applyEdit(mText, edit); });
}

void CodeView::applyEdits(const std::vector<TextEdit>& edits)
{
    // The band is looked for once, after the last edit.
    mBandingHeld = true;
    for (const TextEdit& edit : edits)
        applyEdit(edit);
    mBandingHeld = false;
    if (std::exchange(mBandPending, false))
        bandCurrentSprite(true);
}

void CodeView::bandAfterWrite()
{
    if (mBandingHeld)
        mBandPending = true;
    else
        bandCurrentSprite(true);
}

void CodeView::change(std::size_t from, std::size_t to, std::string_view inserted,
                      const std::function<void()>& update)
{
    if (from == to && inserted.empty())
        return;
    const std::string_view old(mText);
    const bool wasFilling = filling();
    if (wasFilling && from >= mShownBytes) {
        // Wholly in the part still to come: it is shown when it comes.
        update();
        return;
    }
    const qsizetype start = utf16Length(old.substr(0, from));
    if (wasFilling && to > mShownBytes) {
        // Across the end of the shown part: the shown part ends before it.
        update();
        mShownBytes = from;
        removeShownFrom(start);
        bandAfterWrite();
        return;
    }

    const std::size_t shownAfter = mShownBytes + inserted.size() - (to - from);
    const auto lines = std::count(inserted.begin(), inserted.end(), '\n');
    const std::size_t now = lines > kLinesAtOnce ? linesAhead(inserted) : inserted.size();
    const qsizetype removed = utf16Length(old.substr(from, to - from));

    keepSelectionOnInsert();
    // A change of the pane's width lays every line out afresh, and gives each
    // line a layout object of its own. So a text too long for any screen
    // keeps its vertical scroll bar from before its lines arrive: its
    // appearance does not narrow the pane after a million lines are in.
    if (now < inserted.size() || document()->blockCount() + lines > kManyLines)
        keepVerticalScrollBar(true);
    QTextCursor cursor(document());
    cursor.setPosition(int(start));
    if (now < inserted.size()) {
        // More lines than are shown at once: the shown part ends with the
        // first of them, the rest come from the event loop.
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.insertText(shownText(inserted.substr(0, now)));
        update();
        mShownBytes = from + now;
        mFill->start();
    } else {
        cursor.setPosition(int(start + removed), QTextCursor::KeepAnchor);
        cursor.insertText(shownText(inserted));
        update();
        mShownBytes = shownAfter;
    }
    if (!filling() && document()->blockCount() <= kManyLines)
        keepVerticalScrollBar(false);
    bandAfterWrite();
}

void CodeView::keepVerticalScrollBar(bool keep)
{
    // Setting the policy lays the scroll area out again, even when unchanged.
    const Qt::ScrollBarPolicy policy = keep ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
}

std::size_t CodeView::linesAhead(std::string_view text)
{
    // Just after the kLinesAtOnce-th line feed, or the end.
    std::size_t at = 0;
    for (int line = 0; line < kLinesAtOnce; ++line) {
        at = text.find('\n', at);
        if (at == std::string_view::npos)
            return text.size();
        ++at;
    }
    return at;
}

void CodeView::removeShownFrom(qsizetype start)
{
    keepSelectionOnInsert();
    QTextCursor cursor(document());
    cursor.setPosition(int(start));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    mFill->start();
}

void CodeView::showMore()
{
    if (filling()) {
        const std::string_view rest = std::string_view(mText).substr(mShownBytes);
        const std::size_t now = linesAhead(rest);
        keepSelectionOnInsert();
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(shownText(rest.substr(0, now)));
        mShownBytes += now;
        if (filling())
            return;
    }
    // The whole text is shown: band and scroll as the write asked.
    mFill->stop();
    if (document()->blockCount() <= kManyLines)
        keepVerticalScrollBar(false);
    const bool scroll = mScrollWhenShown;
    mScrollWhenShown = false;
    bandCurrentSprite(scroll);
}

void CodeView::paintEvent(QPaintEvent* event)
{
    // The lines of a large insertion are coloured when first shown. The pane
    // does not wrap, so each line is one block.
    const int lines = viewport()->height() / std::max(1, fontMetrics().lineSpacing()) + 2;
    QTextBlock block = firstVisibleBlock();
    for (int i = 0; i < lines && block.isValid(); ++i, block = block.next())
        mHighlighter->highlight(block);
    QPlainTextEdit::paintEvent(event);
}

QTextBlock CodeView::declarationBlock(std::size_t at, qsizetype* units) const
{
    if (at >= mShownBytes)
        return {}; // not shown yet
    *units = utf16Length(std::string_view(mText).substr(0, at));
    return document()->findBlock(int(*units));
}

void CodeView::bandCurrentSprite(bool scroll)
{
    // Every line each of the current sprite's declarations spans.
    QList<QTextEdit::ExtraSelection> band;
    QTextBlock first, last;
    bool toCome = false;
    // A tile of an array: the lines holding its numbers. A pair sprite: the
    // lines of its two declarations.
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    if (mTileLines) {
        spans.push_back(*mTileLines);
    } else {
        const auto sprite = grammar::findSprite(mText, mCurrentName);
        for (const auto* declaration : {&sprite.light, &sprite.dark}) {
            if (*declaration)
                spans.emplace_back((*declaration)->lineStart, (*declaration)->lineEnd);
        }
    }
    for (const auto& [lineStart, lineEnd] : spans) {
        if (lineEnd > mText.size() || lineStart > lineEnd)
            continue;
        qsizetype units = 0;
        const QTextBlock head = declarationBlock(lineStart, &units);
        if (!head.isValid() || lineEnd > mShownBytes) {
            toCome = true;
            continue;
        }
        // The line end of the last line belongs to that line's block.
        const qsizetype tailAt =
            units + utf16Length(std::string_view(mText).substr(lineStart, lineEnd - lineStart));
        const QTextBlock tail = document()->findBlock(int(tailAt));
        for (QTextBlock block = head; block.isValid(); block = block.next()) {
            // Coloured before the band lays the line out, so it is laid out once.
            mHighlighter->highlight(block);
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
    if (toCome) {
        // Banded again, and scrolled if asked, once the lines are shown.
        mScrollWhenShown = mScrollWhenShown || scroll;
        return;
    }
    if (!scroll || !first.isValid())
        return;
    mScrollWhenShown = false;

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
    // While the lines of a long text are still arriving, a selection up to
    // the end of what is shown (Ctrl+A) takes the text to its end.
    const QTextCursor cursor = textCursor();
    const QString whole = exactText(mText);
    const bool toTheEnd = filling() && cursor.selectionEnd() >= document()->characterCount() - 1;
    auto* data = new QMimeData;
    data->setText(
        whole.mid(cursor.selectionStart(), toTheEnd ? -1 : cursor.selectionEnd() - cursor.selectionStart()));
    return data;
}

} // namespace bitloom
