#include "mainwin/form1.h"

#include "editor/richedit.h"
#include "login/form2.h"
#include "login/form3.h"
#include "mainwin/diarytree.h"
#include "mainwin/fontlist.h"
#include "mainwin/menupainter.h"
#include "mainwin/statuspanels.h"
#include "platform/appdirs.h"
#include "platform/clock.h"
#include "platform/inifile.h"
#include "platform/localeformat.h"
#include "platform/prompter.h"
#include "platform/windowplacement.h"
#include "store/engineerror.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QMenu>
#include <QScrollBar>
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
    buildActionList();
    listfonts();
    for (int size = 8; size <= 72; ++size) ComboBox2->addItem(QString::number(size));
    // Made after the menus, so it outlives them when the window goes.
    XPMenu1 = new MenuPainter(this);
    for (QMenu* m : menus->inBarOrder()) XPMenu1->attach(m);
    XPMenu1->attach(PopupMenu2);
    XPMenu1->attach(BackgoundMenu);
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

void TForm1::listfonts() {
    ComboBox1->addItems(fontFamilyChoices(QFontDatabase::families()));
    // The box is narrow on its bar; its list opens wide enough for whole names.
    QAbstractItemView* list = ComboBox1->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() +
                          2 * list->frameWidth() + 4);
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
    try {
        writeShutdownSettings();
    } catch (const IniWriteError& e) {
        // The diary is saved; a settings file that cannot be written must not keep the program open.
        Prompter::instance().message(this, e.text(), Prompter::Icon::Error);
    }
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
