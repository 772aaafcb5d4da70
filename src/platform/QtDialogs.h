#pragma once
#include "platform/Dialogs.h"

class QtDialogs : public Dialogs {
public:
    Answer message(const QString& text, Buttons buttons, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
};
