// A process that posts in a loop is killed with SIGKILL at random moments:
// every post it reported is there afterwards and both files are sound.
#include "storefixture.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>
#include <sqlite3.h>

namespace {

QString integrity(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    QString out;
    while (sqlite3_step(st) == SQLITE_ROW) out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

}  // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedWriterLosesNoReportedPost();
};

void TestCrashSafety::killedWriterLosesNoReportedPost() {
    StoreFixture fx;
    QMap<QString, int> appended;  // key -> i
    int lastEdit = -1;
    auto* rng = QRandomGenerator::global();
    for (int round = 0; round < 12; ++round) {
        QProcess child;
        child.start(CRASH_CHILD, {fx.files.folder, "anna.db"});
        QVERIFY(child.waitForStarted());
        QTest::qWait(100 + int(rng->bounded(400)));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        const QStringList lines = QString::fromLatin1(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        for (const QString& l : lines) {
            const QStringList p = l.split(' ');
            if (p[0] == "append") appended.insert(p[2], p[1].toInt());
            else if (p[0] == "edit") lastEdit = p[1].toInt();
        }
        // Opening rolls back any half-done post (through its journals) and checks both files.
        DbSession::instance().resetForTesting();
        DbSession::instance().addPassword(daybook::kTablePassword);
        auto t = fx.table();
        for (auto it = appended.cbegin(); it != appended.cend(); ++it) {
            QVERIFY2(t->locate("mydate", it.key()), qPrintable("lost post " + it.key()));
            if (t->recNo() != 1)
                QVERIFY(t->blobField("myrtf").startsWith("entry " + QByteArray::number(it.value()) + "x"));
        }
        if (lastEdit >= 0) {
            t->first();
            const QByteArray first = t->blobField("myrtf");
            // The last reported edit, or a later one that committed before the kill.
            QVERIFY(first.startsWith("edit "));
            QVERIFY(first.mid(5).toInt() >= lastEdit);
        }
        t->close();
        DbSession::instance().resetForTesting();
        QCOMPARE(integrity(fx.files.db), QString("ok"));
        QCOMPARE(integrity(fx.files.mb), QString("ok"));
    }
    QVERIFY2(appended.size() > 10, "the writer never got going");
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
