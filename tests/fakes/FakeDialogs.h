#pragma once
#include "platform/Dialogs.h"
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

// Records every question and answers from a queue (OK / the first-listed default when empty).
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        QString title;
    };

    Answer message(const QString& text, Buttons buttons, const QString& title) override
    {
        shown.push_back({text, buttons, title});
        if (whileShown) {
            QEventLoop modal;
            QTimer::singleShot(0, &modal, [&] {
                std::exchange(whileShown, nullptr)();
                modal.quit();
            });
            modal.exec();
        }
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }

    QString input(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        prompts.push_back(prompt + "|" + title + "|" + defaultText);
        if (inputs.empty())
            return QString();
        const QString text = inputs.front();
        inputs.pop_front();
        return text;
    }

    // Runs once while the next box is open, inside the event loop of its own a modal box has.
    std::function<void()> whileShown;
    std::vector<Shown> shown;
    std::deque<Answer> answers;
    QStringList prompts;
    std::deque<QString> inputs;
};
