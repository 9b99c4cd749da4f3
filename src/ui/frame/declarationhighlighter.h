#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace bitloom {

// Colours the sprite declarations of the code text, in every shape the
// declaration grammar reads: qualifiers and type, numbers, brackets and
// punctuation, and the comments inside a body. Works block by block (one
// block is one line), so an edit re-highlights only the lines it touches; a
// body that spans lines is read from its head line, and each block's state
// says how many lines of its declaration follow it.
class DeclarationHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit DeclarationHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    // Colours the part of the declaration headed by `head` that stands on
    // the current block, `lineIndex` lines below the head; returns how many
    // of its lines follow the current block, or -1 when none of it stands
    // here.
    int colourDeclarationLine(const QTextBlock& head, int lineIndex);

    QTextCharFormat mKeyword;
    QTextCharFormat mNumber;
    QTextCharFormat mBracket;
    QTextCharFormat mComment;
};

} // namespace bitloom
