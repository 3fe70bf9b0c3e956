#pragma once
// The main window's menus, opened from the buttons of the menu tool bar.
// Every item is an action named as the window's handlers refer to it.
#include <QAction>
#include <QMenu>

class QWidget;

struct MainMenus {
    explicit MainMenus(QWidget* owner);

    QMenu* File1;
    QAction *Import1, *output1, *Add1, *Savediary1, *Deletecurrentdiary1, *Print1, *printsetup1, *Exit1;
    QMenu* Navigator1;
    QAction *N25, *N26, *N27, *N28, *Navigatetree1, *N30;
    QMenu* Edit1;
    QAction *N3, *Redo2, *N5, *N6, *N7, *N8, *N9, *N11, *N12, *N13;
    QMenu* Insert1;
    QAction *ime1, *Date1, *DateandTime1, *Picture1, *Object1, *ObjectProperties1;
    QMenu* Format1;
    QAction *N17, *N18, *N19, *Underline1, *Fontbackcolor1, *Left1, *Center1, *Right1, *Bullet1;
    QMenu* View1;
    QAction *Editbar1, *Navigatorbar1, *Formatbar1, *Ruler1, *N15, *Optionscenter1;
    QMenu* Tool1;
    QAction *N32, *ClockAlarm1, *Appearancecolor1, *N36, *ypebeep1;
    QMenu* Help1;
    QAction *N22, *N24;

    // The menus in the order of the menu bar's buttons.
    QList<QMenu*> inBarOrder() const { return {File1, Navigator1, Edit1, Insert1, Format1, View1, Tool1, Help1}; }
};
