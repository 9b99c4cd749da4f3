#include "plurals.h"

namespace bitloom {

QString EnglishPlurals::translate(const char*, const char* sourceText, const char*, int n) const
{
    if (n < 0 || !sourceText)
        return {};
    QString text = QString::fromUtf8(sourceText);
    if (!text.contains(QLatin1String("(s)")))
        return {};
    return text.replace(QLatin1String("(s)"), n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace bitloom
