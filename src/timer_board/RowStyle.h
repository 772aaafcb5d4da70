#pragma once
#include <QProxyStyle>

// The look of a timer row's tick boxes and am/pm choices: the alarm and run boxes, and the am and
// pm choices, sit one above the other in 13 pixels each, so their marks are small and close.
// Drawn as Fusion draws them whatever the desktop's style: others (Adwaita, say) keep their own
// mark size and padding, and in 13 pixels leave a dot and no caption. The palette stays the desktop's.
class RowStyle : public QProxyStyle {
    Q_OBJECT
public:
    RowStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
