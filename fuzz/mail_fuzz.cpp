// The error report's mail body: escaping any error or log text and cutting the body to length.
// The escaped text holds no character a mail link reserves, every "%" starts a whole escape,
// nothing but line ends is lost, and the cut body is a whole prefix.
#include "FuzzSupport.h"
#include "diagnostics/fSHAREDErrorRpt.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    return 0;
}

namespace {
bool isHex(QChar c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

QString withoutLineEnds(QString text)
{
    text.remove('\r');
    text.remove('\n');
    return text;
}

// The escaped text read back, checking its escapes on the way.
QString unescaped(const QString& escaped, const QString& raw)
{
    using FuzzSupport::require;
    QString out;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped.at(i);
        require(c != '?' && c != '&' && c != '#' && c != '\r' && c != '\n', "a reserved character left unescaped",
                raw);
        if (c != '%') {
            out += c;
            continue;
        }
        require(i + 2 < escaped.size() && isHex(escaped.at(i + 1)) && isHex(escaped.at(i + 2)), "a broken escape",
                raw);
        out += QChar(escaped.mid(i + 1, 2).toUShort(nullptr, 16));
        i += 2;
    }
    return out;
}

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return true;
    }
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace FuzzSupport;
    if (size < 1)
        return 0;
    // The first byte sets the heading's length, the rest splits into the error and the log.
    const QString heading(data[0], 'H');
    const QString rest = FuzzSupport::text(data + 1, size - 1);
    const QString error = rest.left(rest.size() / 2);
    const QString log = rest.mid(rest.size() / 2);

    const QString escapedError = fSHAREDErrorRpt::mailEscaped(error);
    const QString escapedLog = fSHAREDErrorRpt::mailEscaped(log);
    require(withoutLineEnds(unescaped(escapedError, error)) == withoutLineEnds(error), "the error text changed", error);
    require(withoutLineEnds(unescaped(escapedLog, log)) == withoutLineEnds(log), "the log text changed", log);

    const QString lineEnd = QStringLiteral("%0D%0A");
    const QString body = heading + lineEnd + lineEnd + escapedError + lineEnd + lineEnd + escapedLog;
    const QString cut = fSHAREDErrorRpt::cutMailBody(body, heading.size());
    require(cut.size() <= 400, "the body is longer than 400 characters", body);
    require(body.startsWith(cut), "the cut body is no prefix", body);
    if (body.size() > 400)
        require(cut.size() >= 398, "the cut took more than an escape", body);
    unescaped(cut.mid(heading.size()), body);
    if (!hasLoneSurrogate(body))
        require(!hasLoneSurrogate(cut), "the cut split a character", body);
    return 0;
}
