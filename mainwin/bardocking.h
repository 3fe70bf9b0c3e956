#pragma once
// Where the main window's tool bars sit: the top dock, the bottom dock, or a
// floating window of their own. The settings store a bar's place as a host
// value with a position; this class turns those into Qt's tool bar areas and
// back.
//
// Positions inside a dock are relative to the dock's top-left corner; a dock
// lays its bars out in rows of kRowHeight pixels, left to right. Qt packs the
// bars of a row together, so a stored position keeps the bar's row and its
// order within the row.
#include <QColor>
#include <QPoint>
#include <QRect>

class QMainWindow;
class QToolBar;

namespace bardocking {

enum Host { TopDock = 1, BottomDock = 2, Floating = 3 };
constexpr int kRowHeight = 28;

struct Placement {
    int host = 0;  // 0: in no dock and not floating (hidden away by Qt)
    QPoint pos;
};

// The dock's rectangle in window coordinates: the band above (top) or below
// (bottom) the central widget, empty when it holds no row.
QRect dockRect(const QMainWindow& window, Host dock);

// Where the bar is now. A floating bar reports its window's screen position.
Placement placementOf(const QMainWindow& window, const QToolBar& bar);

// Docks the bar in the top or bottom dock at pos, moving the bars already
// there as needed to keep rows and order.
void dockAt(QMainWindow& window, QToolBar& bar, Host dock, QPoint pos);

// Floats the bar in a window of its own whose top-left corner is at the
// screen position pos (even off the screen), keeping its size.
void floatAt(QToolBar& bar, QPoint pos);

}  // namespace bardocking
