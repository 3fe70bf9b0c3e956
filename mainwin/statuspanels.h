#pragma once
// The status bar's four panels: caret position, user, date and time, and the
// status line.
#include <QLabel>
#include <QStatusBar>
#include <array>

class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent = nullptr);
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    QLabel* panel(int i) const { return panels_[size_t(i)]; }

private:
    std::array<QLabel*, 4> panels_{};
};
