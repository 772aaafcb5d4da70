#pragma once
#include "fakes/ZelvoTest.h"
#include "localisation/cSharedLang.h"
#include "support/TestPrinters.h"
#include <QDir>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toStdString() << '"';
}

// A fresh language object whose language path is the test's program folder.
class LangTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSharedLang::resetInstance();
    }
    void TearDown() override
    {
        cSharedLang::resetInstance();
        ZelvoTest::TearDown();
    }

    static cSharedLang& lang() { return cSharedLang::instance(); }
    static QString lastAction() { return cSharedLogging::instance().CurrentAction(); }

    void language(const QString& name, const QByteArray& bytes) const
    {
        QDir(dir.path()).mkpath("Languages");
        writeBytes("Languages/" + name, bytes);
    }
    QByteArray languageBytes(const QString& name) const { return readBytes("Languages/" + name); }

    // Lists the folder, then loads the language at that position.
    static void load(int index)
    {
        lang().LoadAllLanguages();
        lang().LoadLanguage(index);
    }
};
