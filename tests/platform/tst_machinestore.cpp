// The machine store: key paths as sections, a missing key or value, failed writes.
#include "platform/machinestore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kKey = QStringLiteral("SOFTWARE\\VKR77\\lastname");
const QString kValue = QStringLiteral("Lastname");
}  // namespace

class TestMachineStore : public QObject {
    Q_OBJECT
private slots:
    void keysAndValues();
    void failedWritesReportFalse();
};

void TestMachineStore::keysAndValues() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("machine.ini"));
    MachineStore store(path);
    QVERIFY(!store.keyExists(kKey));
    QCOMPARE(store.readString(kKey, kValue), std::nullopt);

    // A created key exists without values, and creating it again changes nothing.
    QVERIFY(store.createKey(kKey));
    QVERIFY(store.createKey(kKey.toLower()));
    QVERIFY(MachineStore(path).keyExists(kKey.toUpper()));
    QCOMPARE(store.readString(kKey, kValue), std::nullopt);

    QVERIFY(store.writeString(kKey, kValue, QStringLiteral("anna")));
    QVERIFY(store.writeString(QStringLiteral("SOFTWARE\\other"), kValue, QStringLiteral("x")));
    QCOMPARE(MachineStore(path).readString(kKey.toLower(), QStringLiteral("LASTNAME")), QStringLiteral("anna"));
    QVERIFY(store.writeString(kKey, kValue, QString()));
    QCOMPARE(store.readString(kKey, kValue), QString());

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[SOFTWARE\\VKR77\\lastname]\nLastname=\n\n[SOFTWARE\\other]\nLastname=x\n"));
}

void TestMachineStore::failedWritesReportFalse() {
    QTemporaryDir dir;
    MachineStore store(dir.filePath(QStringLiteral("no such folder/machine.ini")));
    QVERIFY(!store.createKey(kKey));
    QVERIFY(!store.writeString(kKey, kValue, QStringLiteral("anna")));
    QVERIFY(!store.keyExists(kKey));
}

QTEST_GUILESS_MAIN(TestMachineStore)
#include "tst_machinestore.moc"
