#pragma once
#include <QString>
#include <exception>
#include <string>

// A runtime failure with the original error number; behaviour branches on the numbers.
class AppError : public std::exception {
public:
    enum : int {
        InvalidCall = 5,
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        DivisionByZero = 11,
        TypeMismatch = 13,
        BadFileNameOrNumber = 52,
        FileNotFound = 53,
        BadFileMode = 54,
        FileAlreadyOpen = 55,
        DeviceIoError = 57,
        DiskFull = 61,
        InputPastEnd = 62,
        PermissionDenied = 70,
        PathFileAccess = 75,
        PathNotFound = 76,
        ObjectVariableNotSet = 91,
        ComponentMissing = 339,
    };

    explicit AppError(int number);
    AppError(int number, const QString& description);

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

    // The description the runtime gives for a number.
    static QString standardDescription(int number);
    // Any other exception, seen as a runtime failure.
    static AppError from(const std::exception& e);

private:
    int m_number;
    QString m_description;
    std::string m_what;
};
