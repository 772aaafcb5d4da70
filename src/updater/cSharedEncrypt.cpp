#include "updater/cSharedEncrypt.h"
#include "support/AnsiText.h"
#include "platform/AppError.h"
#include "support/Guard.h"
#include "support/cSharedHTML.h"

namespace {
constexpr int kShift = 100;
constexpr int kHighestShiftable = 255 - kShift;

QString shiftedUp(const QString& text)
{
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int code = AnsiText::windows1252Code(text.at(i));
        if (code < 0 || code > kHighestShiftable)
            throw AppError(AppError::InvalidCall);
        out[i] = AnsiText::windows1252Char(code + kShift);
    }
    return out;
}
}

QString cSharedEncrypt::Encrypt(const QString& text) const
{
    try {
        // "&#0;" reads back as it stands, so a NUL would not come back.
        if (text.contains(QChar(0)))
            throw AppError(AppError::InvalidCall);
        return shiftedUp(cSharedHTML::CharToHtml(text));
    } catch (const std::exception& e) {
        Guard::report(AppError::from(e), QStringLiteral("Encrypt"), QStringLiteral("modEncrypt"));
        throw;
    }
}
