#pragma once

#include <QTranslator>

namespace bitloom {

// The English plural of the texts that carry a count (tr()'s %n): their
// source writes the plural ending as "(s)", which this spells out for the
// count, so "%n sprite(s)" reads "1 sprite" and "3 sprites". Every other
// text is left as its source.
class EnglishPlurals : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
};

} // namespace bitloom
