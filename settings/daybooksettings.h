#pragma once
// The open daybook's settings for the session: one field per key of its
// settings file, grouped by section and named like the file's keys, so code
// reads s.General.autocreatb or s.Color.maincolor. Colours are colour values
// (settings/colourvalue.h).
//
// A default-made record holds the values a login reads from a file that has
// none of the keys: the values a new file is created with, except that the
// alarm time is empty and the bar positions are 0 (a login reads those from
// the bars themselves).
#include <QPoint>
#include <QString>

struct DaybookSettings {
    DaybookSettings();

    // Defaults for a new diary.
    struct EditorSection {
        QString Fonn;      // font name
        qint32 fcolor;     // font colour
        qint32 fsize;      // font size in points
        qint32 indenl;     // left indent of the following lines, from the first line, in points
        qint32 indenr;     // right indent in points
        qint32 indenf;     // first-line indent in points
        qint32 alg;        // alignment: 0 left, 1 right, 2 centre
    } Editor;

    struct ColorSection {
        // The menu painter's roles.
        qint32 checked;            // mark of a checked item
        qint32 maincolor;          // item background
        qint32 Iconbackcolor;      // icon column
        qint32 selectboldercolor;  // frame of the highlighted item
        qint32 selectcolor;        // background of the highlighted item
        qint32 selectfont;         // text of the highlighted item
        qint32 separatorcolor;     // separator lines
        qint32 menubarcolor;       // the menu bar
        // The main window.
        qint32 toolbarback;   // both tool bar docks
        qint32 editbar;       // Edit bar
        qint32 navigatorbar;  // Navigator bar
        qint32 formatbar;     // Format bar
        qint32 statubar;      // status bar
        qint32 editor;        // editor background
        qint32 rulerb;        // ruler background
        qint32 rulerc;        // ruler scale
        // The pick-by-date calendar.
        qint32 mothbc;   // month area background
        qint32 textc;    // day text
        qint32 titlebc;  // title background
        qint32 titletc;  // title text
        qint32 tryc;     // text of the trailing days of the months around
    } Color;

    struct GeneralSection {
        bool autos;         // auto-save on
        qint32 autostime;   // auto-save interval in minutes
        bool autocreatb;    // back the daybook up at exit
        bool timeA;         // alarm on
        QString timeat;     // alarm time, in the long time format
        bool perhour;       // hourly chime
        bool insdate;       // a new diary starts with today's date
        bool instime;       // a new diary gets the current time
        QString memotext;   // a line added to a new diary when not empty
        bool showtoday;     // the calendar shows its "today" line
        bool todaymark;     // the calendar circles today
    } General;

    struct ViewSection {
        bool bar1;   // Edit bar shown
        bool bar2;   // Navigator bar shown
        bool bar3;   // Format bar shown
        bool ruler;  // ruler shown
        bool sta;    // status bar shown
    } View;

    // Where the bars are. htoolbarN: 1 top dock, 2 bottom dock, 3 floating.
    // barNx/barNy: the bar's position in its dock, or its floating window's
    // screen position. The Type beep switch of this section has no field: the
    // menu item's check mark holds it.
    struct StateSection {
        qint32 htoolbar2;  // Edit bar
        qint32 htoolbar3;  // Navigator bar
        qint32 htoolbar4;  // Format bar
        qint32 bar1x, bar1y;  // menu bar
        qint32 bar2x, bar2y;  // Edit bar
        qint32 bar3x, bar3y;  // Navigator bar
        qint32 bar4x, bar4y;  // Format bar
    } state;
};

// The bars' positions at the time of reading: what a file without position
// keys gives.
struct BarPositions {
    QPoint menuBar;       // bar1x, bar1y
    QPoint editBar;       // bar2x, bar2y
    QPoint navigatorBar;  // bar3x, bar3y
    QPoint formatBar;     // bar4x, bar4y
};
