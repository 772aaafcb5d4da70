#include "platform/AppError.h"
#include <new>

AppError::AppError(int number) : AppError(number, standardDescription(number)) {}

AppError::AppError(int number, const QString& description)
    : m_number(number), m_description(description), m_what(description.toStdString())
{
}

QString AppError::standardDescription(int number)
{
    switch (number) {
    case InvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case Overflow: return QStringLiteral("Overflow");
    case OutOfMemory: return QStringLiteral("Out of memory");
    case SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case DivisionByZero: return QStringLiteral("Division by zero");
    case TypeMismatch: return QStringLiteral("Type mismatch");
    case BadFileNameOrNumber: return QStringLiteral("Bad file name or number");
    case FileNotFound: return QStringLiteral("File not found");
    case BadFileMode: return QStringLiteral("Bad file mode");
    case FileAlreadyOpen: return QStringLiteral("File already open");
    case DeviceIoError: return QStringLiteral("Device I/O error");
    case DiskFull: return QStringLiteral("Disk full");
    case InputPastEnd: return QStringLiteral("Input past end of file");
    case PermissionDenied: return QStringLiteral("Permission denied");
    case PathFileAccess: return QStringLiteral("Path/File access error");
    case PathNotFound: return QStringLiteral("Path not found");
    case ObjectVariableNotSet: return QStringLiteral("Object variable or With block variable not set");
    case ComponentMissing:
        return QStringLiteral("Component 'MSINET.OCX' or one of its dependencies not correctly registered: "
                              "a file is missing or invalid");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

AppError AppError::from(const std::exception& e)
{
    if (const auto* app = dynamic_cast<const AppError*>(&e))
        return *app;
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return AppError(OutOfMemory);
    return AppError(InvalidCall, QString::fromLocal8Bit(e.what()));
}
