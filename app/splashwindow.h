#pragma once
// The splash window shown for one timer interval at start-up.
#include <QLabel>
#include <QTimer>

class TForm10 : public QLabel {
    Q_OBJECT
public:
    explicit TForm10(int intervalMs = 1000);
    QTimer* Timer1;
    // The tick marks the end of the splash time.
    void Timer1Timer() { Timer1->stop(); }
    static QPixmap picture();
};
