#include "gui/AppIcon.h"

#include <QPainter>
#include <QPixmap>

static QPixmap DrawIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1d, 0x4e, 0x9e));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.18, s * 0.70, s * 0.64), s * 0.10, s * 0.10);
    p.setBrush(QColor(0x1d, 0x4e, 0x9e));
    QPolygonF fin;
    fin << QPointF(s * 0.74, s * 0.40) << QPointF(s * 0.96, s * 0.26) << QPointF(s * 0.96, s * 0.74)
        << QPointF(s * 0.74, s * 0.60);
    p.drawPolygon(fin);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.41, s * 0.50), s * 0.20, s * 0.20);
    p.setBrush(QColor(0x2b, 0xb5, 0x4a));
    p.drawEllipse(QPointF(s * 0.41, s * 0.50), s * 0.10, s * 0.10);
    return pm;
}

QIcon CreateAppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
