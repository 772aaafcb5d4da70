#pragma once
#include "support/OleDate.h"
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure messages for the Qt and date types the tests compare.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (const QString& text : list)
        *os << " \"" << text.toStdString() << '"';
    *os << " }";
}
inline void PrintTo(const QDate& date, std::ostream* os) { *os << date.toString(Qt::ISODate).toStdString(); }
inline void PrintTo(const QTime& time, std::ostream* os) { *os << time.toString("HH:mm:ss.zzz").toStdString(); }
inline void PrintTo(const QDateTime& moment, std::ostream* os)
{
    *os << moment.toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString();
}
inline void PrintTo(const OleDate& date, std::ostream* os)
{
    *os << "OleDate{" << date.days << "} " << date.toDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString();
}
