#pragma once
#include <QByteArray>
#include <QString>

// Text files are in the system code page: UTF-8 here. Bytes that are not valid UTF-8 are read
// as Windows-1252, so files carried over from the Windows version keep their letters.
namespace AnsiText {
QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);
QString fromWindows1252(const QByteArray& bytes);
// One character's single-byte code in Windows-1252, -1 when it has none.
int windows1252Code(QChar c);
// The character a single-byte code (0-255) stands for in Windows-1252.
QChar windows1252Char(int code);
}
