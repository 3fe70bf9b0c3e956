#include "mainwin/actionlist.h"

#include <QApplication>
#include <QWidget>

namespace {
const char* const kHasCommand = "scrivletHasCommand";
}

void connectCommand(QAction* item, std::function<void()> command) {
    item->setProperty(kHasCommand, true);
    QObject::connect(item, &QAction::triggered, item, [command = std::move(command)] { command(); });
}

bool hasCommand(const QAction* item) { return item && item->property(kHasCommand).toBool(); }

QAction* ActionList::add(const char* name, const QKeySequence& key, QAction* menuItem,
                         std::function<void()> command) {
    auto* a = new QAction(window_);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::ApplicationShortcut);
    QWidget* window = window_;
    QObject::connect(a, &QAction::triggered, window, [window, menuItem, command = std::move(command)] {
        if (!window->isEnabled() || QApplication::activeModalWidget()) return;
        if (menuItem && menuItem->isCheckable()) menuItem->setChecked(!menuItem->isChecked());
        command();
    });
    window_->addAction(a);
    return a;
}
