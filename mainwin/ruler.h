#pragma once
// The ruler above the editor: a scale in centimetres whose zero is the
// editor's left text edge. Its indent markers come with the paragraph commands.
#include <QWidget>

class Ruler : public QWidget {
    Q_OBJECT
public:
    explicit Ruler(QWidget* parent = nullptr);

    // Colour values as the settings store them.
    void setBackgroundValue(qint32 value);
    void setScaleValue(qint32 value);
    qint32 backgroundValue() const { return background_; }
    qint32 scaleValue() const { return scale_; }

    // The x (in the ruler's own coordinates) where the editor's text begins.
    void setOrigin(int x);
    int origin() const { return origin_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    qint32 background_;
    qint32 scale_;
    int origin_ = 0;
};
