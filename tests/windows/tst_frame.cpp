// The main window's frame: layout, View commands, the short-cut table, dock
// bookkeeping, the menu painter.
#include "calendar/form6.h"
#include "mainwin/bardocking.h"
#include "mainwin/datedropdown.h"
#include "mainwin/fontlist.h"
#include "mainwin/menupainter.h"
#include "mainwin/ruler.h"
#include "sessionfixture.h"
#include "settings/colourvalue.h"

#include <QComboBox>
#include <QSplitter>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

class TestFrame : public QObject {
    Q_OBJECT
    std::unique_ptr<Session> s;

    static QStringList widgetNames(QToolBar* bar) {
        QStringList names;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) names << "-";
            else if (QWidget* w = bar->widgetForAction(a); w && !w->objectName().isEmpty()) names << w->objectName();
        }
        return names;
    }
    static QStringList captions(QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text().section('\t', 0, 0));
        return out;
    }

private slots:
    void init() {
        s = std::make_unique<Session>();
        s->makeDaybook("anna", "pw");
        QVERIFY(s->login("anna", "pw"));
        QVERIFY(Session::activateMainWindow());
    }
    void cleanup() {
        delete Form6;
        s.reset();
    }

    void barsHoldTheirControlsInOrder_data() {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("Edit") << "ToolBar2"
                              << QStringList{"ToolButton3", "ToolButton11", "ToolButton12", "ToolButton13",
                                             "ToolButton14", "-", "ToolButton17"};
        QTest::newRow("Navigator") << "ToolBar3"
                                   << QStringList{"ToolButton8", "ToolButton4", "ToolButton9", "ToolButton10", "-",
                                                  "ComboBox3"};
        QTest::newRow("Format") << "ToolBar4"
                                << QStringList{"ToolButton15", "ToolButton16", "ToolButton18", "-", "ToolButton21",
                                               "ToolButton22", "ToolButton23", "ToolButton29", "ToolButton30", "-",
                                               "ToolButton25", "ComboBox1", "ColorBox1", "ComboBox2"};
    }
    void barsHoldTheirControlsInOrder() {
        QFETCH(QString, bar);
        QFETCH(QStringList, controls);
        auto* b = Form1->findChild<QToolBar*>(bar);
        QVERIFY(b);
        QCOMPARE(widgetNames(b), controls);
        QVERIFY(!b->accessibleName().isEmpty());
        // Every control can be named by a screen reader.
        for (QWidget* w : b->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (qobject_cast<QToolButton*>(w) || qobject_cast<QComboBox*>(w))
                if (w->isVisibleTo(b)) QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }

    void menusHoldTheirItemsInOrder_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << "File1" << QStringList{"Import...", "Export...", "Manage ", "Save", "Delete current diary",
                                                        "Print", "Print  setup", "Save && Quit "};
        QTest::newRow("Navigator") << "Navigator1" << QStringList{"First", "Previous", "Next", "Last", "-",
                                                                  "Navigate tree  (on/off)", "Navigate according to date"};
        QTest::newRow("Edit") << "Edit1" << QStringList{"&Undo", "&Redo", "-", "Cut", "Copy", "Paste", "Delete",
                                                        "Select all", "Search", "-", "Searh next", "Replace"};
        QTest::newRow("View") << "View1" << QStringList{"Edit bar", "Navigator bar", "Format bar", "Ruler", "Status bar",
                                                        "-", "&Options center..."};
        QTest::newRow("Format") << "Format1" << QStringList{"Font...", "-", "Bold", "Italic", "Underline", "Font back color",
                                                            "-", "Left", "Center", "Right", "Bullet"};
        QTest::newRow("Tool") << "Tool1" << QStringList{"Creat a new daybook", "-", "Alarm clock...", "Appearance color...",
                                                        "-", "Change password", "Type beep"};
        QTest::newRow("Help") << "Help1" << QStringList{"Help", "-", "About Scrivlet"};
        QTest::newRow("Insert") << "Insert1" << QStringList{"Time", "Date", "Date && Time", "-", "&Picture...",
                                                            "&Object...", "&Object properties..."};
    }
    void menusHoldTheirItemsInOrder() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        auto* m = Form1->findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(captions(m), items);
        // Drawn by the window's painter.
        QCOMPARE(m->style(), static_cast<QStyle*>(Form1->XPMenu1));
    }

    void menuBarButtonsOpenTheMenusInOrder() {
        QStringList texts;
        for (QToolButton* b : Form1->ToolBar1->findChildren<QToolButton*>())
            if (b->menu()) texts << b->text();
        QCOMPARE(texts, (QStringList{"&File", "&Navigator", "&Edit", "&Insert", "For&mat", "&View", "&Tool", "&Help"}));
        QCOMPARE(Form1->ToolBar1->allowedAreas(), Qt::TopToolBarArea);
        QVERIFY(!Form1->ToolBar1->isFloatable());
    }

    void fixedListsAndSizes() {
        QCOMPARE(Form1->ComboBox2->count(), 65);
        QCOMPARE(Form1->ComboBox2->itemText(0), QStringLiteral("8"));
        QCOMPARE(Form1->ComboBox2->itemText(64), QStringLiteral("72"));
        QVERIFY(!Form1->ComboBox2->isEditable());
        const QStringList back = captions(Form1->BackgoundMenu);
        QCOMPARE(back.size(), 17);
        QCOMPARE(back.first(), QStringLiteral("Black"));
        QCOMPARE(back.last(), QStringLiteral("Automatic"));
        QCOMPARE(Form1->ColorBox1->count(), 20);
        QCOMPARE(Form1->ColorBox1->itemText(16), QStringLiteral("MoneyGreen"));
        QCOMPARE(Form1->ComboBox3->width(), 19);
        // The window never gets smaller than its minimum.
        Form1->resize(100, 100);
        QCOMPARE(Form1->size(), QSize(480, 232));
        // Cut, Copy, Undo, Redo and Search wait for something to act on.
        for (QToolButton* b : {Form1->ToolButton3, Form1->ToolButton11, Form1->ToolButton13, Form1->ToolButton14,
                               Form1->ToolButton17})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(Form1->ToolButton12->isEnabled());
    }

    void viewKeysHideAndShowWithTheirMarks_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("part");
        QTest::newRow("F4 Edit bar") << int(Qt::Key_F4) << "Editbar1" << "ToolBar2";
        QTest::newRow("F5 Navigator bar") << int(Qt::Key_F5) << "Navigatorbar1" << "ToolBar3";
        QTest::newRow("F6 Format bar") << int(Qt::Key_F6) << "Formatbar1" << "ToolBar4";
        QTest::newRow("F7 Ruler") << int(Qt::Key_F7) << "Ruler1" << "ruler";
        QTest::newRow("F8 Status bar") << int(Qt::Key_F8) << "N15" << "StatusBar1";
    }
    void viewKeysHideAndShowWithTheirMarks() {
        QFETCH(int, key);
        QFETCH(QString, item);
        QFETCH(QString, part);
        auto* mark = Form1->findChild<QAction*>(item);
        auto* w = Form1->findChild<QWidget*>(part);
        QVERIFY(mark && w);
        QVERIFY(mark->isChecked() && !w->isHidden());
        QTest::keyClick(Form1->RichEdit1, Qt::Key(key));
        QVERIFY(!mark->isChecked());
        QVERIFY(w->isHidden());
        // The menu item does the same.
        mark->trigger();
        QVERIFY(mark->isChecked());
        QVERIFY(!w->isHidden());
    }

    void viewMarksFollowAClosedFloatingBar() {
        bardocking::floatAt(*Form1->ToolBar3, QPoint(40, 40));
        Form1->floatingChanged(Form1->ToolBar3);
        auto* close = Form1->ToolBar3->findChild<QAction*>("closeFloating_ToolBar3");
        QVERIFY(close && close->isVisible());
        close->trigger();
        QVERIFY(Form1->ToolBar3->isHidden());
        QVERIFY(Form1->menus->Navigatorbar1->isChecked());
        QTest::mouseMove(Form1->ToolButton7);
        QVERIFY(!Form1->menus->Navigatorbar1->isChecked());
        QVERIFY(Form1->menus->Editbar1->isChecked());
        // The ruler and status marks are left alone.
        Form1->ruler->hide();
        QTest::mouseMove(Form1->ToolButton7, QPoint(2, 2));
        QVERIFY(Form1->menus->Ruler1->isChecked());
    }

    // Every key of the main window: once the command behind a row exists
    // (its menu item runs it), the row's action must exist with its key.
    void shortcutTable_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("item");  // the menu item whose command the key runs
        const char* rows[][3] = {
            {"Ctrl+F", "Action1", "N11"},         {"Ctrl+P", "Action2", "N26"},         {"Ctrl+N", "Action3", "N27"},
            {"Ctrl+L", "Action4", "N28"},         {"Ctrl+Z", "Action5", "N3"},          {"Ctrl+X", "Action6", "N5"},
            {"Ctrl+C", "Action7", "N6"},          {"Ctrl+V", "Action8", "N7"},          {"Ins", "Action9", "N8"},
            {"Ctrl+A", "Action10", "N9"},         {"Ctrl+B", "Action11", "N25"},        {"F3", "Action12", "N12"},
            {"Ctrl+R", "Action13", "Redo2"},      {"Ctrl+Alt+F", "Action14", "N17"},    {"Ctrl+Alt+B", "Action15", "N18"},
            {"Ctrl+U", "Action16", "Underline1"}, {"Ctrl+Alt+O", "Action17", "Fontbackcolor1"},
            {"Ctrl+Alt+L", "Action18", "Left1"},  {"Ctrl+Alt+C", "Action19", "Center1"},
            {"Ctrl+Alt+R", "Action20", "Right1"}, {"Ctrl+Alt+U", "Action21", "Bullet1"},
            {"Ctrl+Alt+T", "Action22", "N19"},    {"F4", "Action23", "Editbar1"},       {"F5", "Action24", "Navigatorbar1"},
            {"F6", "Action25", "Formatbar1"},     {"F7", "Action26", "Ruler1"},         {"F8", "Action27", "N15"},
            {"F9", "Action28", "Optionscenter1"}, {"Ctrl+E", "Action29", "Import1"},    {"Ctrl+M", "Action30", "output1"},
            {"Ctrl+S", "Action31", "Savediary1"}, {"Ctrl+Q", "Action32", "Exit1"},      {"Ctrl+T", "Action33", "ime1"},
            {"Ctrl+D", "Action34", "Date1"},      {"Ctrl+G", "Action35", "Picture1"},   {"Ctrl+O", "Action36", "Object1"},
            {"Ctrl+W", "Action37", "ObjectProperties1"},
        };
        for (const auto& r : rows) QTest::newRow(r[1]) << r[0] << r[1] << r[2];
    }
    void shortcutTable() {
        QFETCH(QString, key);
        QFETCH(QString, action);
        QFETCH(QString, item);
        auto* menuItem = Form1->findChild<QAction*>(item);
        QVERIFY2(menuItem, qPrintable(item));
        auto* a = Form1->findChild<QAction*>(action);
        if (!hasCommand(menuItem) && !a) QSKIP("its command is not built yet");
        QVERIFY2(a, "the command exists but its key does not");
        QCOMPARE(a->shortcut(), QKeySequence(key));
        QCOMPARE(a->shortcutContext(), Qt::ApplicationShortcut);
        // The key printed in the menu is the key that works.
        if (key != "Ins") QCOMPARE(menuItem->text().section('\t', 1), key);
    }

    void noKeyWorksWhileTheWindowIsDisabled() {
        Form1->setEnabled(false);
        QTest::keyClick(Form1, Qt::Key_F8);
        QVERIFY(!Form1->Panel1->isHidden());
        QVERIFY(Form1->menus->N15->isChecked());
        Form1->setEnabled(true);
        QTest::keyClick(Form1, Qt::Key_F8);
        QVERIFY(Form1->Panel1->isHidden());
    }

    void keysWorkWhileTheCalendarHasTheFocus() {
        Form1->ComboBox3->showPopup();
        QVERIFY(Form6);
        Form6->activateWindow();
        QTest::keyClick(Form6, Qt::Key_F7);
        QVERIFY(Form1->ruler->isHidden());
        QVERIFY(!Form1->menus->Ruler1->isChecked());
    }

    void keysWorkWhenTheirMenuItemIsDisabled() {
        Form1->menus->Navigatorbar1->setEnabled(false);
        QTest::keyClick(Form1->RichEdit1, Qt::Key_F5);
        QVERIFY(Form1->ToolBar3->isHidden());
    }

    void dropRecordsTheHost_data() {
        QTest::addColumn<int>("host");
        QTest::newRow("top dock") << int(bardocking::TopDock);
        QTest::newRow("bottom dock") << int(bardocking::BottomDock);
        QTest::newRow("floating") << int(bardocking::Floating);
    }
    void dropRecordsTheHost() {
        QFETCH(int, host);
        QToolBar* bar = Form1->ToolBar4;
        if (host == bardocking::Floating) bardocking::floatAt(*bar, QPoint(700, 500));
        else bardocking::dockAt(*Form1, *bar, bardocking::Host(host), QPoint(0, 0));
        Form1->settings.state.htoolbar4 = 0;
        Form1->ToolBar4EndDock();
        QCOMPARE(Form1->settings.state.htoolbar4, host);
        const QPoint expected = host == bardocking::Floating
                                    ? QPoint(700, 500)
                                    : bar->pos() - bardocking::dockRect(*Form1, bardocking::Host(host)).topLeft();
        QCOMPARE(QPoint(Form1->settings.state.bar4x, Form1->settings.state.bar4y), expected);
        if (host == bardocking::BottomDock) QCOMPARE(Form1->toolBarArea(bar), Qt::BottomToolBarArea);
    }

    void dockingKeepsRowsAndOrder() {
        // Put the Format bar first in the Edit bar's row.
        const QPoint edit = bardocking::placementOf(*Form1, *Form1->ToolBar2).pos;
        bardocking::dockAt(*Form1, *Form1->ToolBar4, bardocking::TopDock, QPoint(0, edit.y()));
        const QPoint format = bardocking::placementOf(*Form1, *Form1->ToolBar4).pos;
        QCOMPARE(format.y(), edit.y());
        QCOMPARE(format.x(), 0);
        QVERIFY(bardocking::placementOf(*Form1, *Form1->ToolBar2).pos.x() > 0);
        // The menu bar keeps its own row.
        QCOMPARE(bardocking::placementOf(*Form1, *Form1->ToolBar1).pos, QPoint(0, 0));
    }

    void topDockOffersTheTreeMenu() {
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(300, 5), Form1->mapToGlobal(QPoint(300, 5)));
        QApplication::sendEvent(Form1, &ev);
        QTRY_VERIFY(Form1->PopupMenu2->isVisible());
        Form1->PopupMenu2->hide();
    }

    void fontChoicesNameEachFamilyOnce_data() {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("plain") << QStringList{"Tahoma", "arial", "Courier New"}
                               << QStringList{"arial", "Courier New", "Tahoma"};
        QTest::newRow("two foundries")
            << QStringList{"C059 [UKWN]", "Arial", "C059 [URW ]", "Nimbus Roman"}
            << QStringList{"Arial", "C059", "Nimbus Roman"};
        QTest::newRow("brackets inside a name stay") << QStringList{"Odd [x] Sans"} << QStringList{"Odd [x] Sans"};
    }
    void fontChoicesNameEachFamilyOnce() {
        QFETCH(QStringList, families);
        QFETCH(QStringList, choices);
        QCOMPARE(fontFamilyChoices(families), choices);
    }

    void splitterMovesTheRulerZero() {
        const int before = Form1->ruler->origin();
        Form1->Splitter1->setSizes({200, 300});
        Form1->Splitter1Moved();
        QVERIFY(Form1->ruler->origin() > before);
    }
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
