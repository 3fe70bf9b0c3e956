#include "mainwin/menupainter.h"

#include "settings/colourvalue.h"

#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionMenuItem>

namespace {

// The menus' face where it is installed; otherwise the desktop's menu font.
QFont menuFont(const QFont& fallback) {
    static const bool haveTahoma = QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
    if (!haveTahoma) return fallback;
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(8);
    return f;
}

}  // namespace

MenuPainter::MenuPainter(QObject* owner) : QProxyStyle() {
    setParent(owner);
    using namespace colourvalue;
    // Until a daybook's colours arrive, the colours a new daybook is made with.
    setColour(Role::ItemBack, systemColour(InfoBackground));
    setColour(Role::IconColumn, moneyGreen);
    setColour(Role::Checked, purple);
    setColour(Role::Select, systemColour(Desktop));
    setColour(Role::SelectBorder, black);
    setColour(Role::SelectFont, maroon);
    setColour(Role::Separator, purple);
    setColour(Role::MenuBar, systemColour(InfoBackground));
}

void MenuPainter::setColour(Role role, qint32 value) {
    colours_[size_t(role)] = value;
    for (const auto& m : menus_)
        if (m) m->update();
}

QColor MenuPainter::drawnColour(Role role) const { return colourvalue::toColor(colour(role)); }

void MenuPainter::attach(QMenu* menu) {
    menu->setStyle(this);
    menu->setFont(menuFont(menu->font()));
    menus_.append(menu);
    for (QAction* a : menu->actions())
        if (a->menu()) attach(a->menu());
}

int MenuPainter::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth: return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin: return 1;
    case PM_SmallIconSize:
        if (qobject_cast<const QMenu*>(widget)) return 16;
        break;
    default: break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize MenuPainter::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                    const QWidget* widget) const {
    if (type != CT_MenuItem) return QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item) return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (item->menuItemType == QStyleOptionMenuItem::Separator) return {size.width(), 5};
    const QFontMetrics fm(item->font);
    QString text = item->text;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    int w = kIconColumnWidth + 8 + fm.horizontalAdvance(QString(text.left(tab)).remove(QLatin1Char('&')));
    if (tab >= 0) w += 24 + fm.horizontalAdvance(text.mid(tab + 1));
    w += 20;  // room for a submenu arrow and the right margin
    return {w, qMax(fm.height() + 6, 20)};
}

void MenuPainter::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                                const QWidget* widget) const {
    if (qobject_cast<const QMenu*>(widget) && (element == PE_PanelMenu || element == PE_FrameMenu)) {
        const QRect r = option->rect;
        if (element == PE_PanelMenu) {
            p->fillRect(r, drawnColour(Role::ItemBack));
            p->fillRect(QRect(r.left(), r.top(), kIconColumnWidth, r.height()), drawnColour(Role::IconColumn));
        }
        p->setPen(colourvalue::toColor(colourvalue::systemColour(colourvalue::ButtonShadow)));
        p->drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    QProxyStyle::drawPrimitive(element, option, p, widget);
}

void MenuPainter::drawControl(ControlElement element, const QStyleOption* option, QPainter* p,
                              const QWidget* widget) const {
    if (element == CE_MenuItem && qobject_cast<const QMenu*>(widget)) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            drawItem(*item, p);
            return;
        }
    }
    if (element == CE_MenuEmptyArea && qobject_cast<const QMenu*>(widget)) {
        p->fillRect(option->rect, drawnColour(Role::ItemBack));
        return;
    }
    QProxyStyle::drawControl(element, option, p, widget);
}

void MenuPainter::drawItem(const QStyleOptionMenuItem& item, QPainter* p) const {
    const QRect r = item.rect;
    const QRect iconColumn(r.left(), r.top(), kIconColumnWidth, r.height());
    p->save();
    p->fillRect(r, drawnColour(Role::ItemBack));
    p->fillRect(iconColumn, drawnColour(Role::IconColumn));
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        p->setPen(drawnColour(Role::Separator));
        const int y = r.center().y();
        p->drawLine(r.left() + kIconColumnWidth + 4, y, r.right() - 2, y);
        p->restore();
        return;
    }
    const bool enabled = item.state & State_Enabled;
    const bool selected = enabled && (item.state & State_Selected);
    if (selected) {
        const QRect sel = r.adjusted(1, 0, -2, -1);
        p->fillRect(sel, drawnColour(Role::Select));
        p->setPen(drawnColour(Role::SelectBorder));
        p->drawRect(sel);
    }
    const QColor textColour = !enabled ? colourvalue::toColor(colourvalue::systemColour(colourvalue::GrayText))
                              : selected ? drawnColour(Role::SelectFont)
                                         : item.palette.color(QPalette::Active, QPalette::WindowText);

    if (item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked) {
        const QRect box = QRect(0, 0, 14, 14).translated(iconColumn.center() - QPoint(7, 7));
        p->setRenderHint(QPainter::Antialiasing);
        const QColor mark = enabled ? drawnColour(Role::Checked) : textColour;
        if (item.checkType == QStyleOptionMenuItem::Exclusive) {
            p->setPen(Qt::NoPen);
            p->setBrush(mark);
            p->drawEllipse(box.adjusted(3, 3, -3, -3));
        } else {
            QPainterPath tick;
            tick.moveTo(box.left() + 2, box.center().y());
            tick.lineTo(box.left() + 5, box.bottom() - 3);
            tick.lineTo(box.right() - 2, box.top() + 3);
            p->setPen(QPen(mark, 2));
            p->setBrush(Qt::NoBrush);
            p->drawPath(tick);
        }
        p->setRenderHint(QPainter::Antialiasing, false);
    } else if (!item.icon.isNull()) {
        const QPixmap pm = item.icon.pixmap(16, 16, enabled ? QIcon::Normal : QIcon::Disabled);
        p->drawPixmap(iconColumn.center() - QPoint(8, 8), pm);
    }

    p->setPen(textColour);
    p->setFont(item.font);
    const QRect textRect = r.adjusted(kIconColumnWidth + 8, 0, -20, 0);
    const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    p->drawText(textRect, flags | Qt::AlignLeft, item.text.left(tab));
    if (tab >= 0) p->drawText(textRect, flags | Qt::AlignRight, item.text.mid(tab + 1));
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = item;
        arrow.rect = QRect(r.right() - 16, r.top(), 12, r.height());
        arrow.palette.setColor(QPalette::ButtonText, textColour);
        QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, p, nullptr);
    }
    p->restore();
}
