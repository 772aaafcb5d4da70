#pragma once
#include <QString>

class QWidget;

// Modal message boxes and the one-line input prompt.
class Dialogs {
public:
    enum class Buttons { Ok, YesNo, RetryCancel };
    enum class Answer { Ok, Yes, No, Retry, Cancel };

    virtual ~Dialogs() = default;
    virtual Answer message(const QString& text, Buttons buttons, const QString& title) = 0;
    // Returns the typed text; an empty text when the user cancels.
    virtual QString input(const QString& prompt, const QString& title, const QString& defaultText) = 0;
};
