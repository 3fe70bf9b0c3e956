// A process that writes in a loop is killed with SIGKILL at random moments:
// every post it reported is there afterwards and both files are sound, and a
// password change leaves exactly one password working, with every diary.
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

// A daybook made as the program makes it, password "p0", and its child.
struct Created : CreatedDaybook {
    Created() : CreatedDaybook(QStringLiteral("p0")) {}
    // Runs the child until a random moment and kills it; its report lines.
    QStringList killedChild(const QString& password, const char* mode, int minMs, int spreadMs) const {
        QProcess child;
        child.start(CRASH_CHILD, {files.folder, "anna.db", "anna", password, mode});
        if (!child.waitForStarted()) return {"not started"};
        QTest::qWait(minMs + int(QRandomGenerator::global()->bounded(spreadMs)));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        return QString::fromLatin1(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    void checkFilesSound() const {
        DbSession::instance().resetForTesting();
        QCOMPARE(integrity(files.db), QString("ok"));
        QCOMPARE(integrity(files.mb), QString("ok"));
    }
};

}  // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedWriterLosesNoReportedPost();
    void killedPasswordChangeLeavesOnePassword();
};

void TestCrashSafety::killedWriterLosesNoReportedPost() {
    Created fx;
    QMap<QString, int> appended;  // key -> i
    int lastEdit = -1;
    for (int round = 0; round < 12; ++round) {
        const QStringList lines = fx.killedChild("p0", "posts", 100, 400);
        for (const QString& l : lines) {
            const QStringList p = l.split(' ');
            if (p[0] == "append") appended.insert(p[2], p[1].toInt());
            else if (p[0] == "edit") lastEdit = p[1].toInt();
        }
        // Opening rolls back any half-done post (through its journals) and checks both files.
        auto t = fx.reopen();
        QVERIFY(ownerkey::unlock(*t, "anna", "p0"));
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
        fx.checkFilesSound();
    }
    QVERIFY2(appended.size() > 10, "the writer never got going");
}

void TestCrashSafety::killedPasswordChangeLeavesOnePassword() {
    Created fx;
    QList<QByteArray> diaries;
    for (int i = 0; i < 5; ++i) diaries << QByteArray("diary ") + QByteArray::number(i) + QByteArray(3000, 'd');
    fx.write("p0", diaries);
    int working = 0;  // the password "p<working>" opens the daybook
    int changes = 0;
    for (int round = 0; round < 15; ++round) {
        const QStringList lines = fx.killedChild(QStringLiteral("p%1").arg(working), "passwords", 40, 300);
        int reported = working;
        for (const QString& l : lines)
            if (l.startsWith("changed p")) reported = l.mid(9).toInt();
        changes += reported - working;
        // The last reported password works, or the next one when its change
        // committed just before the kill; no other password of the run does.
        auto t = fx.reopen();
        int opened = -1, openCount = 0;
        for (int n = working; n <= reported + 1; ++n) {
            if (ownerkey::unlock(*t, "anna", QStringLiteral("p%1").arg(n))) {
                opened = n;
                ++openCount;
            }
        }
        QCOMPARE(openCount, 1);
        QVERIFY2(opened == reported || opened == reported + 1,
                 qPrintable(QStringLiteral("p%1 opens, p%2 was reported").arg(opened).arg(reported)));
        QVERIFY(ownerkey::unlock(*t, "anna", QStringLiteral("p%1").arg(opened)));
        t->first();
        for (int i = 0; i < diaries.size(); ++i, t->next()) QCOMPARE(t->blobField("myrtf"), diaries[i]);
        t->close();
        fx.checkFilesSound();
        working = opened;
    }
    QVERIFY2(changes > 15, "the password was hardly changed");
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
