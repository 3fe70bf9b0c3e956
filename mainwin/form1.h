#pragma once
// The main window: the diary tree, the editor, the bars and the status bar.
// It starts disabled and empty; a successful login fills and enables it.
#include "mainwin/calendaropener.h"
#include "mainwin/entrylifecycle.h"
#include "mainwin/actionlist.h"
#include "mainwin/mainmenus.h"
#include "platform/formplacement.h"
#include "settings/daybooksettings.h"
#include "store/daybook.h"
#include "store/diarytable.h"

#include <QMainWindow>
#include <memory>

class DateDropDown;
class DiaryTree;
class MenuPainter;
class QComboBox;
class QToolButton;
class Ruler;
class QSplitter;
class QTimer;
class QToolBar;
class QTreeWidget;
class RichEdit;
class StatusPanels;

class TForm1 : public QMainWindow, private EntryLifecycle::View {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The program folder (templates, help, sounds) and where daybooks live.
    QString AppDir;
    QString DataDir;

    RichEdit* RichEdit1 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    StatusPanels* StatusBar1 = nullptr;
    QWidget* Panel1 = nullptr;      // the status panel: the status bar is its own panel
    Ruler* ruler = nullptr;
    QToolBar* ToolBar1 = nullptr;  // the menu bar
    QToolButton* ToolButton7 = nullptr;  // the menu bar's "&View" button
    // The Edit bar.
    QToolBar* ToolBar2 = nullptr;
    QToolButton *ToolButton3 = nullptr, *ToolButton11 = nullptr, *ToolButton12 = nullptr,
                *ToolButton13 = nullptr, *ToolButton14 = nullptr, *ToolButton17 = nullptr;
    // The Navigator bar.
    QToolBar* ToolBar3 = nullptr;
    QToolButton *ToolButton8 = nullptr, *ToolButton4 = nullptr, *ToolButton9 = nullptr, *ToolButton10 = nullptr;
    DateDropDown* ComboBox3 = nullptr;
    // The Format bar.
    QToolBar* ToolBar4 = nullptr;
    QToolButton *ToolButton15 = nullptr, *ToolButton16 = nullptr, *ToolButton18 = nullptr,
                *ToolButton21 = nullptr, *ToolButton22 = nullptr, *ToolButton23 = nullptr,
                *ToolButton29 = nullptr, *ToolButton30 = nullptr, *ToolButton25 = nullptr;
    QMenu* BackgoundMenu = nullptr;
    QComboBox* ComboBox1 = nullptr;  // font name
    QComboBox* ColorBox1 = nullptr;  // font colour
    QComboBox* ComboBox2 = nullptr;  // font size, entry = size - 8
    QTimer* Timer1 = nullptr;
    std::unique_ptr<MainMenus> menus;
    MenuPainter* XPMenu1 = nullptr;
    ActionList ActionList11{this};
    FormPlacement FormPlacement1;

    // Colours of the frame's parts, as colour values.
    void setDockColour(qint32 value);  // both docks
    qint32 dockColour() const { return dockColour_; }
    static void setPartColour(QWidget* part, qint32 value);
    static qint32 partColour(const QWidget* part);
    void setEditorColour(qint32 value);

    // The daybook open in the editor: Table1's current record is the shown diary.
    std::unique_ptr<DiaryTable> Table1;
    QString currentUser;  // empty while no daybook is open
    DaybookSettings settings;
    EntryLifecycle entries;

    daybook::Files daybookFiles() const { return daybook::filesFor(DataDir, currentUser); }
    // Makes a fresh Table1 with its delete gate (after a switch of daybooks).
    void makeTable1();
    void closeTable1();

    // The entry life cycle.
    void write() { entries.write(); }
    void append() { entries.append(); }
    void showtext() { entries.showtext(); }
    void addchange(const QString& key) { entries.addchange(key); }
    bool searchdate(const QString& key);
    void refreshStatusLine() override;
    void fontBoxesFromCaret() override;
    void fontBoxesFromDefault() override;

    // Handlers.
    void Savediary1Click();
    void Deletecurrentdiary1Click();
    void Exit1Click();
    void N32Click();
    bool Table1BeforeDelete() { return entries.beforeDelete(); }
    void Timer1Timer();
    void FormClose(QCloseEvent* event);
    void N24Click() {}  // the about box comes with the help window

    // The frame (form1frame.cpp).
    void Editbar1Click();
    void Navigatorbar1Click();
    void Formatbar1Click();
    void Ruler1Click();
    void N15Click();
    void ToolButton7MouseMove();
    void ToolBar2EndDock() { recordDock(ToolBar2, settings.state.htoolbar2, settings.state.bar2x, settings.state.bar2y); }
    void ToolBar3EndDock() { recordDock(ToolBar3, settings.state.htoolbar3, settings.state.bar3x, settings.state.bar3y); }
    void ToolBar4EndDock() { recordDock(ToolBar4, settings.state.htoolbar4, settings.state.bar4x, settings.state.bar4y); }
    void FormResize();
    // Places the ruler for the editor's left edge.
    void PlaceMarkers();
    void Splitter1Moved();
    // Puts the bars' places into settings.state as shutdown stores them.
    void takeBarPlacements();
    // A floating bar shows a close button of its own; a docked one does not.
    void floatingChanged(QToolBar* bar);
    // Writes the shutdown keys into the open daybook's settings file.
    void writeShutdownSettings();

    // The diary tree and navigation (form1tree.cpp).
    std::unique_ptr<DiaryTable> Table2;  // the tree's own cursor
    std::unique_ptr<DiaryTree> tree;
    QMenu* PopupMenu2 = nullptr;
    QAction *Open1 = nullptr, *rrrr1 = nullptr, *Deletediary1 = nullptr, *Expandall1 = nullptr,
            *Collasped1 = nullptr;
    void buildtree();
    void TreeView1DblClick();
    void Open1Click() { TreeView1DblClick(); }
    void PopupMenu2Popup();
    void rrrr1Click();
    void Deletediary1Click();
    void Expandall1Click();
    void Collasped1Click();
    void Navigatetree1Click();
    void ToolButton8Click() { navigate(EntryLifecycle::Move::First); }
    void ToolButton4Click() { navigate(EntryLifecycle::Move::Prior); }
    void ToolButton9Click() { navigate(EntryLifecycle::Move::Next); }
    void ToolButton10Click() { navigate(EntryLifecycle::Move::Last); }
    void N25Click() { ToolButton8Click(); }
    void N26Click() { ToolButton4Click(); }
    void N27Click() { ToolButton9Click(); }
    void N28Click() { ToolButton10Click(); }
    void ComboBox3DropDown(CalendarRequester requester);

    // Runs a command; an error it raises is shown with its own text and the
    // command stops there, the program going on.
    template <typename Fn>
    void guarded(Fn&& fn);

protected:
    void closeEvent(QCloseEvent* event) override { FormClose(event); }
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QToolBar* dockableBar(const char* name, const QString& caption, const QString& accessibleName);
    void buildEditBar();
    void buildNavigatorBar();
    void buildFormatBar();
    void buildActionList();
    void recordDock(QToolBar* bar, qint32& host, qint32& x, qint32& y);
    qint32 dockColour_ = 0;
    void buildTreeAndNavigation();
    void navigate(EntryLifecycle::Move m);
    void listfonts();
    void setDeleteEnabled(bool enabled) override;
    void setCaretPanel(const QString& text) override;
    void collapseTree() override;
    void focusEditor() override;
    void removeSelectedDayNode() override;
};

extern TForm1* Form1;

void showError(QWidget* parent, const std::exception& e);

template <typename Fn>
void TForm1::guarded(Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        showError(this, e);
    }
}
