#include "timer_board/RowStyle.h"
#include <QStyleFactory>

RowStyle::RowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int RowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return 10;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
        return 2;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}
