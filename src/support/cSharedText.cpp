#include "support/cSharedText.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include <QLineEdit>

namespace {
QString cutAtNull(const QString& text)
{
    const int nul = text.indexOf(QChar(0));
    return (nul >= 0 ? text.left(nul) : text).trimmed();
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
