#include "views/view_icons.h"

#include <QPainter>

QPixmap AlarmIcon(bool graph)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (graph) {
        p.fillRect(2, 2, 28, 28, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(2, 2, 27, 27);
        p.setPen(QPen(Qt::blue, 2));
        p.drawPolyline(QPolygon({QPoint(4, 22), QPoint(12, 20), QPoint(20, 23), QPoint(28, 21)}));
        p.setPen(QPen(Qt::darkGreen, 2));
        p.drawPolyline(QPolygon({QPoint(4, 26), QPoint(12, 25), QPoint(20, 27), QPoint(28, 25)}));
        p.setPen(QPen(Qt::red, 2));
        p.drawPolyline(QPolygon({QPoint(4, 18), QPoint(12, 16), QPoint(20, 9), QPoint(28, 5)}));
    } else {
        p.fillRect(2, 2, 28, 28, Qt::white);
        p.fillRect(2, 2, 28, 6, QColor(192, 192, 192));
        p.fillRect(2, 17, 28, 5, Qt::red);
        p.setPen(Qt::black);
        p.drawRect(2, 2, 27, 27);
        for (int y = 8; y < 30; y += 5)
            p.drawLine(2, y, 29, y);
        p.drawLine(10, 2, 10, 29);
    }
    return pm;
}
