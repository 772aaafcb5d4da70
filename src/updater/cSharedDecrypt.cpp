#include "updater/cSharedDecrypt.h"
#include "support/AnsiText.h"
#include "support/Guard.h"
#include "support/cSharedHTML.h"

namespace {
constexpr int kShift = 100;
constexpr int kScrambledAbove = 128;

QString shiftedDown(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const int code = AnsiText::windows1252Code(out.at(i));
        if (code > kShift)
            out[i] = AnsiText::windows1252Char(code - kShift);
    }
    return out;
}
}

QString cSharedDecrypt::Decrypt(const QString& text) const
{
    if (text.isEmpty())
        return QString();
    if (AnsiText::windows1252Code(text.at(0)) <= kScrambledAbove)
        return text;
    Guard g{QStringLiteral("Decrypt"), QStringLiteral("modDecrypt")};
    QString entities;
    g([&] { entities = shiftedDown(text); });
    QString result = entities;
    g([&] { result = cSharedHTML::HtmlToChar(entities); });
    // A password of blanks decodes to blanks and stays so; only an empty decoding falls back.
    if (result.isEmpty())
        return entities;
    return result;
}
