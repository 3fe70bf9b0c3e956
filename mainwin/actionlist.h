#pragma once
// The main window's key short-cuts. The menus open from buttons of a tool bar
// rather than from a menu bar, so the keys printed beside their items are not
// theirs: each key is an action of this list that runs its command directly.
// A key works while the main window is enabled, whichever of the program's
// windows has the focus, and even when its menu item is disabled; none works
// while the main window is disabled or a modal prompt is up.
#include <QAction>
#include <QKeySequence>
#include <functional>

class QWidget;

// Connects a menu item to its command and marks the item as having one, so a
// check of the short-cut table can tell which rows must exist by now.
void connectCommand(QAction* item, std::function<void()> command);
bool hasCommand(const QAction* item);

class ActionList {
public:
    explicit ActionList(QWidget* window) : window_(window) {}

    // A short-cut named name on key. When menuItem has a check mark, the key
    // flips it first, so key and menu behave alike; then command runs.
    QAction* add(const char* name, const QKeySequence& key, QAction* menuItem, std::function<void()> command);

private:
    QWidget* window_;
};
