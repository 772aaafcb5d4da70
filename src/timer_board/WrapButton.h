#pragma once
#include <QPushButton>

// A push button whose caption wraps onto a second line when the button is too narrow for it.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    WrapButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
