#include "platform/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace windowplacement {

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect r = window->frameGeometry();
    r.moveCenter(screen->availableGeometry().center());
    window->move(r.topLeft());
}

void showOver(QWidget* window, QWidget* owner) {
    window->adjustSize();
    if (owner && owner->isVisible()) {
        QRect r = window->frameGeometry();
        r.moveCenter(owner->frameGeometry().center());
        window->move(r.topLeft());
    } else {
        centreOnScreen(window);
    }
    window->winId();  // make the native window so it can be tied to its owner
    if (owner && owner->windowHandle() && window->windowHandle())
        window->windowHandle()->setTransientParent(owner->windowHandle());
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace windowplacement
