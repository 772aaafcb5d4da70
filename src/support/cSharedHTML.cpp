#include "support/cSharedHTML.h"
#include <QHash>
#include <array>

namespace {
// HTML 4 names of U+00A0 … U+00FF, in code order.
constexpr std::array<const char*, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

constexpr char32_t kNbsp = 0xA0;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
// Longer than any name above and than "#x10FFFF"; a ";" further on ends no entity.
constexpr qsizetype kLongestEntity = 10;

const QHash<QString, char32_t>& namedEntities()
{
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> t;
        for (std::size_t i = 0; i < kLatin1Names.size(); ++i)
            t.insert(QLatin1String(kLatin1Names[i]), kNbsp + static_cast<char32_t>(i));
        t.insert(QStringLiteral("nbsp"), U' ');  // the blank is written as "&nbsp;"
        t.insert(QStringLiteral("quot"), U'"');
        t.insert(QStringLiteral("amp"), U'&');
        t.insert(QStringLiteral("lt"), U'<');
        t.insert(QStringLiteral("gt"), U'>');
        return t;
    }();
    return table;
}

QString entityFor(char32_t c)
{
    switch (c) {
    case U'"': return QStringLiteral("&quot;");
    case U'&': return QStringLiteral("&amp;");
    case U'<': return QStringLiteral("&lt;");
    case U'>': return QStringLiteral("&gt;");
    case U' ': return QStringLiteral("&nbsp;");
    default: break;
    }
    if (c > kNbsp && c <= 0xFF)
        return QStringLiteral("&") + QLatin1String(kLatin1Names[c - kNbsp]) + QLatin1Char(';');
    // Control characters, U+00A0 (whose name reads back as a blank) and everything beyond Latin-1.
    if (c < 0x20 || c >= 0x7F)
        return QStringLiteral("&#") + QString::number(static_cast<quint32>(c)) + QLatin1Char(';');
    return QString();
}

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The code point of "#1087" or "#x43F"; 0 when it is none.
char32_t numericEntity(QStringView body)
{
    int base = 10;
    body = body.mid(1);
    if (body.startsWith('x') || body.startsWith('X')) {
        base = 16;
        body = body.mid(1);
    }
    if (body.isEmpty())
        return 0;
    char32_t value = 0;
    for (const QChar ch : body) {
        const int digit = ch.isDigit() && ch.unicode() < 0x80 ? ch.unicode() - '0'
                          : base == 16 && ch.unicode() >= 'a' && ch.unicode() <= 'f' ? ch.unicode() - 'a' + 10
                          : base == 16 && ch.unicode() >= 'A' && ch.unicode() <= 'F' ? ch.unicode() - 'A' + 10
                                                                                       : -1;
        if (digit < 0)
            return 0;
        value = value * base + digit;
        if (value > kMaxCodePoint)
            return 0;
    }
    return isSurrogate(value) ? 0 : value;
}

// The character of the entity between "&" and ";"; 0 when the text is no entity.
char32_t entityValue(QStringView body)
{
    if (body.startsWith('#'))
        return numericEntity(body);
    return namedEntities().value(body.toString(), 0);
}

// Not QString::fromUcs4, which takes a U+FEFF at the start for a byte order mark and drops it.
void appendCodePoint(QString& out, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        out += QChar(QChar::highSurrogate(c));
        out += QChar(QChar::lowSurrogate(c));
    } else {
        out += QChar(static_cast<char16_t>(c));
    }
}
}

QString cSharedHTML::CharToHtml(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        char32_t c = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(ch, text.at(++i));
        else if (ch.isSurrogate()) {
            out += ch;
            continue;
        }
        const QString entity = entityFor(c);
        if (entity.isEmpty())
            out += ch;
        else
            out += entity;
    }
    return out;
}

QString cSharedHTML::HtmlToChar(const QString& text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar ch = text.at(i);
        if (ch == '&') {
            // Only a short stretch is searched for the ";", so a long text of "&" stays linear.
            const qsizetype length = QStringView(text).mid(i + 1, kLongestEntity + 1).indexOf(';');
            if (length > 0) {
                if (const char32_t c = entityValue(QStringView(text).mid(i + 1, length))) {
                    appendCodePoint(out, c);
                    i += length + 2;
                    continue;
                }
            }
        }
        out += ch;
        ++i;
    }
    return out;
}
