#pragma once
#include "platform/Dialogs.h"
#include <QStringList>
#include <deque>

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

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    QStringList prompts;
    std::deque<QString> inputs;
};
