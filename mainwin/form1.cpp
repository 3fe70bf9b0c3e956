#include "mainwin/form1.h"

#include "editor/richedit.h"
#include "login/form2.h"
#include "login/form3.h"
#include "mainwin/diarytree.h"
#include "mainwin/statuspanels.h"
#include "platform/appdirs.h"
#include "platform/clock.h"
#include "platform/localeformat.h"
#include "platform/prompter.h"
#include "platform/windowplacement.h"
#include "store/engineerror.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TForm1* Form1 = nullptr;

void showError(QWidget* parent, const std::exception& e) {
    if (const auto* engine = dynamic_cast<const EngineError*>(&e))
        Prompter::instance().message(parent, engine->message(), Prompter::Icon::Error);
    else
        Prompter::instance().message(parent, QString::fromUtf8(e.what()), Prompter::Icon::Error);
}

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), RichEdit1(new RichEdit), entries(*RichEdit1, settings, *this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Scrivlet"));
    setAccessibleName(QStringLiteral("Scrivlet"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    resize(568, 381);
    setMinimumSize(480, 232);
    AppDir = appdirs::programDir();
    DataDir = appdirs::dataDir();
    buildLayout();
    buildTreeAndNavigation();
    listfonts();
    for (int size = 8; size <= 72; ++size) ComboBox2->addItem(QString::number(size));
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    makeTable1();
    windowplacement::centreOnScreen(this);
    // Nothing takes input until a login succeeds.
    setEnabled(false);
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
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
        b->setText(m->title());
        b->setMenu(m);
        b->setPopupMode(QToolButton::InstantPopup);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAccessibleName(m->accessibleName());
        b->setObjectName(QStringLiteral("menuButton_") + m->objectName());
        ToolBar1->addWidget(b);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolBar4 = new QToolBar(QStringLiteral("Style"), this);
    ToolBar4->setObjectName(QStringLiteral("ToolBar4"));
    ToolBar4->setAccessibleName(QStringLiteral("Format bar"));
    ComboBox1 = new QComboBox(ToolBar4);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setFixedWidth(88);
    ComboBox1->setToolTip(QStringLiteral("font "));
    ComboBox1->setAccessibleName(QStringLiteral("Font name"));
    ComboBox2 = new QComboBox(ToolBar4);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setFixedWidth(50);
    ComboBox2->setToolTip(QStringLiteral("Size"));
    ComboBox2->setAccessibleName(QStringLiteral("Font size"));
    ToolBar4->addWidget(ComboBox1);
    ToolBar4->addWidget(ComboBox2);
    addToolBar(Qt::TopToolBarArea, ToolBar4);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(4);
    Splitter1->setOpaqueResize(false);
    TreeView1 = new QTreeWidget(Splitter1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
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

    StatusBar1 = new StatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    connect(menus->Savediary1, &QAction::triggered, this, [this] { Savediary1Click(); });
    connect(menus->Deletecurrentdiary1, &QAction::triggered, this, [this] { Deletecurrentdiary1Click(); });
    connect(menus->Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(menus->N32, &QAction::triggered, this, [this] { N32Click(); });
    // Key short-cuts belong to the window, so they work wherever its focus is.
    auto* saveKey = new QAction(this);
    saveKey->setObjectName(QStringLiteral("Action31"));
    saveKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveKey, &QAction::triggered, this, [this] { guarded([this] { write(); }); });
    auto* quitKey = new QAction(this);
    quitKey->setObjectName(QStringLiteral("Action32"));
    quitKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitKey, &QAction::triggered, this, [this] { Exit1Click(); });
    addActions({saveKey, quitKey});
}

void TForm1::listfonts() {
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ComboBox1->addItems(families);
}

void TForm1::makeTable1() {
    Table1 = std::make_unique<DiaryTable>();
    Table1->beforeDelete = [this] { return Table1BeforeDelete(); };
    entries.attach(Table1.get());
}

void TForm1::closeTable1() {
    if (Table2 && Table2->active()) Table2->close();
    entries.attach(nullptr);
    Table1.reset();
}

bool TForm1::searchdate(const QString& key) {
    return Table1->locate(QStringLiteral("mydate"), key);
}

void TForm1::refreshStatusLine() {
    if (!Table1 || !Table1->active()) return;
    StatusBar1->setPanelText(3, QStringLiteral("Diary No.%1 ( %2 )    Total:%3")
                                    .arg(Table1->recNo())
                                    .arg(entries.currentKey)
                                    .arg(Table1->recordCount()));
}

void TForm1::fontBoxesFromCaret() {
    ComboBox1->setEditText(RichEdit1->selFontName());
    const int size = RichEdit1->selFontSize();
    ComboBox2->setCurrentIndex(size >= 8 && size <= 72 ? size - 8 : -1);
}

void TForm1::fontBoxesFromDefault() {
    ComboBox1->setEditText(RichEdit1->defaultFontName());
    const int size = RichEdit1->defaultFontSize();
    ComboBox2->setCurrentIndex(size >= 8 && size <= 72 ? size - 8 : -1);
}

void TForm1::setDeleteEnabled(bool enabled) { menus->Deletecurrentdiary1->setEnabled(enabled); }

void TForm1::setCaretPanel(const QString& text) { StatusBar1->setPanelText(0, text); }

void TForm1::collapseTree() { tree->collapseAll(); }

void TForm1::focusEditor() { RichEdit1->setFocus(); }

void TForm1::removeSelectedDayNode() {
    if (QTreeWidgetItem* item = TreeView1->currentItem()) delete item;
}

void TForm1::Savediary1Click() {
    guarded([this] { entries.saveCommand(); });
}

void TForm1::Deletecurrentdiary1Click() {
    guarded([this] { entries.deleteCurrent(); });
}

void TForm1::Exit1Click() { close(); }

void TForm1::N32Click() {
    setEnabled(false);
    auto* w = new TForm3(this);
    windowplacement::showOver(w, this);
}

void TForm1::Timer1Timer() {
    const QDateTime now = Clock::instance().now();
    StatusBar1->setPanelText(2, localefmt::shortDate(now.date()) + QStringLiteral("  ") +
                                    localefmt::longTime(now.time()));
}

void TForm1::FormClose(QCloseEvent* event) {
    // With no daybook open there is nothing to save; the login window ends the program.
    if (currentUser.isEmpty() || !Table1) {
        event->ignore();
        return;
    }
    try {
        write();
    } catch (const std::exception& e) {
        // A failed save keeps the window (and the text) open.
        showError(this, e);
        event->ignore();
        return;
    }
    hide();
    if (settings.General.autocreatb) {
        // A damaged daybook must not replace the good backup it may still need.
        if (Table1->tableFile()->filesAreSound())
            daybook::backup(daybookFiles());
        else
            Prompter::instance().message(this, QStringLiteral(
                "The daybook's files failed their check, so the last backup was kept as it was."),
                Prompter::Icon::Warning);
    }
    closeTable1();
    event->accept();
    QCoreApplication::exit(0);
}
