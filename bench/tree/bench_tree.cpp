// The diary tree and the moves through the table on a daybook of 20,000
// diaries of about 5 KB each, each figure beside its goal.
//
//   bench_tree      (the daybook is made in a new folder under the current one)
#include "editor/richedit.h"
#include "mainwin/diarytree.h"
#include "mainwin/entrylifecycle.h"
#include "platform/securefs.h"
#include "settings/daybooksettings.h"
#include "store/credentials.h"
#include "store/ownerkey.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"
#include "store/templatetables.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kEntries = 20000;
const QString kUser = QStringLiteral("bench");

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QByteArray entryRtf(int i) {
    static const char* words[] = {"morning", "letters", "kitchen", "window", "quiet", "station", "bread",
                                  "autumn", "friend", "walked", "talked", "about", "the", "and", "a"};
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                     "\\viewkind4\\uc1\\pard\\f0\\fs28 ";
    quint32 x = quint32(i) * 2246822519u + 7;
    while (out.size() < 5000) {
        x = x * 1103515245u + 12345u;
        out += words[(x >> 8) % (sizeof words / sizeof *words)];
        out += (x >> 20) % 13 == 0 ? "\\par\r\n" : " ";
    }
    return out + "\\par\r\n}";
}

void line(const char* what, double value, const char* goal) {
    std::printf("  %-52s %8.3f ms  goal %s\n", what, value, goal);
}

struct NoView : EntryLifecycle::View {
    void setDeleteEnabled(bool) override {}
    void setCaretPanel(const QString&) override {}
    void collapseTree() override {}
    void fontBoxesFromCaret() override {}
    void fontBoxesFromDefault() override {}
    void refreshStatusLine() override {}
    void focusEditor() override {}
    void removeSelectedDayNode() override {}
};

// Made through the table object as the program makes it, in memory-backed
// storage so that 20,000 durable posts take seconds, then copied to disk.
void generate(const daybook::Files& f) {
    QTemporaryDir shm(QFileInfo::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/bench-tree-XXXXXX")
                                                               : QDir::current().filePath("gen-XXXXXX"));
    const daybook::Files g = daybook::filesFor(shm.path(), kUser);
    QDir().mkpath(g.folder);
    createTemplateTables(g.db, g.mb, daybook::kTablePassword);
    DbSession::instance().addPassword(daybook::kTablePassword);
    {
        DiaryTable t;
        t.setDatabaseName(g.folder);
        t.setTableName(kUser + QStringLiteral(".db"));
        t.open();
        // Twenty years, a few days skipped, stored mostly in date order with
        // some late entries written afterwards, as real daybooks are.
        QDate day(2006, 1, 1);
        for (int i = 0; i < kEntries; ++i) {
            t.append();
            if (i == 0) t.setFieldByName(QStringLiteral("mycfg"), credentials::makeConfig(kUser, QStringLiteral("pw")).config);
            t.setFieldByName(QStringLiteral("mydate"), daybook::crealdate(i % 97 == 96 ? day.addDays(-40) : day));
            t.setFieldByName(QStringLiteral("mytime"), QStringLiteral("21:30:00"));
            if (i == 0) {
                // the owner record first, as a new daybook is made; its key then seals the diaries
                t.post();
                ownerkey::unlock(t, kUser, QStringLiteral("pw"));
                t.edit();
            }
            t.setFieldByName(QStringLiteral("myrtf"), entryRtf(i));
            t.post();
            day = day.addDays(i % 23 == 0 ? 2 : 1);
        }
    }
    DbSession::instance().resetForTesting();
    QDir().mkpath(f.folder);
    securefs::copyFile(g.db, f.db);
    securefs::copyFile(g.mb, f.mb);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp(QDir::current().filePath(QStringLiteral("bench-tree-XXXXXX")));
    const daybook::Files f = daybook::filesFor(tmp.path(), kUser);
    std::printf("Generating a daybook of %d diaries of about 5 KB...\n", kEntries);
    generate(f);
    DbSession::instance().addPassword(daybook::kTablePassword);

    DiaryTable table1, table2;
    table1.setDatabaseName(f.folder);
    table1.setTableName(kUser + QStringLiteral(".db"));
    table1.open();
    ownerkey::unlock(table1, kUser, QStringLiteral("pw"));
    QTreeWidget view;
    DiaryTree tree(view);

    std::vector<double> builds, expands;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        tree.buildtree(table2, f.folder, kUser + QStringLiteral(".db"));
        builds.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("Tree (%d years):\n", view.topLevelItemCount());
    line("build the year nodes (median)", median(builds), "<= 20 ms");
    for (int run = 0; run < 15; ++run) {
        QTreeWidgetItem* year = view.topLevelItem(run % view.topLevelItemCount());
        QElapsedTimer t;
        t.start();
        year->setExpanded(true);
        expands.push_back(t.nsecsElapsed() / 1e6);
        year->setExpanded(false);
    }
    line("expand a year: months and days (median)", median(expands), "<= 10 ms");

    RichEdit editor;
    DaybookSettings settings;
    NoView noView;
    EntryLifecycle entries(editor, settings, noView);
    entries.attach(&table1);
    table1.moveToRecNo(kEntries / 2);
    entries.showtext();
    std::vector<double> moves;
    for (int run = 0; run < 200; ++run) {
        QElapsedTimer t;
        t.start();
        entries.move(run % 2 ? EntryLifecycle::Move::Prior : EntryLifecycle::Move::Next);
        moves.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("Navigation (%d characters shown):\n", int(editor.toPlainText().size()));
    line("save unchanged, move, load a 5 KB diary (median)", median(moves), "<= 10 ms");
    return 0;
}
