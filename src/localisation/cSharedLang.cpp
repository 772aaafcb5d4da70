#include "localisation/cSharedLang.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include <QWidget>

namespace {
cSharedLang*& current()
{
    static cSharedLang* lang = nullptr;
    return lang;
}
}

cSharedLang& cSharedLang::instance()
{
    if (!current())
        current() = new cSharedLang;  // kept until the process ends
    return *current();
}

void cSharedLang::resetInstance()
{
    delete current();
    current() = nullptr;
}

cSharedLang::cSharedLang() : m_languagePath(Platform::facts().programFolder()) {}

QString cSharedLang::GetTranslation(const QString& text) { return text; }

void cSharedLang::TranslateForm(QWidget*) {}
