#include "platform/SystemAppFacts.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QOperatingSystemVersion>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>

namespace {
// Qt's CLDR forms carry time zones and narrow blanks the original forms never had.
QString plainForm(QString format)
{
    format.replace(QChar(0x202F), ' ').replace(QChar(0x00A0), ' ');
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    // Some locales put the zone in brackets: "H:mm:ss (t)".
    format.remove(QRegularExpression(QStringLiteral("\\s*\\(\\s*\\)")));
    return format.trimmed();
}

// A two-digit year would not survive a round trip through the settings file.
QString fullYear(QString format)
{
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString separatorIn(const QString& format, const QString& fallback)
{
    // Direction marks and other invisible format characters are no separators.
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c.category() != QChar::Other_Format && c != '\'')
            return QString(c);
    return fallback;
}
}

SystemAppFacts::SystemAppFacts() : m_locale(factsOf(QLocale::system())) {}

LocaleFacts SystemAppFacts::factsOf(const QLocale& given)
{
    // The C/POSIX locale counts as English (United States).
    if (given.language() == QLocale::C)
        return LocaleFacts::unitedStates();
    const QLocale& loc = given;
    LocaleFacts facts;
    facts.localeName = loc.name();
    facts.decimalSeparator = loc.decimalPoint();
    facts.groupSeparator = loc.groupSeparator();
    facts.shortDateFormat = fullYear(plainForm(loc.dateFormat(QLocale::ShortFormat)));
    facts.longTimeFormat = plainForm(loc.timeFormat(QLocale::LongFormat));
    facts.longDateFormat = plainForm(loc.dateFormat(QLocale::LongFormat));
    facts.dateSeparator = separatorIn(facts.shortDateFormat, "/");
    facts.timeSeparator = separatorIn(facts.longTimeFormat, ":");
    facts.amText = loc.amText();
    facts.pmText = loc.pmText();
    for (int m = 1; m <= 12; ++m) {
        facts.monthNames << loc.monthName(m, QLocale::LongFormat);
        facts.shortMonthNames << loc.monthName(m, QLocale::ShortFormat);
    }
    return facts;
}

QString SystemAppFacts::programFolder() const
{
    if (QCoreApplication::instance())
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    return QDir::toNativeSeparators(QDir::currentPath());
}

SystemAppFacts::Folders SystemAppFacts::foldersFor(const QString& programFolder, const QString& userDataFolder)
{
    const QDir program(programFolder);
    const QString share = QDir::cleanPath(program.absoluteFilePath("../share/zelvo"));
    const bool shareExists = QFileInfo(share).isDir();
    // Installed: a Linux prefix, a folder the user cannot write, or where the installer left its
    // uninstaller (a per-user install on Windows can be written but is no portable copy).
    const bool installed = (program.dirName() == QLatin1String("bin") && shareExists)
                           || !QFileInfo(programFolder).isWritable()
                           || QFileInfo::exists(program.absoluteFilePath(QStringLiteral("Uninstall.exe")));
    Folders folders;
    folders.data = installed ? userDataFolder : QDir::toNativeSeparators(programFolder);
    const bool assetsBeside = QFileInfo::exists(program.absoluteFilePath("alarm.wav"));
    folders.assets = QDir::toNativeSeparators(!assetsBeside && shareExists ? share : programFolder);
    return folders;
}

QString SystemAppFacts::dataFolder() const
{
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + "/.local/share/Zelvo";
    const Folders folders = foldersFor(programFolder(), QDir::toNativeSeparators(user));
    if (folders.data != programFolder())
        QDir().mkpath(folders.data);
    return folders.data;
}

QString SystemAppFacts::assetFolder() const { return foldersFor(programFolder(), QString()).assets; }

QString SystemAppFacts::exeName() const
{
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return QStringLiteral("zelvo");
}

int SystemAppFacts::versionMajor() const { return ZELVO_VERSION_MAJOR; }
int SystemAppFacts::versionMinor() const { return ZELVO_VERSION_MINOR; }
int SystemAppFacts::versionRevision() const { return ZELVO_VERSION_PATCH; }

QString SystemAppFacts::currentFolder() const { return QDir::toNativeSeparators(QDir::currentPath()); }

QString SystemAppFacts::tempFolder() const
{
    QString path = QDir::toNativeSeparators(QDir::tempPath());
    while (path.size() > 1 && path.endsWith(QDir::separator()))
        path.chop(1);
    return path;
}

OsVersion SystemAppFacts::osVersion() const
{
    OsVersion v;
    v.ok = true;
#ifdef Q_OS_WIN
    const auto os = QOperatingSystemVersion::current();
    v.major = os.majorVersion();
    v.minor = os.minorVersion();
    v.platformId = 2;
#else
    const QString kernel = QSysInfo::kernelVersion();
    const QStringList parts = kernel.split('.');
    v.major = parts.value(0).toInt();
    v.minor = parts.value(1).toInt();
    v.platformId = 0;
    QString type = QSysInfo::kernelType();
    if (!type.isEmpty())
        type[0] = type[0].toUpper();
    const QString release = kernel.section('-', 0, 0);
    v.ownName = (type + ' ' + release).trimmed();
#endif
    return v;
}

const LocaleFacts& SystemAppFacts::locale() const { return m_locale; }
