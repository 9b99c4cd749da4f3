#pragma once

#include "codegen/textedit.h"

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace bitloom {

class DeclarationHighlighter;

// The code view: shows the code text in a fixed-width font with C
// highlighting, read-only for the keyboard, selectable and copyable. It keeps
// the text exactly as written. An edit is applied to the shown document as
// it stands, and a whole-text write as the smallest edit, so a write costs
// what changed, not the length of the sheet. The current sprite's two
// declaration lines carry a background band and are scrolled into view after
// every write.
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

    // The sprite whose declaration lines carry the band. Only a write
    // scrolls them into view: a name typed letter by letter does not.
    void setCurrentName(const std::string& name);

protected:
    // Colours the lines about to be shown before they are drawn.
    void paintEvent(QPaintEvent* event) override;
    // Copies the exact characters of the selection from the code text.
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Bands the current sprite's lines; scrolls them into view if asked.
    void bandCurrentSprite(bool scroll);
    // First line of the declaration that `findDeclaration` found at `at`.
    QTextBlock declarationBlock(std::ptrdiff_t at) const;
    void keepSelectionOnInsert();
    // Replaces `removed` UTF-16 units at `start` of the shown document with
    // the shown form of `inserted`, then bands and scrolls as a write does.
    void replaceShown(qsizetype start, qsizetype removed, std::string_view inserted);

    std::string mText;
    std::string mCurrentName;
    DeclarationHighlighter* mHighlighter;
};

// Number of UTF-16 code units that the UTF-8 text `utf8` takes.
qsizetype utf16Length(std::string_view utf8);

} // namespace bitloom
