// The daybook store on a daybook of 20,000 diaries of about 5 KB each:
// login, locating, counting, and posting, each beside its goal.
//
//   bench_store [folder]     (default: a new folder under the current one)
#include "store/credentials.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"
#include "store/templatetables.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kEntries = 20000;
const QString kUser = QStringLiteral("bench");

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A diary entry as the editor writes it: an RTF header and paragraphs of words.
QByteArray entryRtf(int i, int bytes = 5000) {
    static const char* words[] = {"today", "we", "walked", "along", "the", "river", "and", "talked", "about",
                                  "summer", "plans", "rain", "garden", "letter", "mother", "coffee", "train"};
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                     "{\\colortbl ;\\red0\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\f0\\fs28 ";
    quint32 x = quint32(i) * 2654435761u + 1;
    while (out.size() < bytes) {
        x = x * 1664525u + 1013904223u;
        out += words[x % (sizeof words / sizeof *words)];
        out += (x >> 16) % 11 == 0 ? "\\par\r\n" : " ";
    }
    return out + "\\par\r\n}";
}

void line(const char* what, double value, const char* unit, const char* goal) {
    std::printf("  %-44s %10.3f %-4s  goal %s\n", what, value, unit, goal);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
    QDir().mkpath(base);
    const daybook::Files f = daybook::filesFor(base, kUser);
    QDir().mkpath(f.folder);
    createTemplateTables(f.db, f.mb, daybook::kTablePassword);
    DbSession::instance().addPassword(daybook::kTablePassword);

    std::printf("Generating a daybook of %d diaries of about 5 KB...\n", kEntries);
    const QDate first(1970, 1, 1);
    const QDate today = first.addDays(kEntries - 1);
    {
        DiaryTable t;
        t.setDatabaseName(f.folder);
        t.setTableName(kUser + QStringLiteral(".db"));
        t.open();
        t.append();
        t.setFieldByName(QStringLiteral("mycfg"), credentials::makeConfig(kUser, QStringLiteral("secret")));
        t.setFieldByName(QStringLiteral("mydate"), daybook::crealdate(first));
        t.post();
        TableFile* tf = t.tableFile();
        tf->writeTransaction([&] {
            auto ins = tf->connection().prepare("INSERT INTO main.diary(mydate, mytime) VALUES(?1, '10:00:00')");
            auto blob = tf->connection().prepare("INSERT INTO mb.blobs(id, data) VALUES(?1, ?2)");
            for (int i = 1; i < kEntries; ++i) {
                ins.bind(1, daybook::crealdate(first.addDays(i))).run();
                ins.reset();
                blob.bind(1, qint64(i + 1)).bindBlob(2, entryRtf(i)).run();
                blob.reset();
            }
        });
    }
    std::printf("  table file %.1f MB, blob file %.1f MB\n\n", QFileInfo(f.db).size() / 1e6, QFileInfo(f.mb).size() / 1e6);

    std::printf("Login (open and check both files, read the owner record, find today):\n");
    std::vector<double> logins;
    for (int run = 0; run < 15; ++run) {
        DbSession::instance().resetForTesting();
        DbSession::instance().addPassword(daybook::kTablePassword);
        QElapsedTimer timer;
        timer.start();
        DiaryTable t;
        t.setDatabaseName(f.folder);
        t.setTableName(kUser + QStringLiteral(".db"));
        t.open();
        const QString cfg = t.stringField(QStringLiteral("mycfg"));
        const bool found = t.locate(QStringLiteral("mydate"), daybook::crealdate(today));
        const QByteArray rtf = t.blobField(QStringLiteral("myrtf"));
        logins.push_back(timer.nsecsElapsed() / 1e6);
        if (!found || cfg.isEmpty() || rtf.isEmpty()) std::printf("  (today's diary was not found!)\n");
    }
    line("login without the password hash (median)", median(logins), "ms", "<= 50 ms");
    std::vector<double> hashes;
    {
        const QString cfg = credentials::makeConfig(kUser, QStringLiteral("secret"));
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            credentials::checkConfig(cfg, kUser, QStringLiteral("secret"));
            hashes.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    line("password hash check (median)", median(hashes), "ms", "(reported apart)");

    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    DiaryTable t;
    t.setDatabaseName(f.folder);
    t.setTableName(kUser + QStringLiteral(".db"));
    t.open();

    std::printf("\nLocating and counting (means over many calls):\n");
    {
        auto* rng = QRandomGenerator::global();
        QStringList keys;
        for (int i = 0; i < 1000; ++i) keys << daybook::crealdate(first.addDays(int(rng->bounded(kEntries + 500))));
        QElapsedTimer timer;
        timer.start();
        int found = 0;
        const int calls = 100000;
        for (int i = 0; i < calls; ++i) found += t.locate(QStringLiteral("mydate"), keys[i % keys.size()]);
        line("locate by date", timer.nsecsElapsed() / 1e6 / calls, "ms", "<= 0.1 ms");
        timer.restart();
        qint64 sum = 0;
        for (int i = 0; i < calls; ++i) {
            t.locate(QStringLiteral("mydate"), keys[i % keys.size()]);
            sum += t.recNo();
        }
        const double locateAndRecNo = timer.nsecsElapsed() / 1e6 / calls;
        line("locate + record number", locateAndRecNo, "ms", "<= 0.1 ms");
        timer.restart();
        for (int i = 0; i < calls; ++i) sum += t.recordCount();
        line("record count", timer.nsecsElapsed() / 1e6 / calls, "ms", "<= 0.1 ms");
        if (sum == 42) std::printf("%d\n", found);
    }

    std::printf("\nPosting a 5 KB diary (medians of 40):\n");
    const QByteArray body = entryRtf(7);
    std::vector<double> appends, edits, plain;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer timer;
        timer.start();
        t.last();
        t.append();
        t.setFieldByName(QStringLiteral("mydate"), daybook::crealdate(today.addDays(i + 1)));
        t.setFieldByName(QStringLiteral("mytime"), QStringLiteral("10:00:00"));
        t.setFieldByName(QStringLiteral("myrtf"), body);
        t.post();
        appends.push_back(timer.nsecsElapsed() / 1e6);
    }
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer timer;
        timer.start();
        t.locate(QStringLiteral("mydate"), daybook::crealdate(first.addDays(1000 + i * 37)));
        t.edit();
        t.setFieldByName(QStringLiteral("myrtf"), body);
        t.setFieldByName(QStringLiteral("mytime"), QStringLiteral("11:00:00"));
        t.post();
        edits.push_back(timer.nsecsElapsed() / 1e6);
    }
    const QByteArray plainPath = QFile::encodeName(f.dir + QStringLiteral("plain.bin"));
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer timer;
        timer.start();
        const int fd = ::open(plainPath.constData(), O_WRONLY | O_CREAT, 0600);
        if (::pwrite(fd, body.constData(), size_t(body.size()), 0) != body.size()) std::printf("short write\n");
        ::fsync(fd);
        ::close(fd);
        plain.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double p = median(plain);
    line("write + fsync of the same bytes to a plain file", p, "ms", "(the yardstick)");
    line("append and post", median(appends), "ms", "");
    std::printf("  %-44s %10.1f x     goal <= 15 x\n", "  ratio to the plain file", median(appends) / p);
    line("edit and post", median(edits), "ms", "");
    std::printf("  %-44s %10.1f x     goal <= 15 x\n", "  ratio to the plain file", median(edits) / p);
    return 0;
}
