#include "mainwin/mainmenus.h"

#include <QActionGroup>

namespace {

QAction* item(QMenu* menu, const char* objectName, const QString& caption, const QString& keyText = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(objectName));
    // The key is shown beside the item; the window's actions carry the key itself.
    if (!keyText.isEmpty()) a->setText(caption + QLatin1Char('\t') + keyText);
    return a;
}

QAction* check(QMenu* menu, const char* objectName, const QString& caption, const QString& keyText = {},
               bool ticked = false) {
    QAction* a = item(menu, objectName, caption, keyText);
    a->setCheckable(true);
    a->setChecked(ticked);
    return a;
}

QMenu* menu(QWidget* owner, const char* objectName, const QString& title) {
    auto* m = new QMenu(title, owner);
    m->setObjectName(QLatin1String(objectName));
    m->setAccessibleName(QString(title).remove(QLatin1Char('&')));
    return m;
}

}  // namespace

MainMenus::MainMenus(QWidget* owner) {
    File1 = menu(owner, "File1", QStringLiteral("&File"));
    Import1 = item(File1, "Import1", QStringLiteral("Import..."), QStringLiteral("Ctrl+E"));
    output1 = item(File1, "output1", QStringLiteral("Export..."), QStringLiteral("Ctrl+M"));
    Add1 = item(File1, "Add1", QStringLiteral("Manage "));
    Savediary1 = item(File1, "Savediary1", QStringLiteral("Save"), QStringLiteral("Ctrl+S"));
    Deletecurrentdiary1 = item(File1, "Deletecurrentdiary1", QStringLiteral("Delete current diary"));
    Print1 = item(File1, "Print1", QStringLiteral("Print"));
    printsetup1 = item(File1, "printsetup1", QStringLiteral("Print  setup"));
    Exit1 = item(File1, "Exit1", QStringLiteral("Save && Quit "), QStringLiteral("Ctrl+Q"));

    Navigator1 = menu(owner, "Navigator1", QStringLiteral("&Navigator"));
    N25 = item(Navigator1, "N25", QStringLiteral("First"), QStringLiteral("Ctrl+B"));
    N26 = item(Navigator1, "N26", QStringLiteral("Previous"), QStringLiteral("Ctrl+P"));
    N27 = item(Navigator1, "N27", QStringLiteral("Next"), QStringLiteral("Ctrl+N"));
    N28 = item(Navigator1, "N28", QStringLiteral("Last"), QStringLiteral("Ctrl+L"));
    Navigator1->addSeparator();
    Navigatetree1 = item(Navigator1, "Navigatetree1", QStringLiteral("Navigate tree  (on/off)"));
    N30 = item(Navigator1, "N30", QStringLiteral("Navigate according to date"));

    Edit1 = menu(owner, "Edit1", QStringLiteral("&Edit"));
    N3 = item(Edit1, "N3", QStringLiteral("&Undo"), QStringLiteral("Ctrl+Z"));
    Redo2 = item(Edit1, "Redo2", QStringLiteral("&Redo"), QStringLiteral("Ctrl+R"));
    Edit1->addSeparator();
    N5 = item(Edit1, "N5", QStringLiteral("Cut"), QStringLiteral("Ctrl+X"));
    N6 = item(Edit1, "N6", QStringLiteral("Copy"), QStringLiteral("Ctrl+C"));
    N7 = item(Edit1, "N7", QStringLiteral("Paste"), QStringLiteral("Ctrl+V"));
    N8 = item(Edit1, "N8", QStringLiteral("Delete"), QStringLiteral("Del"));
    N9 = item(Edit1, "N9", QStringLiteral("Select all"), QStringLiteral("Ctrl+A"));
    N11 = item(Edit1, "N11", QStringLiteral("Search"), QStringLiteral("Ctrl+F"));
    Edit1->addSeparator();
    N12 = item(Edit1, "N12", QStringLiteral("Searh next"), QStringLiteral("F3"));
    N13 = item(Edit1, "N13", QStringLiteral("Replace"));
    N11->setEnabled(false);
    N12->setEnabled(false);
    N13->setEnabled(false);

    Insert1 = menu(owner, "Insert1", QStringLiteral("&Insert"));
    ime1 = item(Insert1, "ime1", QStringLiteral("Time"), QStringLiteral("Ctrl+T"));
    Date1 = item(Insert1, "Date1", QStringLiteral("Date"), QStringLiteral("Ctrl+D"));
    DateandTime1 = item(Insert1, "DateandTime1", QStringLiteral("Date && Time"));
    Insert1->addSeparator();
    Picture1 = item(Insert1, "Picture1", QStringLiteral("&Picture..."), QStringLiteral("Ctrl+G"));
    Object1 = item(Insert1, "Object1", QStringLiteral("&Object..."), QStringLiteral("Ctrl+O"));
    ObjectProperties1 = item(Insert1, "ObjectProperties1", QStringLiteral("&Object properties..."),
                             QStringLiteral("Ctrl+W"));

    Format1 = menu(owner, "Format1", QStringLiteral("For&mat"));
    N17 = item(Format1, "N17", QStringLiteral("Font..."), QStringLiteral("Ctrl+Alt+F"));
    Format1->addSeparator();
    N18 = check(Format1, "N18", QStringLiteral("Bold"), QStringLiteral("Ctrl+Alt+B"));
    N19 = check(Format1, "N19", QStringLiteral("Italic"), QStringLiteral("Ctrl+Alt+T"));
    Underline1 = check(Format1, "Underline1", QStringLiteral("Underline"), QStringLiteral("Ctrl+U"));
    Fontbackcolor1 = item(Format1, "Fontbackcolor1", QStringLiteral("Font back color"), QStringLiteral("Ctrl+Alt+O"));
    Format1->addSeparator();
    Left1 = check(Format1, "Left1", QStringLiteral("Left"), QStringLiteral("Ctrl+Alt+L"));
    Center1 = check(Format1, "Center1", QStringLiteral("Center"), QStringLiteral("Ctrl+Alt+C"));
    Right1 = check(Format1, "Right1", QStringLiteral("Right"), QStringLiteral("Ctrl+Alt+R"));
    Bullet1 = check(Format1, "Bullet1", QStringLiteral("Bullet"), QStringLiteral("Ctrl+Alt+U"));

    View1 = menu(owner, "View1", QStringLiteral("&View"));
    Editbar1 = check(View1, "Editbar1", QStringLiteral("Edit bar"), QStringLiteral("F4"), true);
    Navigatorbar1 = check(View1, "Navigatorbar1", QStringLiteral("Navigator bar"), QStringLiteral("F5"), true);
    Formatbar1 = check(View1, "Formatbar1", QStringLiteral("Format bar"), QStringLiteral("F6"), true);
    Ruler1 = check(View1, "Ruler1", QStringLiteral("Ruler"), QStringLiteral("F7"), true);
    N15 = check(View1, "N15", QStringLiteral("Status bar"), QStringLiteral("F8"), true);
    View1->addSeparator();
    Optionscenter1 = item(View1, "Optionscenter1", QStringLiteral("&Options center..."), QStringLiteral("F9"));

    Tool1 = menu(owner, "Tool1", QStringLiteral("&Tool"));
    N32 = item(Tool1, "N32", QStringLiteral("Creat a new daybook"));
    Tool1->addSeparator();
    ClockAlarm1 = item(Tool1, "ClockAlarm1", QStringLiteral("Alarm clock..."));
    Appearancecolor1 = item(Tool1, "Appearancecolor1", QStringLiteral("Appearance color..."));
    Tool1->addSeparator();
    N36 = item(Tool1, "N36", QStringLiteral("Change password"));
    ypebeep1 = check(Tool1, "ypebeep1", QStringLiteral("Type beep"), {}, true);

    Help1 = menu(owner, "Help1", QStringLiteral("&Help"));
    N22 = item(Help1, "N22", QStringLiteral("Help"));
    Help1->addSeparator();
    N24 = item(Help1, "N24", QStringLiteral("About Scrivlet"));

    // Left, Center and Right form one choice.
    auto* align = new QActionGroup(owner);
    align->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* a : {Left1, Center1, Right1}) align->addAction(a);
}
