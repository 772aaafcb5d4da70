// The single-instance channel's request line and the argument reader behind it: any bytes from
// another process. A request that is taken goes round unchanged; the reader never takes a start
// without a positive duration, a slot outside 1 to 40, or a silent countdown that runs nothing.
#include "FuzzSupport.h"
#include "command_line/CommandLine.h"
#include "platform/CommandMessage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using FuzzSupport::require;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto request = CommandMessage::decodeRequest(bytes, nullptr);
    // Also the bytes as arguments, one per line, as a shell might pass them.
    const QStringList args = request ? request->args : QString::fromUtf8(bytes).split('\n');
    if (request) {
        const auto again = CommandMessage::decodeRequest(CommandMessage::encode(*request), nullptr);
        require(again && again->args == request->args && again->folder == request->folder,
                "a request does not go round unchanged", request->args.join(' '));
    }
    QString error;
    if (const auto c = CommandLine::parse(args, &error)) {
        const QString shown = args.join(' ');
        require(c->verb != Command::Verb::Start || c->seconds >= 1, "a start without a positive duration", shown);
        require(c->slot >= 0 && c->slot <= 40, "a slot outside 1 to 40", shown);
        require(c->alarm || !c->run.isEmpty(), "a silent countdown that runs nothing", shown);
    } else {
        require(!error.isEmpty(), "a refusal without a reason", args.join(' '));
    }
    return 0;
}
