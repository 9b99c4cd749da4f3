#pragma once

#include <QList>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>

class QTextBlock;
class QTextDocument;

namespace bitloom {

// Colours the C declarations of the code text: type keywords, hexadecimal
// numbers and brackets. Works line by line. A change of a few lines colours
// them at once, before they are laid out; the lines of a large insertion
// (a file being opened) are coloured only when they are about to be shown,
// so that a sheet of a million lines costs no work, and no layout object,
// for each line nobody looks at.
class DeclarationHighlighter : public QObject {
    Q_OBJECT
public:
    explicit DeclarationHighlighter(QTextDocument* document);

    // Colours `block` unless it is coloured for the text it holds now.
    void highlight(const QTextBlock& block);

    // The formats of one shown line: empty unless it is a declaration.
    QList<QTextLayout::FormatRange> formats(const QString& line) const;

    // Changes of at most this many lines are coloured at once.
    static constexpr int kEagerLines = 256;

private:
    void contentsChanged(int from, int removed, int added);

    QTextDocument* mDocument;
    QTextCharFormat mKeyword;
    QTextCharFormat mNumber;
    QTextCharFormat mBracket;
};

} // namespace bitloom
