#include "mainwin/ruler.h"

#include "settings/colourvalue.h"

#include <QPainter>

Ruler::Ruler(QWidget* parent)
    : QWidget(parent), background_(colourvalue::white), scale_(colourvalue::green) {
    setObjectName(QStringLiteral("ruler"));
    setAccessibleName(QStringLiteral("Ruler"));
    setFixedHeight(24);
}

void Ruler::setBackgroundValue(qint32 value) {
    background_ = value;
    update();
}

void Ruler::setScaleValue(qint32 value) {
    scale_ = value;
    update();
}

void Ruler::setOrigin(int x) {
    if (x == origin_) return;
    origin_ = x;
    update();
}

void Ruler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colourvalue::toColor(background_));
    const QColor ink = colourvalue::toColor(scale_);
    p.setPen(ink);
    QFont f = font();
    f.setPointSize(7);
    p.setFont(f);
    // Quarter centimetres, numbered every centimetre.
    const double pxPerCm = logicalDpiX() / 2.54;
    const int base = height() - 3;
    for (int q = 0;; ++q) {
        const int x = origin_ + int(q * pxPerCm / 4 + 0.5);
        if (x > width()) break;
        if (q % 4 == 0) {
            p.drawLine(x, base - 6, x, base);
            if (q > 0) p.drawText(QRect(x - 10, 1, 20, base - 7), Qt::AlignCenter, QString::number(q / 4));
        } else {
            p.drawLine(x, base - (q % 2 ? 2 : 4), x, base);
        }
    }
    p.drawLine(0, base, width(), base);
}
