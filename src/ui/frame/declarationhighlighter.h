#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace bitloom {

// Colours the C declarations of the code text: type keywords, hexadecimal
// numbers and brackets. Works line by line, so an edit re-highlights only
// the lines it touches.
class DeclarationHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit DeclarationHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat mKeyword;
    QTextCharFormat mNumber;
    QTextCharFormat mBracket;
};

} // namespace bitloom
