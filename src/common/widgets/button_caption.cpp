#include "common/widgets/button_caption.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

int CaptionMargin(const QFontMetrics& metrics)
{
    return metrics.horizontalAdvance(QLatin1Char('x'));
}

int ButtonWidthFor(const QPushButton& button, const QString& caption)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = caption;
    option.rect = QRect(0, 0, 1000, 1000);
    const QRect inside = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    const QFontMetrics fm = button.fontMetrics();
    const QString shown = QString(caption).replace(QLatin1String("&&"), QLatin1String("&"));
    return option.rect.width() - inside.width() + fm.horizontalAdvance(shown) + 2 * CaptionMargin(fm);
}
