// The daybook store on a daybook of 20,000 encrypted diaries of about 5 KB
// each: login (with and without the key derivation), locating, counting,
// posting, and what encryption adds to saving and loading, each beside its goal.
//
//   bench_store [folder]     (default: a new folder under the current one)
#include "store/credentials.h"
#include "store/ownerkey.h"
#include "store/sealedcontent.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"
#include "store/templatetables.h"

#include "rtf/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <string>
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

DiaryTable& openTable(DiaryTable& t, const daybook::Files& f) {
    t.setDatabaseName(f.folder);
    t.setTableName(kUser + QStringLiteral(".db"));
    t.open();
    return t;
}

// Saving and loading one entry of `bytes`, stored plain (the yardstick) and
// encrypted, runs interleaved so that both meet the same disk and load.
void encryptionCost(DiaryTable& t, const std::shared_ptr<DataKey>& key, int bytes, int runs, const char* label) {
    TableFile* tf = t.tableFile();
    auto plainCodec = std::make_shared<PlainContent>();
    auto sealedCodec = std::make_shared<SealedContent>(key);
    const QByteArray body = entryRtf(3, bytes);
    const QDate day(1900, 1, 1);
    auto useCodec = [&](bool sealed) { tf->setContentCodec(sealed ? std::shared_ptr<ContentCodec>(sealedCodec) : plainCodec); };
    // One record of each kind to edit and load.
    int recNo[2];
    for (int sealed = 0; sealed < 2; ++sealed) {
        useCodec(sealed);
        t.last();
        t.append();
        t.setFieldByName(QStringLiteral("mydate"), daybook::crealdate(day.addDays(bytes / 1000 + sealed)));
        t.setFieldByName(QStringLiteral("myrtf"), body);
        t.post();
        recNo[sealed] = t.recNo();
    }
    std::vector<double> save[2], load[2], shown[2], crypt[2];
    QTextDocument doc;
    for (int run = 0; run < runs; ++run) {
        for (int sealed = 0; sealed < 2; ++sealed) {
            useCodec(sealed);
            t.moveToRecNo(recNo[sealed]);
            QElapsedTimer timer;
            timer.start();
            t.edit();
            t.setFieldByName(QStringLiteral("myrtf"), body);
            t.setFieldByName(QStringLiteral("mytime"), QStringLiteral("12:00:00"));
            t.post();
            save[sealed].push_back(timer.nsecsElapsed() / 1e6);
            timer.restart();
            const QByteArray back = t.blobField(QStringLiteral("myrtf"));
            load[sealed].push_back(timer.nsecsElapsed() / 1e6);
            if (back.size() != body.size()) std::printf("  (the entry did not read back!)\n");
            // the load as a user meets it: the field read and the diary built for the editor
            timer.restart();
            rtf::read(t.blobField(QStringLiteral("myrtf")), doc);
            shown[sealed].push_back(timer.nsecsElapsed() / 1e6);
        }
        QElapsedTimer timer;
        timer.start();
        const QByteArray sealedBytes = sealedCodec->seal({tf->identity(), 1}, body);
        crypt[0].push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        sealedCodec->open({tf->identity(), 1}, sealedBytes);
        crypt[1].push_back(timer.nsecsElapsed() / 1e6);
    }
    useCodec(true);
    std::printf("\nEncryption on a %s entry (medians of %d, plain and encrypted interleaved):\n", label, runs);
    line("encrypt alone", median(crypt[0]), "ms", "(part of the save)");
    line("decrypt alone", median(crypt[1]), "ms", "(part of the load)");
    const char* names[3] = {"save (edit and post)", "load (read the field)", "load and read the RTF"};
    std::vector<double>* figures[3] = {save, load, shown};
    for (int k = 0; k < 3; ++k) {
        const double plain = median(figures[k][0]), sealed = median(figures[k][1]);
        line((std::string(names[k]) + ", plain").c_str(), plain, "ms", "");
        line((std::string(names[k]) + ", encrypted").c_str(), sealed, "ms", "");
        std::printf("  %-44s %+10.1f %%     goal <= +5 %%\n", "  cost of encryption", (sealed / plain - 1) * 100);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the RTF reader's documents need fonts
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
    // The owner record with the limits the program gives every new daybook.
    const auto owner = credentials::makeConfig(kUser, QStringLiteral("secret"));
    {
        DiaryTable t;
        openTable(t, f);
        t.append();
        t.setFieldByName(QStringLiteral("mycfg"), owner.config);
        t.setFieldByName(QStringLiteral("mydate"), daybook::crealdate(first));
        t.post();
        TableFile* tf = t.tableFile();
        SealedContent codec(owner.key);
        tf->writeTransaction([&] {
            auto ins = tf->connection().prepare("INSERT INTO main.diary(mydate, mytime) VALUES(?1, '10:00:00')");
            auto blob = tf->connection().prepare("INSERT INTO mb.blobs(id, data) VALUES(?1, ?2)");
            for (int i = 1; i < kEntries; ++i) {
                ins.bind(1, daybook::crealdate(first.addDays(i))).run();
                ins.reset();
                blob.bind(1, qint64(i + 1)).bindBlob(2, codec.seal({tf->identity(), i + 1}, entryRtf(i))).run();
                blob.reset();
            }
        });
    }
    std::printf("  table file %.1f MB, blob file %.1f MB\n\n", QFileInfo(f.db).size() / 1e6, QFileInfo(f.mb).size() / 1e6);

    std::printf("Login (open and check both files, unwrap the key, find and decrypt today's diary):\n");
    std::vector<double> logins, kdfs;
    for (int run = 0; run < 9; ++run) {
        DbSession::instance().resetForTesting();
        DbSession::instance().addPassword(daybook::kTablePassword);
        QElapsedTimer timer;
        timer.start();
        DiaryTable t;
        openTable(t, f);
        QElapsedTimer kdf;
        kdf.start();
        const bool opened = ownerkey::unlock(t, kUser, QStringLiteral("secret"));
        kdfs.push_back(kdf.nsecsElapsed() / 1e6);
        const bool found = t.locate(QStringLiteral("mydate"), daybook::crealdate(today));
        const QByteArray rtf = t.blobField(QStringLiteral("myrtf"));
        logins.push_back(timer.nsecsElapsed() / 1e6);
        if (!opened || !found || rtf.isEmpty()) std::printf("  (today's diary was not opened!)\n");
    }
    const auto limits = credentials::programLimits();
    std::printf("  key derivation: Argon2id, %llu passes over %llu MiB\n", static_cast<unsigned long long>(limits.ops),
                static_cast<unsigned long long>(limits.mem >> 20));
    line("key derivation and unwrap (median)", median(kdfs), "ms", "250 to 500 ms");
    line("login in all (median)", median(logins), "ms", "");
    std::vector<double> rest;
    for (size_t i = 0; i < logins.size(); ++i) rest.push_back(logins[i] - kdfs[i]);
    line("login without the key derivation (median)", median(rest), "ms", "<= 50 ms");

    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    DiaryTable t;
    openTable(t, f);
    ownerkey::unlock(t, kUser, QStringLiteral("secret"));

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

    encryptionCost(t, owner.key, 5000, 41, "5 KB");
    encryptionCost(t, owner.key, 5 << 20, 15, "5 MB");
    return 0;
}
