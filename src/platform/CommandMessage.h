#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// What travels over the single-instance channel: one line of JSON each way. A request carries
// the arguments and the caller's folder; the reply an exit status and what to print. A caller
// that says it reads them may be told, before the reply, why its command waits.
namespace CommandMessage {
constexpr int kMaxChars = 16 * 1024;              // what a request may hold, in characters
constexpr int kMaxBytes = 4 * kMaxChars + 1024;    // the same on the wire, UTF-8 and JSON
constexpr int kMaxReplyBytes = 1024 * 1024;  // a list of forty long messages

struct Request {
    QStringList args;  // empty: a plain second start, which asks the running copy to show itself
    QString folder;
    bool readsNotices = false;  // callers before the notices came send none
};
struct Reply {
    int status = 0;  // 0 done, 1 refused, 2 bad usage
    QString out;     // for stdout
    QString error;   // one line for stderr
};

QByteArray encode(const Request& request);
QByteArray encode(const Reply& reply);
// Nothing, with the reason, for a message that is oversized, cut short or not well formed.
std::optional<Request> decodeRequest(const QByteArray& bytes, QString* why);
std::optional<Reply> decodeReply(const QByteArray& bytes);
// Why a command waits: the window it waits for.
QByteArray encodeNotice(const QString& waitingFor);
std::optional<QString> decodeNotice(const QByteArray& bytes);
}
