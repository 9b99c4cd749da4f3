#pragma once

#include "codegen/codepane.h"

#include <QPlainTextEdit>

namespace bitloom {

class CHighlighter;

// The code pane "TxtBox": shows the code text in a fixed-width font with C
// highlighting, read-only for the keyboard, selectable and copyable. It keeps
// the text exactly as written; each whole-text write is applied to the shown
// document as the smallest edit, so a write costs what changed, not the
// length of the sheet.
class CodeView : public QPlainTextEdit, public CodePane {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    std::string text() const override { return mText; }
    void setText(const std::string& text) override;
    std::ptrdiff_t find(std::string_view needle, std::size_t start = 0) const override;
    using QPlainTextEdit::find;

protected:
    // Copies the exact characters of the selection from the code text.
    QMimeData* createMimeDataFromSelection() const override;

private:
    std::string mText;
    CHighlighter* mHighlighter;
};

// Number of UTF-16 code units that the UTF-8 text `utf8` takes.
qsizetype utf16Length(std::string_view utf8);

} // namespace bitloom
