#pragma once
// Draws a window's menus and popup menus in the daybook's menu colours. One
// painter per window, so each window can be recoloured on its own.
#include <QPointer>
#include <QProxyStyle>
#include <QList>
#include <array>

class QMenu;
class QStyleOptionMenuItem;

class MenuPainter : public QProxyStyle {
    Q_OBJECT
public:
    enum class Role { ItemBack, IconColumn, Checked, Select, SelectBorder, SelectFont, Separator, MenuBar, Count };
    static constexpr int kIconColumnWidth = 24;

    explicit MenuPainter(QObject* owner);

    // Colours are colour values as the settings store them; system colours
    // are resolved each time a menu is drawn, so they follow the desktop.
    void setColour(Role role, qint32 value);
    qint32 colour(Role role) const { return colours_[size_t(role)]; }
    QColor drawnColour(Role role) const;

    // The menu is drawn by this painter from now on, submenus included.
    void attach(QMenu* menu);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

private:
    void drawItem(const QStyleOptionMenuItem& item, QPainter* p) const;
    std::array<qint32, size_t(Role::Count)> colours_{};
    QList<QPointer<QMenu>> menus_;
};
