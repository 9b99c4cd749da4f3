#pragma once

#include "codegen/textedit.h"

#include <QPlainTextEdit>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTimer;

namespace bitloom {

class DeclarationHighlighter;

// The code view: shows the code text in a fixed-width font with C
// highlighting, read-only for the keyboard, selectable and copyable. It keeps
// the text exactly as written. An edit is applied to the shown document as
// it stands, and a whole-text write as the smallest edit, so a write costs
// what changed, not the length of the sheet. Every line of the current
// sprite's declarations carries a background band, and they are scrolled
// into view after every write. A text of many lines is shown a part at a
// time: the first lines at once, the others from the event loop, so that
// opening a large file leaves the program ready for the user within moments.
class CodeView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    // The code text exactly as last written.
    const std::string& text() const { return mText; }
    // Replaces the whole text (a file opened, a new sheet).
    void setText(const std::string& text);
    // Applies one change of the code text: `edit` holds byte offsets into the
    // text as it stands and must lie within it.
    void applyEdit(const TextEdit& edit);
    // Applies the edits of one action in order, banding once at the end.
    void applyEdits(const std::vector<TextEdit>& edits);

    // Whether the shown document holds the whole text, or lines of a long
    // text are still to come.
    bool showsWholeText() const { return !filling(); }
    // Lines given to the shown document at a time.
    static constexpr int kLinesAtOnce = 16384;

    // The sprite whose declaration lines carry the band. Only a write
    // scrolls them into view: a name typed letter by letter does not.
    // For a tile of an array, `tileLines` gives the text offsets of the
    // first and the end of the last line holding its numbers.
    void setCurrentName(const std::string& name,
                        std::optional<std::pair<std::size_t, std::size_t>> tileLines = std::nullopt);

protected:
    // Colours the lines about to be shown before they are drawn.
    void paintEvent(QPaintEvent* event) override;
    // Copies the exact characters of the selection from the code text.
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Bands the current sprite's lines; scrolls them into view if asked.
    void bandCurrentSprite(bool scroll);
    // After a write: bands and scrolls now, or after the last of a batch.
    void bandAfterWrite();
    // The line holding byte `at` of the code text; `units` is set to the
    // UTF-16 position of that byte.
    QTextBlock declarationBlock(std::size_t at, qsizetype* units) const;
    void keepSelectionOnInsert();
    // Shows the change of bytes [from, to) of the code text into `inserted`;
    // `update` then changes the code text itself. Bands and scrolls as a
    // write does.
    void change(std::size_t from, std::size_t to, std::string_view inserted,
                const std::function<void()>& update);
    // Shows the vertical scroll bar always, or only when needed.
    void keepVerticalScrollBar(bool keep);
    // Bytes of `text` up to and with its kLinesAtOnce-th line feed.
    static std::size_t linesAhead(std::string_view text);
    // Ends the shown document before UTF-16 position `start`.
    void removeShownFrom(qsizetype start);
    // Gives the shown document the next lines still to come.
    void showMore();
    bool filling() const { return mShownBytes < mText.size(); }

    std::string mText;
    // The shown document holds the first mShownBytes of the code text.
    std::size_t mShownBytes = 0;
    bool mBandingHeld = false; // within applyEdits
    bool mBandPending = false; // a write in the batch asked for the band
    QTimer* mFill;
    bool mScrollWhenShown = false;
    std::string mCurrentName;
    std::optional<std::pair<std::size_t, std::size_t>> mTileLines;
    DeclarationHighlighter* mHighlighter;
};

} // namespace bitloom
