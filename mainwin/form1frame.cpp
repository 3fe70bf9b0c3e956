// The main window's frame: the menu bar, the three dockable bars, the ruler,
// the tree and editor, the status panel; the View commands, the docking
// bookkeeping and the colours of the frame's parts.
#include "editor/richedit.h"
#include "mainwin/bardocking.h"
#include "mainwin/colourlists.h"
#include "mainwin/datedropdown.h"
#include "mainwin/form1.h"
#include "mainwin/ruler.h"
#include "mainwin/statuspanels.h"
#include "platform/prompter.h"
#include "settings/colourvalue.h"
#include "settings/settingsfile.h"

#include <QActionGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char* const kColourValue = "scrivletColourValue";

QPixmap swatch(const QColor& c) {
    QPixmap pm(12, 12);
    pm.fill(c.isValid() ? c : QColor(Qt::white));
    QPainter p(&pm);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 11, 11);
    if (!c.isValid()) p.drawLine(0, 11, 11, 0);
    return pm;
}

// A bar button: the desktop theme's icon when there is one, else a short text.
QToolButton* barButton(QToolBar* bar, const char* name, const QString& hint, const QString& text,
                       const QIcon& icon = {}, bool checkable = false) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(true);
    b->setCheckable(checkable);
    b->setFocusPolicy(Qt::NoFocus);
    if (!icon.isNull()) {
        b->setIcon(icon);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    bar->addWidget(b);
    return b;
}

}  // namespace

void TForm1::setPartColour(QWidget* part, qint32 value) {
    const QColor c = colourvalue::toColor(value);
    QPalette pal = part->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Button, c);
    part->setPalette(pal);
    part->setAutoFillBackground(true);
    part->setProperty(kColourValue, value);
}

qint32 TForm1::partColour(const QWidget* part) {
    const QVariant v = part->property(kColourValue);
    return v.isValid() ? v.toInt() : colourvalue::fromColor(part->palette().color(QPalette::Window));
}

void TForm1::setDockColour(qint32 value) {
    dockColour_ = value;
    update();
}

void TForm1::setEditorColour(qint32 value) {
    QPalette pal = RichEdit1->palette();
    pal.setColor(QPalette::Base, colourvalue::toColor(value));
    RichEdit1->setPalette(pal);
    RichEdit1->setProperty(kColourValue, value);
}

void TForm1::buildLayout() {
    menus = std::make_unique<MainMenus>(this);

    ToolBar1 = new QToolBar(QStringLiteral("Menu"), this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAccessibleName(QStringLiteral("Menu bar"));
    ToolBar1->setMovable(true);
    ToolBar1->setAllowedAreas(Qt::TopToolBarArea);
    ToolBar1->setFloatable(false);
    for (QMenu* m : menus->inBarOrder()) {
        auto* b = new QToolButton(ToolBar1);
        b->setText(m->title());  // "&File" gives Alt+F
        b->setMenu(m);
        b->setPopupMode(QToolButton::InstantPopup);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        b->setAccessibleName(m->accessibleName());
        b->setObjectName(m == menus->View1 ? QStringLiteral("ToolButton7") : QStringLiteral("menuButton_") + m->objectName());
        // The menus draw their own arrow-less look.
        b->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
        ToolBar1->addWidget(b);
        if (m == menus->View1) ToolButton7 = b;
    }
    ToolButton7->setMouseTracking(true);
    ToolButton7->installEventFilter(this);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);

    buildEditBar();
    buildNavigatorBar();
    addToolBarBreak(Qt::TopToolBarArea);
    buildFormatBar();

    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ruler = new Ruler(central);
    layout->addWidget(ruler);
    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setAccessibleName(QStringLiteral("Tree and editor divider"));
    Splitter1->setHandleWidth(4);
    Splitter1->setOpaqueResize(false);
    Splitter1->setChildrenCollapsible(false);
    TreeView1 = new QTreeWidget(Splitter1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    // Day keys are never cut short: a narrow tree scrolls sideways instead.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->setAccessibleName(QStringLiteral("Diaries by year, month and day"));
    RichEdit1->setParent(Splitter1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("Diary text"));
    RichEdit1->setTabChangesFocus(false);
    Splitter1->addWidget(TreeView1);
    Splitter1->addWidget(RichEdit1);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({113, 451});
    layout->addWidget(Splitter1);
    setCentralWidget(central);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });

    StatusBar1 = new StatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setAccessibleName(QStringLiteral("Status bar"));
    setStatusBar(StatusBar1);
    Panel1 = StatusBar1;

    connectCommand(menus->Savediary1, [this] { Savediary1Click(); });
    connectCommand(menus->Deletecurrentdiary1, [this] { Deletecurrentdiary1Click(); });
    connectCommand(menus->Exit1, [this] { Exit1Click(); });
    connectCommand(menus->N32, [this] { N32Click(); });
    connectCommand(menus->Editbar1, [this] { Editbar1Click(); });
    connectCommand(menus->Navigatorbar1, [this] { Navigatorbar1Click(); });
    connectCommand(menus->Formatbar1, [this] { Formatbar1Click(); });
    connectCommand(menus->Ruler1, [this] { Ruler1Click(); });
    connectCommand(menus->N15, [this] { N15Click(); });

    // The colours a new daybook is made with, until a login brings its own.
    using namespace colourvalue;
    setPartColour(ToolBar1, systemColour(InfoBackground));
    setDockColour(systemColour(InfoBackground));
    for (QToolBar* bar : {ToolBar2, ToolBar3, ToolBar4}) setPartColour(bar, systemColour(InfoBackground));
    setPartColour(StatusBar1, systemColour(InfoBackground));
    setEditorColour(white);
}

QToolBar* TForm1::dockableBar(const char* name, const QString& caption, const QString& accessibleName) {
    auto* bar = new QToolBar(caption, this);
    bar->setObjectName(QLatin1String(name));
    bar->setAccessibleName(accessibleName);
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    bar->setIconSize(QSize(16, 16));
    bar->installEventFilter(this);
    connect(bar, &QToolBar::topLevelChanged, this, [this, bar] { floatingChanged(bar); });
    addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

void TForm1::buildEditBar() {
    ToolBar2 = dockableBar("ToolBar2", QStringLiteral("Edit"), QStringLiteral("Edit bar"));
    const auto theme = [](const char* name) { return QIcon::fromTheme(QLatin1String(name)); };
    ToolButton3 = barButton(ToolBar2, "ToolButton3", QStringLiteral("Cut"), QStringLiteral("Cut"), theme("edit-cut"));
    ToolButton11 = barButton(ToolBar2, "ToolButton11", QStringLiteral("Copy"), QStringLiteral("Copy"), theme("edit-copy"));
    ToolButton12 = barButton(ToolBar2, "ToolButton12", QStringLiteral("Paste"), QStringLiteral("Paste"), theme("edit-paste"));
    ToolButton13 = barButton(ToolBar2, "ToolButton13", QStringLiteral("Undo"), QStringLiteral("Undo"), theme("edit-undo"));
    ToolButton14 = barButton(ToolBar2, "ToolButton14", QStringLiteral("Redo"), QStringLiteral("Redo"), theme("edit-redo"));
    ToolBar2->addSeparator();
    ToolButton17 = barButton(ToolBar2, "ToolButton17", QStringLiteral("Search"), QStringLiteral("Search"), theme("edit-find"));
    for (QToolButton* b : {ToolButton3, ToolButton11, ToolButton13, ToolButton14, ToolButton17}) b->setEnabled(false);
}

void TForm1::buildNavigatorBar() {
    ToolBar3 = dockableBar("ToolBar3", QStringLiteral("Navigator"), QStringLiteral("Navigator bar"));
    QStyle* st = style();
    ToolButton8 = barButton(ToolBar3, "ToolButton8", QStringLiteral("The first diary"), {},
                            st->standardIcon(QStyle::SP_MediaSkipBackward));
    ToolButton4 = barButton(ToolBar3, "ToolButton4", QStringLiteral("Previous diary"), {},
                            st->standardIcon(QStyle::SP_MediaSeekBackward));
    ToolButton9 = barButton(ToolBar3, "ToolButton9", QStringLiteral("Next diary"), {},
                            st->standardIcon(QStyle::SP_MediaSeekForward));
    ToolButton10 = barButton(ToolBar3, "ToolButton10", QStringLiteral("The last diary"), {},
                             st->standardIcon(QStyle::SP_MediaSkipForward));
    connect(ToolButton8, &QToolButton::clicked, this, [this] { ToolButton8Click(); });
    connect(ToolButton4, &QToolButton::clicked, this, [this] { ToolButton4Click(); });
    connect(ToolButton9, &QToolButton::clicked, this, [this] { ToolButton9Click(); });
    connect(ToolButton10, &QToolButton::clicked, this, [this] { ToolButton10Click(); });
    ToolBar3->addSeparator();
    ComboBox3 = new DateDropDown(ToolBar3);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setFixedWidth(19);
    ComboBox3->setToolTip(QStringLiteral("Navigate according to date"));
    ComboBox3->setAccessibleName(QStringLiteral("Pick a date"));
    ToolBar3->addWidget(ComboBox3);
    connect(ComboBox3, &DateDropDown::dropDown, this, [this] { ComboBox3DropDown(CalendarRequester::DropDown); });
}

void TForm1::buildFormatBar() {
    ToolBar4 = dockableBar("ToolBar4", QStringLiteral("Style"), QStringLiteral("Format bar"));
    const auto styled = [](QToolButton* b, auto apply) {
        QFont f = b->font();
        apply(f);
        b->setFont(f);
    };
    ToolButton15 = barButton(ToolBar4, "ToolButton15", QStringLiteral("Bold"), QStringLiteral("B"), {}, true);
    styled(ToolButton15, [](QFont& f) { f.setBold(true); });
    ToolButton16 = barButton(ToolBar4, "ToolButton16", QStringLiteral("Italic"), QStringLiteral("I"), {}, true);
    styled(ToolButton16, [](QFont& f) { f.setItalic(true); });
    ToolButton18 = barButton(ToolBar4, "ToolButton18", QStringLiteral("Underline"), QStringLiteral("U"), {}, true);
    styled(ToolButton18, [](QFont& f) { f.setUnderline(true); });
    ToolBar4->addSeparator();
    const auto theme = [](const char* name) { return QIcon::fromTheme(QLatin1String(name)); };
    ToolButton21 = barButton(ToolBar4, "ToolButton21", QStringLiteral("Left"), QStringLiteral("Left"),
                             theme("format-justify-left"), true);
    ToolButton22 = barButton(ToolBar4, "ToolButton22", QStringLiteral("Center"), QStringLiteral("Center"),
                             theme("format-justify-center"), true);
    ToolButton23 = barButton(ToolBar4, "ToolButton23", QStringLiteral("Right"), QStringLiteral("Right"),
                             theme("format-justify-right"), true);
    ToolButton29 = barButton(ToolBar4, "ToolButton29", QStringLiteral("Bullet"), QStringLiteral("\u2022"),
                             theme("format-list-unordered"), true);
    ToolButton30 = barButton(ToolBar4, "ToolButton30", QStringLiteral("Font back color"), QStringLiteral("Back"));
    BackgoundMenu = new QMenu(this);
    BackgoundMenu->setObjectName(QStringLiteral("BackgoundMenu"));
    BackgoundMenu->setAccessibleName(QStringLiteral("Font back color"));
    auto* backGroup = new QActionGroup(BackgoundMenu);
    for (const NamedColour& c : backColourList()) {
        QAction* a = BackgoundMenu->addAction(QIcon(swatch(c.colour)), colorname(c.colour));
        a->setCheckable(true);
        a->setData(c.colour);
        backGroup->addAction(a);
    }
    ToolButton30->setMenu(BackgoundMenu);
    ToolButton30->setPopupMode(QToolButton::InstantPopup);
    ToolBar4->addSeparator();
    ToolButton25 = barButton(ToolBar4, "ToolButton25", QStringLiteral("Font"), QStringLiteral("Font"),
                             theme("preferences-desktop-font"));
    ComboBox1 = new QComboBox(ToolBar4);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setFixedWidth(88);
    ComboBox1->setToolTip(QStringLiteral("font "));
    ComboBox1->setAccessibleName(QStringLiteral("Font name"));
    ToolBar4->addWidget(ComboBox1);
    ColorBox1 = new QComboBox(ToolBar4);
    ColorBox1->setObjectName(QStringLiteral("ColorBox1"));
    ColorBox1->setFixedWidth(85);
    ColorBox1->setToolTip(QStringLiteral("font color"));
    ColorBox1->setAccessibleName(QStringLiteral("Font color"));
    for (const NamedColour& c : fontColourList()) ColorBox1->addItem(QIcon(swatch(c.colour)), c.name, c.colour);
    ToolBar4->addWidget(ColorBox1);
    ComboBox2 = new QComboBox(ToolBar4);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setFixedWidth(50);
    ComboBox2->setToolTip(QStringLiteral("Size"));
    ComboBox2->setAccessibleName(QStringLiteral("Font size"));
    ToolBar4->addWidget(ComboBox2);
}

void TForm1::buildActionList() {
    const struct {
        const char* name;
        QKeySequence key;
        QAction* item;
        std::function<void()> command;
    } rows[] = {
        {"Action2", QKeySequence(Qt::CTRL | Qt::Key_P), menus->N26, [this] { N26Click(); }},
        {"Action3", QKeySequence(Qt::CTRL | Qt::Key_N), menus->N27, [this] { N27Click(); }},
        {"Action4", QKeySequence(Qt::CTRL | Qt::Key_L), menus->N28, [this] { N28Click(); }},
        {"Action11", QKeySequence(Qt::CTRL | Qt::Key_B), menus->N25, [this] { N25Click(); }},
        {"Action23", QKeySequence(Qt::Key_F4), menus->Editbar1, [this] { Editbar1Click(); }},
        {"Action24", QKeySequence(Qt::Key_F5), menus->Navigatorbar1, [this] { Navigatorbar1Click(); }},
        {"Action25", QKeySequence(Qt::Key_F6), menus->Formatbar1, [this] { Formatbar1Click(); }},
        {"Action26", QKeySequence(Qt::Key_F7), menus->Ruler1, [this] { Ruler1Click(); }},
        {"Action27", QKeySequence(Qt::Key_F8), menus->N15, [this] { N15Click(); }},
        // Ctrl+S saves without clearing the modified flag, unlike File > Save.
        {"Action31", QKeySequence(Qt::CTRL | Qt::Key_S), menus->Savediary1, [this] { guarded([this] { write(); }); }},
        {"Action32", QKeySequence(Qt::CTRL | Qt::Key_Q), menus->Exit1, [this] { Exit1Click(); }},
    };
    for (const auto& r : rows) ActionList11.add(r.name, r.key, r.item, r.command);
}

void TForm1::Editbar1Click() { ToolBar2->setVisible(menus->Editbar1->isChecked()); }
void TForm1::Navigatorbar1Click() { ToolBar3->setVisible(menus->Navigatorbar1->isChecked()); }
void TForm1::Formatbar1Click() { ToolBar4->setVisible(menus->Formatbar1->isChecked()); }
void TForm1::Ruler1Click() { ruler->setVisible(menus->Ruler1->isChecked()); }
void TForm1::N15Click() { Panel1->setVisible(menus->N15->isChecked()); }

void TForm1::ToolButton7MouseMove() {
    // A floating bar's own close button hides it behind the menu's back.
    menus->Editbar1->setChecked(!ToolBar2->isHidden());
    menus->Navigatorbar1->setChecked(!ToolBar3->isHidden());
    menus->Formatbar1->setChecked(!ToolBar4->isHidden());
}

void TForm1::recordDock(QToolBar* bar, qint32& host, qint32& x, qint32& y) {
    const bardocking::Placement p = bardocking::placementOf(*this, *bar);
    if (p.host == 0) return;
    host = p.host;
    x = p.pos.x();
    y = p.pos.y();
}

void TForm1::floatingChanged(QToolBar* bar) {
    // A floating bar has no title bar of its own: it gets a close button.
    const QString name = QStringLiteral("closeFloating_") + bar->objectName();
    QAction* close = bar->findChild<QAction*>(name);
    if (!close) {
        close = new QAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QStringLiteral("Close"), bar);
        close->setObjectName(name);
        close->setToolTip(QStringLiteral("Close the ") + bar->accessibleName());
        connect(close, &QAction::triggered, bar, &QWidget::hide);
        bar->addAction(close);
    }
    close->setVisible(bar->isFloating());
    if (bar->isFloating()) bar->resize(bar->sizeHint());
}

void TForm1::takeBarPlacements() {
    auto& st = settings.state;
    const bardocking::Placement menuBar = bardocking::placementOf(*this, *ToolBar1);
    st.bar1x = menuBar.pos.x();
    st.bar1y = menuBar.pos.y();
    const struct {
        QToolBar* bar;
        qint32 *host, *x, *y;
    } bars[] = {{ToolBar2, &st.htoolbar2, &st.bar2x, &st.bar2y},
                {ToolBar3, &st.htoolbar3, &st.bar3x, &st.bar3y},
                {ToolBar4, &st.htoolbar4, &st.bar4x, &st.bar4y}};
    for (const auto& b : bars) {
        const bardocking::Placement p = bardocking::placementOf(*this, *b.bar);
        // A floating bar keeps what was recorded when it was last dropped.
        if (p.host != bardocking::TopDock && p.host != bardocking::BottomDock) continue;
        *b.host = p.host;
        *b.x = p.pos.x();
        *b.y = p.pos.y();
    }
}

void TForm1::writeShutdownSettings() {
    takeBarPlacements();
    settings.View.bar1 = !ToolBar2->isHidden();
    settings.View.bar2 = !ToolBar3->isHidden();
    settings.View.bar3 = !ToolBar4->isHidden();
    settings.View.ruler = !ruler->isHidden();
    settings.View.sta = !Panel1->isHidden();
    IniFile ini(daybookFiles().ini);
    writeShutdown(ini, settings, menus->ypebeep1->isChecked());
    FormPlacement1.save(*this);
}

void TForm1::PlaceMarkers() {
    // The ruler's zero sits at the editor's text edge.
    const QPoint edge = RichEdit1->viewport()->mapTo(this, QPoint(int(RichEdit1->document()->documentMargin()), 0));
    ruler->setOrigin(edge.x() - ruler->mapTo(this, QPoint(0, 0)).x());
}

void TForm1::FormResize() { PlaceMarkers(); }

void TForm1::Splitter1Moved() { PlaceMarkers(); }

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // After the layout has followed the new size.
    QTimer::singleShot(0, this, [this] { FormResize(); });
}

void TForm1::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    QPainter p(this);
    const QColor c = colourvalue::toColor(dockColour_);
    p.fillRect(bardocking::dockRect(*this, bardocking::TopDock), c);
    p.fillRect(bardocking::dockRect(*this, bardocking::BottomDock), c);
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    // The top dock offers the tree's menu.
    if (bardocking::dockRect(*this, bardocking::TopDock).contains(event->pos())) {
        PopupMenu2->popup(event->globalPos());
        event->accept();
        return;
    }
    event->ignore();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ToolButton7 && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)) {
        ToolButton7MouseMove();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // A drag of a bar ends with the release; Qt places the bar first.
        if (watched == ToolBar2) QTimer::singleShot(0, this, [this] { ToolBar2EndDock(); });
        else if (watched == ToolBar3) QTimer::singleShot(0, this, [this] { ToolBar3EndDock(); });
        else if (watched == ToolBar4) QTimer::singleShot(0, this, [this] { ToolBar4EndDock(); });
    }
    return QMainWindow::eventFilter(watched, event);
}
