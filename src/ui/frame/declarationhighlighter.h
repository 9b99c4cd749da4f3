#pragma once

#include <QList>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>

#include <optional>

class QTextBlock;
class QTextDocument;

namespace bitloom {

// Colours the sprite declarations of the code text, in every shape the
// declaration grammar reads: qualifiers and type, numbers, brackets and
// punctuation, and the comments inside a body, over every line a body spans.
// Works line by line. A change of a few lines colours them (and the lines
// of the declarations around them) at once, before they are laid out; the
// lines of a large insertion (a file being opened) are coloured only when
// they are about to be shown, so that a sheet of a million lines costs no
// work, and no layout object, for each line nobody looks at.
class DeclarationHighlighter : public QObject {
    Q_OBJECT
public:
    explicit DeclarationHighlighter(QTextDocument* document);

    // Colours `block` unless it is coloured for the text it holds now.
    void highlight(const QTextBlock& block);

    // The formats of one shown line: empty unless it is part of a
    // declaration, whose head may stand some lines above it.
    QList<QTextLayout::FormatRange> formats(const QTextBlock& block) const;
    // The formats of a line that stands alone.
    QList<QTextLayout::FormatRange> formats(const QString& line) const;

    // Changes of at most this many lines are coloured at once.
    static constexpr int kEagerLines = 256;
    // A declaration body longer than this many lines is not looked for: no
    // header spreads 8 numbers that far, and the limit bounds the work.
    static constexpr int kMaxDeclarationLines = 64;

private:
    void contentsChanged(int from, int removed, int added);
    // The formats of line `lineIndex` of the declaration `head` begins, if it
    // begins one that reaches that line; none otherwise.
    std::optional<QList<QTextLayout::FormatRange>> declarationLine(const QTextBlock& head,
                                                                   int lineIndex) const;
    const QTextCharFormat* formatOf(int kind, char first) const;

    QTextDocument* mDocument;
    QTextCharFormat mKeyword;
    QTextCharFormat mNumber;
    QTextCharFormat mBracket;
    QTextCharFormat mComment;
};

} // namespace bitloom
