#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace bitloom {

class DeclarationHighlighter;

// The code view: shows the code text in a fixed-width font with C
// highlighting, read-only for the keyboard, selectable and copyable. It keeps
// the text exactly as written; each whole-text write is applied to the shown
// document as the smallest edit, so a write costs what changed, not the
// length of the sheet. Every line of the current sprite's declarations
// carries a background band, and they are scrolled into view after every
// write.
class CodeView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    // The code text exactly as last written.
    const std::string& text() const { return mText; }
    void setText(const std::string& text);

    // The sprite whose declaration lines carry the band. Only a write
    // scrolls them into view: a name typed letter by letter does not.
    void setCurrentName(const std::string& name);

protected:
    // Copies the exact characters of the selection from the code text.
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Bands the current sprite's lines; scrolls them into view if asked.
    void bandCurrentSprite(bool scroll);
    // The line holding byte `at` of the code text; `units` is set to the
    // UTF-16 position of that byte.
    QTextBlock declarationBlock(std::size_t at, qsizetype* units) const;
    void keepSelectionOnInsert();

    std::string mText;
    std::string mCurrentName;
    DeclarationHighlighter* mHighlighter;
};

// Number of UTF-16 code units that the UTF-8 text `utf8` takes.
qsizetype utf16Length(std::string_view utf8);

} // namespace bitloom
