#include "mainwin/bardocking.h"

#include <QLayout>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace bardocking {

namespace {

Qt::ToolBarArea areaOf(Host dock) { return dock == TopDock ? Qt::TopToolBarArea : Qt::BottomToolBarArea; }

void settle(QMainWindow& window) {
    if (QLayout* l = window.layout()) l->activate();
}

}  // namespace

QRect dockRect(const QMainWindow& window, Host dock) {
    const QWidget* central = window.centralWidget();
    const int centralTop = central ? central->geometry().top() : 0;
    const int centralBottom = central ? central->geometry().bottom() + 1 : window.height();
    if (dock == TopDock) return QRect(0, 0, window.width(), centralTop);
    const QStatusBar* status = window.findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    const int statusTop = status && !status->isHidden() ? status->geometry().top() : window.height();
    return QRect(0, centralBottom, window.width(), qMax(0, statusTop - centralBottom));
}

Placement placementOf(const QMainWindow& window, const QToolBar& bar) {
    if (bar.isFloating()) return {Floating, bar.frameGeometry().topLeft()};
    switch (window.toolBarArea(&bar)) {
    case Qt::TopToolBarArea: return {TopDock, bar.pos() - dockRect(window, TopDock).topLeft()};
    case Qt::BottomToolBarArea: return {BottomDock, bar.pos() - dockRect(window, BottomDock).topLeft()};
    default: return {};
    }
}

void dockAt(QMainWindow& window, QToolBar& bar, Host dock, QPoint pos) {
    const Qt::ToolBarArea area = areaOf(dock);
    const bool shown = !bar.isHidden();
    if (bar.isWindow()) {
        // Back from floating: a child widget again before Qt lays it out.
        bar.setWindowFlags(Qt::Widget);
    }
    settle(window);
    struct Entry {
        QToolBar* bar;
        QPoint pos;
        bool shown;
    };
    std::vector<Entry> entries;
    const QRect rect = dockRect(window, dock);
    for (QToolBar* other : window.findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other == &bar || other->isFloating() || window.toolBarArea(other) != area) continue;
        entries.push_back({other, other->pos() - rect.topLeft(), !other->isHidden()});
    }
    entries.push_back({&bar, pos, shown});
    // Row by row, then left to right; the bar being placed goes before a bar
    // already at the same place.
    std::stable_sort(entries.begin(), entries.end(), [&bar](const Entry& a, const Entry& b) {
        const int rowA = qMax(0, a.pos.y()) / kRowHeight, rowB = qMax(0, b.pos.y()) / kRowHeight;
        if (rowA != rowB) return rowA < rowB;
        if (a.pos.x() != b.pos.x()) return a.pos.x() < b.pos.x();
        return a.bar == &bar && b.bar != &bar;
    });
    for (const Entry& e : entries) window.removeToolBar(e.bar);
    int row = -1;
    for (const Entry& e : entries) {
        const int r = qMax(0, e.pos.y()) / kRowHeight;
        if (row >= 0 && r != row) window.addToolBarBreak(area);
        row = r;
        window.addToolBar(area, e.bar);
    }
    // removeToolBar hides a bar; each keeps the visibility it had.
    for (const Entry& e : entries) e.bar->setVisible(e.shown);
    settle(window);
}

void floatAt(QToolBar& bar, QPoint pos) {
    const bool shown = !bar.isHidden();
    // What Qt itself does when the user drags a bar out of its dock, so that
    // dragging it back docks it again.
    bar.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    // On its own a bar is as long as its buttons need, not as its row was.
    bar.setGeometry(QRect(pos, bar.sizeHint().expandedTo(bar.minimumSizeHint())));
    bar.setVisible(shown);
}

}  // namespace bardocking
