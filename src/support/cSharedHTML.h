#pragma once
#include <QByteArray>
#include <QString>

// Text and markup helpers.
class cSharedHTML {
public:
    // One character per byte, in order.
    static QString ByteArrayToString(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

    // Markup characters, the blank and the Latin-1 letters and signs become their HTML 4 named
    // entities ("&quot;", "&nbsp;", "&eacute;"), "&" becomes "&amp;", and every other character
    // outside printable ASCII a numeric entity ("&#1087;"), so the result is plain ASCII.
    // A lone surrogate is no character and is passed on unchanged.
    static QString CharToHtml(const QString& text);
    // Named entities of HTML 4 Latin-1 and markup, decimal and hexadecimal numeric entities, back to
    // their characters; "&nbsp;" gives a blank. Anything that is not a complete, valid entity
    // (a lone "&", a missing ";", an unknown name, a number beyond Unicode) stays as it stands.
    static QString HtmlToChar(const QString& text);
};
