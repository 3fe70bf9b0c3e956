// The daybook's settings file: creation, the login's reading with its
// defaults, and the writers of the options window and the shutdown.
#include "settings/settingsfile.h"

#include "settings/colourvalue.h"
#include "settings/settingskeys.h"
#include "tests/support/fakeclock.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// "Section/key" of every key line of a file, in file order.
QStringList keyOrder(const QString& path) {
    QStringList out;
    QString section;
    for (const QByteArray& raw : fileBytes(path).split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1Char('['))) section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        else if (line.contains(QLatin1Char('='))) out << section + QLatin1Char('/') + line.section(QLatin1Char('='), 0, 0);
    }
    return out;
}

QString fieldText(const QString& section, const QString& key, const DaybookSettings& s) {
    return settingskeys::storedText(settingskeys::find(section, key), s);
}

// Every field of a and b that differs, as "Section/key".
QStringList differences(const DaybookSettings& a, const DaybookSettings& b) {
    QStringList out;
    for (const settingskeys::Key& k : settingskeys::all())
        if (k.field && settingskeys::storedText(k, a) != settingskeys::storedText(k, b))
            out << k.section + QLatin1Char('/') + k.name;
    return out;
}

const BarPositions kBars{QPoint(1, 2), QPoint(30, 4), QPoint(50, 6), QPoint(70, 8)};

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { path = dir.filePath(QStringLiteral("anna.ini")); QFile::remove(path); }

    void creationWritesTheCreatedFile();
    void createdFileReadsBackItsValues();
    void emptyFileReadsTheDefaults();
    void missingKeysAreNotAdded();
    void caseVariantsAndUnreadableValues();
    void writersWriteTheirKeysInOrder_data();
    void writersWriteTheirKeysInOrder();
    void writersReplaceTheCreatedLines();
    void refusedCreation();

private:
    QTemporaryDir dir;
    QString path;
};

void TestSettingsFile::creationWritesTheCreatedFile() {
    FakeClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)));
    QVERIFY(!settingsFileExists(path));
    createSettingsFile(path);
    QVERIFY(settingsFileExists(path));
    QCOMPARE(fileBytes(path), fileBytes(QStringLiteral(SETTINGS_GOLDEN_DIR "created.ini")));
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0600);
}

void TestSettingsFile::createdFileReadsBackItsValues() {
    FakeClock clock(QDateTime(QDate(2024, 3, 5), QTime(23, 59, 1)));
    createSettingsFile(path);
    const DaybookSettings s = readSettings(path, kBars);
    // The created values are the read defaults, except the alarm time and
    // the bar positions, which the file does not hold yet.
    QCOMPARE(differences(s, DaybookSettings()),
             QStringList({"General/timeat", "state/bar1x", "state/bar1y", "state/bar2x", "state/bar2y",
                          "state/bar3x", "state/bar3y", "state/bar4x", "state/bar4y"}));
    QCOMPARE(s.General.timeat, QStringLiteral("23:59:01"));
    QCOMPARE(s.state.bar3x, 50);
    QVERIFY(readTypeBeep(IniFile(path)));

    // What the new-diary template and the editor start from.
    QCOMPARE(s.Editor.Fonn, QStringLiteral("Arial"));
    QCOMPARE(s.Editor.fsize, 14);
    QCOMPARE(s.Color.maincolor, colourvalue::systemColour(colourvalue::InfoBackground));
    QVERIFY(s.General.insdate && s.General.instime && s.General.autocreatb);
    QCOMPARE(s.General.memotext, QString());
}

void TestSettingsFile::emptyFileReadsTheDefaults() {
    putFile(path, QByteArray());
    const DaybookSettings s = readSettings(path, kBars);
    DaybookSettings expected;
    expected.state.bar1x = 1, expected.state.bar1y = 2;
    expected.state.bar2x = 30, expected.state.bar2y = 4;
    expected.state.bar3x = 50, expected.state.bar3y = 6;
    expected.state.bar4x = 70, expected.state.bar4y = 8;
    QCOMPARE(differences(s, expected), QStringList());
    QCOMPARE(s.General.timeat, QString());
    QVERIFY(readTypeBeep(IniFile(path)));
    QCOMPARE(fileBytes(path), QByteArray());
}

void TestSettingsFile::missingKeysAreNotAdded() {
    const QByteArray partial = "[state]\nbar2x=-7\nbar4y=900\nhtoolbar3=3\n";
    putFile(path, partial);
    const DaybookSettings s = readSettings(path, kBars);
    QCOMPARE(s.state.bar2x, -7);
    QCOMPARE(s.state.bar2y, 4);
    QCOMPARE(s.state.bar1x, 1);
    QCOMPARE(s.state.bar4x, 70);
    QCOMPARE(s.state.bar4y, 900);
    QCOMPARE(s.state.htoolbar3, 3);
    QCOMPARE(s.state.htoolbar2, 1);
    QCOMPARE(fileBytes(path), partial);
}

void TestSettingsFile::caseVariantsAndUnreadableValues() {
    putFile(path,
            "[color]\nMENUBARCOLOR=1\nEditBar=2\nnavigatorbar=3\nToolbarback=4\niconbackcolor=5\nmaincolor=red\n"
            "[GENERAL]\nTIMEA=2\nautos=yes\nautostime=ten\ntimeat=08:00:00\n"
            "[view]\nruler=0\nsta=\n");
    const DaybookSettings s = readSettings(path, kBars);
    const DaybookSettings d;
    QCOMPARE(s.Color.menubarcolor, 1);
    QCOMPARE(s.Color.editbar, 2);
    QCOMPARE(s.Color.navigatorbar, 3);
    QCOMPARE(s.Color.toolbarback, 4);
    QCOMPARE(s.Color.Iconbackcolor, 5);
    QCOMPARE(s.Color.maincolor, d.Color.maincolor);
    QCOMPARE(s.General.timeA, true);
    QCOMPARE(s.General.autos, d.General.autos);
    QCOMPARE(s.General.autostime, 15);
    QCOMPARE(s.General.timeat, QStringLiteral("08:00:00"));
    QCOMPARE(s.View.ruler, false);
    QCOMPARE(s.View.sta, true);
}

void TestSettingsFile::writersWriteTheirKeysInOrder_data() {
    QTest::addColumn<int>("writer");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("General tab") << 0
        << QStringList{"General/autos", "General/autostime", "General/autocreatb", "General/timeA",
                       "General/timeat", "General/perhour", "General/insdate", "General/instime"};
    QTest::newRow("memo") << 1 << QStringList{"General/memotext"};
    QTest::newRow("Editor tab") << 2
        << QStringList{"Editor/Fonn", "Editor/fcolor", "Editor/fsize", "Editor/indenl", "Editor/indenr",
                       "Editor/indenf", "Editor/alg"};
    QTest::newRow("Calendar tab") << 3
        << QStringList{"Color/mothbc", "Color/textc", "Color/titlebc", "Color/titletc", "Color/tryc",
                       "General/showtoday", "General/todaymark"};
    QTest::newRow("Colour center") << 4
        << QStringList{"Color/checked", "Color/maincolor", "Color/Iconbackcolor", "Color/selectboldercolor",
                       "Color/selectcolor", "Color/selectfont", "Color/separatorcolor", "Color/menubarcolor",
                       "Color/editor", "Color/editbar", "Color/statubar", "Color/formatbar", "Color/toolbarback",
                       "Color/navigatorbar", "Color/rulerb", "Color/rulerc"};
    // The sections' order follows the first key of each.
    QTest::newRow("shutdown") << 5
        << QStringList{"state/bar1x", "state/bar1y", "state/sound", "state/bar2x", "state/bar2y",
                       "state/htoolbar2", "state/bar3x", "state/bar3y", "state/htoolbar3", "state/bar4x",
                       "state/bar4y", "state/htoolbar4", "General/timeA", "View/bar1", "View/bar2",
                       "View/bar3", "View/ruler", "View/sta"};
}

void TestSettingsFile::writersWriteTheirKeysInOrder() {
    QFETCH(int, writer);
    QFETCH(QStringList, keys);
    // Values unlike every default, so each written key shows in the read-back.
    DaybookSettings s;
    s.Editor = {QStringLiteral("Tahoma"), 255, 9, 3, 4, 5, 2};
    s.Color = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
               colourvalue::systemColour(colourvalue::ButtonFace)};
    s.General = {false, 30, false, true, QStringLiteral("07:30:00"), false, false, false,
                 QStringLiteral("Dear diary,\nline two"), false, false};
    s.View = {false, false, false, false, false};
    s.state = {2, 3, 0, 11, 12, 21, 22, 31, 32, 41, 42};

    IniFile ini(path);
    switch (writer) {
    case 0: writeGeneralTab(ini, s); break;
    case 1: writeMemoText(ini, s); break;
    case 2: writeEditorTab(ini, s); break;
    case 3: writeCalendarTab(ini, s); break;
    case 4: writeColourCenter(ini, s); break;
    case 5: writeShutdown(ini, s, false); break;
    }
    QCOMPARE(keyOrder(path), keys);

    const DaybookSettings back = readSettings(path, {});
    for (const QString& sk : keys) {
        const QString section = sk.section(QLatin1Char('/'), 0, 0), key = sk.section(QLatin1Char('/'), 1);
        if (sk == QLatin1String("state/sound")) QCOMPARE(readTypeBeep(ini), false);
        else QCOMPARE(fieldText(section, key, back), fieldText(section, key, s));
    }
}

void TestSettingsFile::writersReplaceTheCreatedLines() {
    FakeClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)));
    createSettingsFile(path);
    DaybookSettings s = readSettings(path, {});
    s.Color.Iconbackcolor = colourvalue::systemColour(colourvalue::ButtonFace);
    s.Color.checked = colourvalue::systemColour(colourvalue::Highlight);
    IniFile ini(path);
    writeColourCenter(ini, s);
    QByteArray expected = fileBytes(QStringLiteral(SETTINGS_GOLDEN_DIR "created.ini"));
    expected.replace("Iconbackcolor=12639424", "Iconbackcolor=-2147483633");
    expected.replace("checked=8388736", "checked=-2147483635");
    QCOMPARE(fileBytes(path), expected);
    // System colours come back in index form.
    QCOMPARE(readSettings(path, {}).Color.Iconbackcolor, colourvalue::systemColour(colourvalue::ButtonFace));
}

void TestSettingsFile::refusedCreation() {
    const QString where = dir.filePath(QStringLiteral("no folder/anna.ini"));
    try {
        createSettingsFile(where);
        QFAIL("creation was reported as done");
    } catch (const IniWriteError& e) {
        QCOMPARE(e.text(), QStringLiteral("Unable to write to ") + where);
    }
    QVERIFY(!settingsFileExists(where));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
