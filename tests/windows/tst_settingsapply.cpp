// A daybook's settings reach the main window at login and go back to the
// file when the window closes.
#include "mainwin/bardocking.h"
#include "mainwin/menupainter.h"
#include "mainwin/ruler.h"
#include "platform/inifile.h"
#include "sessionfixture.h"
#include "settings/colourvalue.h"
#include "settings/settingsfile.h"

#include <QToolBar>

using Role = MenuPainter::Role;
using namespace colourvalue;

class TestSettingsApply : public QObject {
    Q_OBJECT
    std::unique_ptr<Session> s;

    QString iniPath() const { return s->files().ini; }
    // A settings file made as a first login makes it, then changed by hand.
    void prepare(const QList<std::array<QString, 3>>& values) {
        createSettingsFile(iniPath());
        IniFile ini(iniPath());
        for (const auto& v : values) ini.writeString(v[0], v[1], v[2]);
    }
    static QString n(qint32 v) { return QString::number(v); }
    void login() { QVERIFY(s->login("anna", "pw")); }
    void closeWindow() {
        Form1->close();
        QVERIFY(Form1->currentUser.isEmpty() || !Form1->isVisible());
    }
    int hostOf(QToolBar* bar) const { return bardocking::placementOf(*Form1, *bar).host; }

private slots:
    void init() {
        s = std::make_unique<Session>();
        s->makeDaybook("anna", "pw");
    }
    void cleanup() { s.reset(); }

    void firstLoginMakesTheFileAndShowsTheDefaults() {
        QVERIFY(!QFile::exists(iniPath()));
        login();
        QVERIFY(QFile::exists(iniPath()));
        QCOMPARE(Form1->RichEdit1->defaultFontName(), QStringLiteral("Arial"));
        QCOMPARE(Form1->RichEdit1->defaultFontSize(), 14);
        QCOMPARE(Form1->RichEdit1->defaultFontColor(), QColor(Qt::black));
        QCOMPARE(Form1->XPMenu1->colour(Role::Checked), purple);
        QCOMPARE(Form1->XPMenu1->colour(Role::ItemBack), systemColour(InfoBackground));
        QCOMPARE(Form1->XPMenu1->colour(Role::IconColumn), moneyGreen);
        for (QToolBar* bar : {Form1->ToolBar2, Form1->ToolBar3, Form1->ToolBar4}) {
            QCOMPARE(hostOf(bar), int(bardocking::TopDock));
            QVERIFY(!bar->isHidden());
        }
        QVERIFY(!Form1->ruler->isHidden());
        QVERIFY(!Form1->Panel1->isHidden());
        QVERIFY(Form1->menus->ypebeep1->isChecked());
    }

    void editorFontAndParagraph() {
        prepare({{"Editor", "Fonn", "No Such Font Anywhere"}, {"Editor", "fsize", "20"},
                 {"Editor", "fcolor", n(rgb(255, 0, 0))}, {"Editor", "alg", "2"}, {"Editor", "indenf", "12"}});
        login();
        // A font that is not installed still names the default.
        QCOMPARE(Form1->RichEdit1->defaultFontName(), QStringLiteral("No Such Font Anywhere"));
        QCOMPARE(Form1->settings.Editor.Fonn, QStringLiteral("No Such Font Anywhere"));
        QCOMPARE(Form1->RichEdit1->defaultFontSize(), 20);
        QCOMPARE(Form1->RichEdit1->defaultFontColor(), QColor(255, 0, 0));
        // The paragraph values go to the paragraph at the caret when they are applied.
        Form2->init();
        QCOMPARE(Form1->RichEdit1->paraAlignment(), RichEdit::Align::Center);
        QCOMPARE(Form1->RichEdit1->paraFirstIndent(), 12);
    }

    void menuAndPartColours() {
        prepare({{"Color", "checked", n(rgb(0, 0, 255))}, {"Color", "selectcolor", n(systemColour(Highlight))},
                 {"Color", "separatorcolor", n(rgb(1, 2, 3))}, {"Color", "menubarcolor", n(rgb(10, 20, 30))},
                 {"Color", "toolbarback", n(rgb(40, 50, 60))}, {"Color", "editor", n(rgb(250, 240, 230))},
                 {"Color", "navigatorbar", n(systemColour(ButtonFace))}, {"Color", "statubar", n(rgb(7, 8, 9))}});
        login();
        QCOMPARE(Form1->XPMenu1->colour(Role::Checked), rgb(0, 0, 255));
        QCOMPARE(Form1->XPMenu1->colour(Role::Select), systemColour(Highlight));
        QCOMPARE(Form1->XPMenu1->colour(Role::Separator), rgb(1, 2, 3));
        QCOMPARE(TForm1::partColour(Form1->ToolBar1), rgb(10, 20, 30));
        QCOMPARE(Form1->dockColour(), rgb(40, 50, 60));
        QCOMPARE(Form1->RichEdit1->palette().color(QPalette::Base), QColor(250, 240, 230));
        // A system colour stays in index form in the session.
        QCOMPARE(Form1->settings.Color.navigatorbar, systemColour(ButtonFace));
        QCOMPARE(TForm1::partColour(Form1->StatusBar1), rgb(7, 8, 9));
    }

    void viewAndRuler() {
        prepare({{"View", "bar1", "0"}, {"View", "ruler", "0"}, {"View", "sta", "0"}, {"Color", "rulerb", n(rgb(1, 1, 1))},
                 {"Color", "rulerc", n(rgb(2, 2, 2))}, {"state", "sound", "0"}});
        login();
        QVERIFY(!Form1->menus->Editbar1->isChecked());
        QVERIFY(Form1->ToolBar2->isHidden());
        QVERIFY(!Form1->menus->Ruler1->isChecked());
        QVERIFY(Form1->ruler->isHidden());
        QVERIFY(!Form1->menus->N15->isChecked());
        QVERIFY(Form1->Panel1->isHidden());
        QVERIFY(Form1->menus->Navigatorbar1->isChecked());
        QCOMPARE(Form1->ruler->backgroundValue(), rgb(1, 1, 1));
        QCOMPARE(Form1->ruler->scaleValue(), rgb(2, 2, 2));
        QVERIFY(!Form1->menus->ypebeep1->isChecked());
    }

    void hostValuesPlaceTheBar_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("expected");
        QTest::newRow("1 top") << "1" << true << int(bardocking::TopDock);
        QTest::newRow("2 bottom") << "2" << true << int(bardocking::BottomDock);
        QTest::newRow("3 floating") << "3" << true << int(bardocking::Floating);
        QTest::newRow("3 floating and hidden") << "3" << false << int(bardocking::Floating);
        QTest::newRow("0 left where the layout put it") << "0" << true << int(bardocking::TopDock);
        QTest::newRow("4 left where the layout put it, hidden") << "4" << false << int(bardocking::TopDock);
    }
    void hostValuesPlaceTheBar() {
        QFETCH(QString, host);
        QFETCH(bool, visible);
        QFETCH(int, expected);
        // A floating position off the screen is kept as it is.
        prepare({{"state", "htoolbar3", host}, {"state", "bar3x", "-3000"}, {"state", "bar3y", "77"},
                 {"View", "bar2", visible ? "1" : "0"}});
        login();
        QToolBar* bar = Form1->ToolBar3;
        QCOMPARE(hostOf(bar), expected);
        QCOMPARE(bar->isHidden(), !visible);
        if (expected == bardocking::Floating) QCOMPARE(bar->frameGeometry().topLeft(), QPoint(-3000, 77));
    }

    void windowComesBackWhereItWasLeft() {
        login();
        Form1->move(37, 41);
        Form1->resize(610, 420);
        closeWindow();
        const IniDocument doc = IniFile(iniPath()).read();
        QCOMPARE(doc.readString("formplace", "NormPos"), QStringLiteral("37,41,647,461"));
        Form1->show();
        Form1->move(200, 200);
        Form1->resize(500, 300);
        login();
        QCOMPARE(Form1->pos(), QPoint(37, 41));
        QCOMPARE(Form1->size(), QSize(610, 420));
    }

    void shutdownWritesWhereEverythingIs() {
        login();
        bardocking::dockAt(*Form1, *Form1->ToolBar4, bardocking::BottomDock, QPoint(0, 0));
        bardocking::floatAt(*Form1->ToolBar3, QPoint(650, 600));
        Form1->ToolBar3EndDock();
        Form1->menus->Ruler1->trigger();
        Form1->menus->ypebeep1->setChecked(false);
        Form1->settings.General.timeA = false;
        closeWindow();

        const IniDocument doc = IniFile(iniPath()).read();
        QCOMPARE(doc.readInteger("state", "htoolbar2", -1), 1);
        QCOMPARE(doc.readInteger("state", "htoolbar3", -1), 3);
        QCOMPARE(doc.readInteger("state", "bar3x", -1), 650);
        QCOMPARE(doc.readInteger("state", "bar3y", -1), 600);
        QCOMPARE(doc.readInteger("state", "htoolbar4", -1), 2);
        QCOMPARE(doc.readInteger("state", "bar4y", -1), 0);
        QCOMPARE(doc.readBool("View", "ruler", true), false);
        QCOMPARE(doc.readBool("View", "bar2", false), true);
        QCOMPARE(doc.readBool("General", "timeA", true), false);
        QCOMPARE(doc.readBool("state", "sound", true), false);
        QVERIFY(doc.hasKey("state", "bar1x"));

        // The next session starts as this one ended.
        Form1->show();
        login();
        QCOMPARE(hostOf(Form1->ToolBar4), int(bardocking::BottomDock));
        QCOMPARE(hostOf(Form1->ToolBar3), int(bardocking::Floating));
        QCOMPARE(Form1->ToolBar3->frameGeometry().topLeft(), QPoint(650, 600));
        QVERIFY(Form1->ruler->isHidden());
        QVERIFY(!Form1->menus->ypebeep1->isChecked());
    }

    void unwritableSettingsStopTheLogin() {
        // A folder where the file should be: the file cannot be made.
        QVERIFY(QDir().mkpath(iniPath()));
        QVERIFY(!s->login("anna", "pw"));
        QCOMPARE(s->prompt.messages(), QStringList{QStringLiteral("Unable to write to %1").arg(iniPath())});
        QVERIFY(!Form1->isEnabled());
        QVERIFY(Form2->isVisible());
    }
};

QTEST_MAIN(TestSettingsApply)
#include "tst_settingsapply.moc"
