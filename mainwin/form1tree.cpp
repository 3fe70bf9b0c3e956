// The main window's diary tree, its popup menu, and the moves through the table.
#include "mainwin/diarytree.h"
#include "mainwin/form1.h"
#include "mainwin/statuspanels.h"
#include "editor/richedit.h"
#include "platform/prompter.h"
#include "store/diarytable.h"

#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>

void TForm1::buildTreeAndNavigation() {
    Table2 = std::make_unique<DiaryTable>();
    tree = std::make_unique<DiaryTree>(*TreeView1);
    // The images of years, months and days.
    tree->setImages(style()->standardIcon(QStyle::SP_DirIcon), style()->standardIcon(QStyle::SP_DirOpenIcon),
                    style()->standardIcon(QStyle::SP_FileIcon));
    TreeView1->setToolTip(QString());
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1DblClick(); });
    // Enter on a day opens it, as a double click does.
    connect(TreeView1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem*, int) {
        if (!tree->selectedDayKey().isEmpty()) TreeView1DblClick();
    });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->setAccessibleName(QStringLiteral("Diary tree"));
    auto item = [this](const char* name, const QString& caption, void (TForm1::*handler)()) {
        QAction* a = PopupMenu2->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    Open1 = item("Open1", QStringLiteral("Open"), &TForm1::Open1Click);
    rrrr1 = item("rrrr1", QStringLiteral("Add diary"), &TForm1::rrrr1Click);
    Deletediary1 = item("Deletediary1", QStringLiteral("Delete diary"), &TForm1::Deletediary1Click);
    PopupMenu2->addSeparator();
    Expandall1 = item("Expandall1", QStringLiteral("Expand all"), &TForm1::Expandall1Click);
    Collasped1 = item("Collasped1", QStringLiteral("Collapse all"), &TForm1::Collasped1Click);
    connect(PopupMenu2, &QMenu::aboutToShow, this, [this] { PopupMenu2Popup(); });
    // A right click does not select: the menu acts on the node selected before.
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu2->popup(TreeView1->viewport()->mapToGlobal(p)); });

    connectCommand(menus->N25, [this] { N25Click(); });
    connectCommand(menus->N26, [this] { N26Click(); });
    connectCommand(menus->N27, [this] { N27Click(); });
    connectCommand(menus->N28, [this] { N28Click(); });
    connectCommand(menus->Navigatetree1, [this] { Navigatetree1Click(); });
    connectCommand(menus->N30, [this] { ComboBox3DropDown(CalendarRequester::NavigateMenu); });
    connectCommand(menus->Add1, [this] { ComboBox3DropDown(CalendarRequester::Manage); });
    TreeView1->setMinimumWidth(1);
}

void TForm1::buildtree() {
    guarded([this] { tree->buildtree(*Table2, Table1->databaseName(), Table1->tableName()); });
}

void TForm1::TreeView1DblClick() {
    const QString key = tree->selectedDayKey();
    if (key.isEmpty()) return;
    guarded([&] {
        addchange(key);
        refreshStatusLine();
    });
}

void TForm1::PopupMenu2Popup() {
    const bool day = !tree->selectedDayKey().isEmpty();
    Open1->setEnabled(day);
    Deletediary1->setEnabled(day);
    rrrr1->setEnabled(true);
    Expandall1->setEnabled(true);
    Collasped1->setEnabled(true);
}

void TForm1::rrrr1Click() { ComboBox3DropDown(CalendarRequester::AddDiary); }

void TForm1::Deletediary1Click() {
    const QString key = tree->selectedDayKey();
    if (key.isEmpty() || !Table1) return;
    guarded([&] {
        if (!Table1->active()) Table1->open();
        DiaryTable temporary;
        temporary.setDatabaseName(Table1->databaseName());
        temporary.setTableName(Table1->tableName());
        temporary.open();
        if (!temporary.locate(QStringLiteral("mydate"), key)) return;
        // The shown diary: its own deletion, which also removes the node.
        if (!entries.newEntry && temporary.recNo() == Table1->recNo()) {
            temporary.close();
            entries.deleteCurrent(true);
            return;
        }
        if (temporary.recNo() == 1) {
            Prompter::instance().message(this, QStringLiteral("It's your first diary you can't delete it"));
            return;
        }
        if (!Prompter::instance().confirm(this, QStringLiteral("Delete ") + key + QStringLiteral(" Are you sure?")))
            return;
        // Only the gate of the editor's table asks; this cursor deletes as told.
        if (temporary.remove()) {
            tree->removeSelectedNode();
            temporary.flush();
        }
    });
}

void TForm1::Expandall1Click() { tree->expandAll(); }

void TForm1::Collasped1Click() { tree->collapseAll(); }

void TForm1::Navigatetree1Click() {
    QList<int> sizes = Splitter1->sizes();
    if (sizes.size() < 2) return;
    const int total = sizes[0] + sizes[1];
    sizes[0] = sizes[0] > 112 ? 1 : DiaryTree::kShownWidth;
    sizes[1] = total - sizes[0];
    Splitter1->setSizes(sizes);
    PlaceMarkers();
}

void TForm1::navigate(EntryLifecycle::Move m) {
    if (!Table1 || currentUser.isEmpty()) return;
    guarded([&] { entries.move(m); });
}

void TForm1::ComboBox3DropDown(CalendarRequester requester) {
    if (currentUser.isEmpty()) return;
    ::ComboBox3DropDown(requester, entries.currentKey, settings, RichEdit1);
}
