#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target needs before its first input: a Qt application offscreen, the seams that
// could show a window, open a program or make a sound replaced by the test fakes, a scratch
// program folder, and no log file.
namespace FuzzSupport {
// From LLVMFuzzerInitialize; Qt gets an argument list of its own, libFuzzer keeps its options.
void init();

// The scratch program folder and a path inside it.
QString programFolder();
QString path(const QString& name);
void writeFile(const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& name);

// Forgets what the fakes recorded, so memory stays flat over millions of inputs.
void forgetRecords();

// An input as text. An odd first byte takes the rest as UTF-16 (lone surrogates included),
// an even one as UTF-8.
QString text(const std::uint8_t* data, std::size_t size);

// Stops the run with a message libFuzzer reports as a crash, keeping the input.
[[noreturn]] void fail(const char* what, const QString& detail = QString());
inline void require(bool condition, const char* what, const QString& detail = QString())
{
    if (!condition)
        fail(what, detail);
}
}
