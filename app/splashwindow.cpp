#include "app/splashwindow.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

TForm10::TForm10(int intervalMs) : QLabel(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form10"));
    setAccessibleName(QStringLiteral("Scrivlet is starting"));
    setPixmap(picture());
    setFixedSize(312, 184);
    Timer1 = new QTimer(this);
    Timer1->setInterval(intervalMs);
    connect(Timer1, &QTimer::timeout, this, &TForm10::Timer1Timer);
    Timer1->start();
}

QPixmap TForm10::picture() {
    QPixmap pm(312, 184);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 184);
    sky.setColorAt(0, QColor(0x2e, 0x4a, 0x6b));
    sky.setColorAt(1, QColor(0x9b, 0xb8, 0xcf));
    p.fillRect(pm.rect(), sky);
    // An open book.
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1e), 2));
    p.setBrush(QColor(0xfb, 0xf6, 0xe9));
    QPainterPath left, right;
    left.moveTo(156, 70);
    left.cubicTo(130, 58, 96, 58, 70, 66);
    left.lineTo(70, 150);
    left.cubicTo(96, 142, 130, 142, 156, 154);
    left.closeSubpath();
    right.moveTo(156, 70);
    right.cubicTo(182, 58, 216, 58, 242, 66);
    right.lineTo(242, 150);
    right.cubicTo(216, 142, 182, 142, 156, 154);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(QColor(0xb0, 0xa8, 0x98), 1));
    for (int y = 82; y < 140; y += 10) {
        p.drawLine(80, y, 146, y);
        p.drawLine(166, y, 232, y);
    }
    QFont f(QStringLiteral("DejaVu Serif"), 22, QFont::Bold);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 8, 312, 44), Qt::AlignCenter, QStringLiteral("Scrivlet"));
    QFont small(QStringLiteral("DejaVu Sans"), 8);
    p.setFont(small);
    p.drawText(QRect(0, 160, 304, 20), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Version 1.62"));
    return pm;
}
