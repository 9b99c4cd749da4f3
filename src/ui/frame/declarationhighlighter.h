#pragma once

#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCharFormat>

#include <vector>

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
    // the current block (whose text is `text`), `lineIndex` lines below the
    // head; returns how many of its lines follow the current block, or -1
    // when none of it stands here.
    int colourDeclarationLine(const QTextBlock& head, int lineIndex, const QString& text);
    // Reads the declaration `head` begins into mLayout.
    void layOut(const QTextBlock& head);

    // The colours of one declaration, line by line, as last worked out.
    struct Span {
        int column = 0;
        int length = 0;
        const QTextCharFormat* format = nullptr;
    };
    struct Layout {
        int headBlock = -1;
        QStringList lines;                    // the lines it spans, as shown
        std::vector<std::vector<Span>> spans; // the colours of each of them
    };
    Layout mLayout;

    QTextCharFormat mKeyword;
    QTextCharFormat mNumber;
    QTextCharFormat mBracket;
    QTextCharFormat mComment;
};

} // namespace bitloom
