#include "platform/CommandMessage.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QByteArray line(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n'; }

// The object of one complete line; nothing, with the reason, otherwise.
std::optional<QJsonObject> object(const QByteArray& bytes, int most, QString* why)
{
    const auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (bytes.size() > most)
        return fail(QStringLiteral("oversized (%1 bytes)").arg(bytes.size()));
    if (!bytes.endsWith('\n') || bytes.count('\n') != 1)
        return fail(QStringLiteral("cut short or not one line"));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return fail(QStringLiteral("not well formed"));
    return document.object();
}
}

namespace CommandMessage {

QByteArray encode(const Request& request)
{
    QJsonObject o{{"args", QJsonArray::fromStringList(request.args)}, {"folder", request.folder}};
    if (request.readsNotices)
        o.insert("notices", true);
    return line(o);
}

QByteArray encode(const Reply& reply)
{
    return line({{"status", reply.status}, {"out", reply.out}, {"error", reply.error}});
}

std::optional<Request> decodeRequest(const QByteArray& bytes, QString* why)
{
    const auto o = object(bytes, kMaxBytes, why);
    if (!o)
        return std::nullopt;
    const QJsonValue args = o->value("args"), folder = o->value("folder");
    Request request;
    bool wellFormed = args.isArray() && folder.isString();
    for (const QJsonValue& a : args.toArray()) {
        wellFormed = wellFormed && a.isString();
        request.args << a.toString();
    }
    if (!wellFormed) {
        if (why)
            *why = QStringLiteral("not a request");
        return std::nullopt;
    }
    request.folder = folder.toString();
    request.readsNotices = o->value("notices").toBool();
    const qsizetype characters = request.args.join(QString()).size() + request.folder.size();
    if (characters > kMaxChars) {
        if (why)
            *why = QStringLiteral("oversized (%1 characters)").arg(characters);
        return std::nullopt;
    }
    return request;
}

std::optional<Reply> decodeReply(const QByteArray& bytes)
{
    const auto o = object(bytes, kMaxReplyBytes, nullptr);
    if (!o || !o->value("status").isDouble())
        return std::nullopt;
    return Reply{o->value("status").toInt(), o->value("out").toString(), o->value("error").toString()};
}

QByteArray encodeNotice(const QString& waitingFor) { return line({{"waitingFor", waitingFor}}); }

std::optional<QString> decodeNotice(const QByteArray& bytes)
{
    const auto o = object(bytes, kMaxReplyBytes, nullptr);
    if (!o || !o->value("waitingFor").isString())
        return std::nullopt;
    return o->value("waitingFor").toString();
}
}
