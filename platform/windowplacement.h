#pragma once
// Secondary windows are kept above their owner without being its Qt children:
// a disabled owner would disable its child windows too.
class QWidget;

namespace windowplacement {
// Centres window over owner (or the screen when owner is null), keeps it above
// owner, and shows it.
void showOver(QWidget* window, QWidget* owner);
// Centres window on its screen.
void centreOnScreen(QWidget* window);
}  // namespace windowplacement
