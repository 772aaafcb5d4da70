#include "support/cSharedText.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include <QLineEdit>

namespace {
// Cut at the first null character, then blanks (only blanks) off both ends.
QString cutAtNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    QString cut = nul >= 0 ? text.left(nul) : text;
    qsizetype start = 0;
    while (start < cut.size() && cut[start] == ' ')
        ++start;
    qsizetype end = cut.size();
    while (end > start && cut[end - 1] == ' ')
        --end;
    return cut.mid(start, end - start);
}
}

cSharedText& cSharedText::instance()
{
    static cSharedText* text = new cSharedText;
    return *text;
}

QString cSharedText::AddQuotes(const QString& text) const { return '"' + text + '"'; }

void cSharedText::HighlightText(QLineEdit* field)
{
    Guard g{"HighlightText", "cText"};
    g([&] {
        if (!field)
            throw AppError(AppError::ObjectVariableNotSet);
        field->setSelection(0, static_cast<int>(field->text().size()));
    });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

bool cSharedText::StringsEqual(const QString& a, const QString& b) const
{
    return cutAtNull(a).compare(cutAtNull(b), Qt::CaseInsensitive) == 0;
}
