#pragma once
// Password boxes show "*" for every character, whatever the desktop style.
class QLineEdit;

void makeStarPasswordBox(QLineEdit* edit);
