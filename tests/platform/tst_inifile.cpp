// The ini facility: reading odd files, in-place and appended writes, string
// escapes, write-through between handles, refused writes, safe replacement.
#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void putFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ino_t inodeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

int modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return int(st.st_mode & 07777);
}

}  // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir.isValid()); path = dir.filePath(QStringLiteral("anna.ini")); }
    void cleanup() { QDir(dir.path()).removeRecursively(); QDir().mkpath(dir.path()); }

    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void stringValuesRoundTrip_data();
    void stringValuesRoundTrip();
    void handlesSeeEachOthersWrites();
    void readingAndUnchangedWritesLeaveTheFileAlone();
    void refusedWrite_data();
    void refusedWrite();
    void replacementKeepsPermissionsAndLinks();

private:
    QTemporaryDir dir;
    QString path;
};

void TestIniFile::reads_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("kind");  // string, integer or bool
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("def");
    QTest::addColumn<QString>("expected");

    const QByteArray ab = "[a]\nk=v\n";
    QTest::newRow("plain") << ab << "string" << "a" << "k" << "d" << "v";
    QTest::newRow("key in capitals") << QByteArray("[Editor]\nFONN=Arial\n") << "string" << "Editor" << "Fonn" << "" << "Arial";
    QTest::newRow("section in capitals") << QByteArray("[EDITOR]\nfonn=Arial\n") << "string" << "Editor" << "Fonn" << "" << "Arial";
    QTest::newRow("reader's variant") << QByteArray("[Color]\ntoolbarback=5\n") << "integer" << "color" << "Toolbarback" << "0" << "5";
    QTest::newRow("missing key") << ab << "string" << "a" << "other" << "d" << "d";
    QTest::newRow("missing section") << ab << "string" << "b" << "k" << "d" << "d";
    QTest::newRow("empty value is not missing") << QByteArray("[a]\nk=\n") << "string" << "a" << "k" << "d" << "";
    QTest::newRow("key before any section") << QByteArray("k=v\n[a]\n") << "string" << "a" << "k" << "d" << "d";
    QTest::newRow("first of duplicates") << QByteArray("[a]\nk=1\nk=2\n[A]\nk=3\n") << "string" << "a" << "k" << "" << "1";
    QTest::newRow("section ends at the next") << QByteArray("[a]\n[b]\nk=v\n") << "string" << "a" << "k" << "d" << "d";
    QTest::newRow("utf-8") << QByteArray("[a]\nk=Zo\xC3\xAB \xE6\x97\xA5\xE8\xA8\x98\n") << "string" << "a" << "k" << "" << QString::fromUtf8("Zo\xC3\xAB \xE6\x97\xA5\xE8\xA8\x98");
    QTest::newRow("unquoted backslashes are text") << QByteArray("[a]\nk=C:\\new\\dir\n") << "string" << "a" << "k" << "" << "C:\\new\\dir";

    QTest::newRow("negative integer") << QByteArray("[a]\nk=-2147483624\n") << "integer" << "a" << "k" << "7" << "-2147483624";
    QTest::newRow("integer with spaces") << QByteArray("[a]\nk =  42  \n") << "integer" << "a" << "k" << "7" << "42";
    QTest::newRow("word as integer") << QByteArray("[a]\nk=red\n") << "integer" << "a" << "k" << "7" << "7";
    QTest::newRow("digits then word") << QByteArray("[a]\nk=12abc\n") << "integer" << "a" << "k" << "7" << "7";
    QTest::newRow("beyond 32 bits") << QByteArray("[a]\nk=2147483648\n") << "integer" << "a" << "k" << "7" << "7";
    QTest::newRow("hexadecimal") << QByteArray("[a]\nk=0x10\n") << "integer" << "a" << "k" << "7" << "7";
    QTest::newRow("empty integer") << QByteArray("[a]\nk=\n") << "integer" << "a" << "k" << "7" << "7";
    QTest::newRow("missing integer") << ab << "integer" << "a" << "n" << "-3" << "-3";

    QTest::newRow("2 is true") << QByteArray("[a]\nk=2\n") << "bool" << "a" << "k" << "0" << "1";
    QTest::newRow("-1 is true") << QByteArray("[a]\nk=-1\n") << "bool" << "a" << "k" << "0" << "1";
    QTest::newRow("0 is false") << QByteArray("[a]\nk=0\n") << "bool" << "a" << "k" << "1" << "0";
    QTest::newRow("word gives default true") << QByteArray("[a]\nk=yes\n") << "bool" << "a" << "k" << "1" << "1";
    QTest::newRow("word gives default false") << QByteArray("[a]\nk=true\n") << "bool" << "a" << "k" << "0" << "0";
    QTest::newRow("missing bool") << ab << "bool" << "a" << "n" << "1" << "1";

    QTest::newRow("CRLF") << QByteArray("[a]\r\nk=v\r\nj=w\r\n") << "string" << "a" << "j" << "" << "w";
    QTest::newRow("CR only") << QByteArray("[a]\rk=v\rj=w\r") << "string" << "a" << "j" << "" << "w";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[a]\nk=v") << "string" << "a" << "k" << "" << "v";
    QTest::newRow("spaces around names") << QByteArray("  [ a ]  \n\t k \t= v \n") << "string" << "a" << "k" << "" << "v";
    QTest::newRow("blank and junk lines") << QByteArray("garbage\n\n[a\n[a]\n; k=no\n# k=no\nno equals\n=novalue\n\n\nk=v\n")
                                          << "string" << "a" << "k" << "" << "v";
}

void TestIniFile::reads() {
    QFETCH(QByteArray, file);
    QFETCH(QString, kind);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, def);
    QFETCH(QString, expected);
    putFile(path, file);
    const IniFile ini(path);
    QString got;
    if (kind == QLatin1String("string")) got = ini.readString(section, key, def);
    else if (kind == QLatin1String("integer")) got = QString::number(ini.readInteger(section, key, def.toInt()));
    else got = ini.readBool(section, key, def == QLatin1String("1")) ? QStringLiteral("1") : QStringLiteral("0");
    QCOMPARE(got, expected);
}

void TestIniFile::writes_data() {
    QTest::addColumn<QByteArray>("before");  // null: no file yet
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("no file yet") << QByteArray() << "a" << "k" << "v" << QByteArray("[a]\nk=v\n");
    QTest::newRow("empty file") << QByteArray("") << "a" << "k" << "v" << QByteArray("[a]\nk=v\n");
    QTest::newRow("replaced in place, spelling kept")
        << QByteArray("[a]\nk=1\nj=2\n") << "A" << "K" << "3" << QByteArray("[a]\nk=3\nj=2\n");
    QTest::newRow("missing key at the end of its section")
        << QByteArray("[a]\nk=1\n\n[b]\nx=1\n") << "a" << "new" << "5" << QByteArray("[a]\nk=1\nnew=5\n\n[b]\nx=1\n");
    QTest::newRow("key into an empty section")
        << QByteArray("[a]\n[b]\n") << "a" << "k" << "v" << QByteArray("[a]\nk=v\n[b]\n");
    QTest::newRow("missing section at the end")
        << QByteArray("[a]\nk=1\n") << "b" << "x" << "1" << QByteArray("[a]\nk=1\n\n[b]\nx=1\n");
    QTest::newRow("variant names the same section")
        << QByteArray("[COLOR]\nchecked=1\n") << "Color" << "iconbackcolor" << "2"
        << QByteArray("[COLOR]\nchecked=1\niconbackcolor=2\n");
    QTest::newRow("junk lines kept")
        << QByteArray("junk\n[a]\n; note\nk=1\n=x\n") << "a" << "k" << "2" << QByteArray("junk\n[a]\n; note\nk=2\n=x\n");
    QTest::newRow("CRLF and BOM kept")
        << QByteArray("\xEF\xBB\xBF[a]\r\nk=1\r\n") << "a" << "j" << "2" << QByteArray("\xEF\xBB\xBF[a]\r\nk=1\r\nj=2\r\n");
    QTest::newRow("missing last line break")
        << QByteArray("[a]\nk=1") << "a" << "k" << "2" << QByteArray("[a]\nk=2\n");
    QTest::newRow("line break in a value")
        << QByteArray() << "a" << "memo" << "one\ntwo" << QByteArray("[a]\nmemo=\"one\\ntwo\"\n");
    QTest::newRow("leading space in a value")
        << QByteArray() << "a" << "memo" << " x" << QByteArray("[a]\nmemo=\" x\"\n");
}

void TestIniFile::writes() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    if (!before.isNull()) putFile(path, before);
    IniFile ini(path);
    ini.writeString(section, key, value);
    QCOMPARE(fileBytes(path), after);
    QCOMPARE(ini.readString(section, key, QStringLiteral("default")), value);
}

void TestIniFile::stringValuesRoundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "";
    QTest::newRow("two lines") << "first line\nsecond line\n";
    QTest::newRow("CRLF inside") << "a\r\nb\rc";
    QTest::newRow("spaces at the ends") << "  both  ";
    QTest::newRow("tab at the end") << "tab\t";
    QTest::newRow("quoted") << "\"quoted\"";
    QTest::newRow("lone quote") << "\"";
    QTest::newRow("backslash escapes as text") << "C:\\new\\n\\\\\"";
    QTest::newRow("equals and brackets") << "=a=b [c] ;d";
    QTest::newRow("unicode") << QString::fromUtf8("Tagebuch f\xC3\xBCr \xE6\x97\xA5\xE8\xA8\x98 \xF0\x9F\x93\x94");
}

void TestIniFile::stringValuesRoundTrip() {
    QFETCH(QString, value);
    IniFile ini(path);
    ini.writeString(QStringLiteral("General"), QStringLiteral("memotext"), value);
    ini.writeString(QStringLiteral("General"), QStringLiteral("after"), QStringLiteral("x"));
    const IniFile other(path);
    QCOMPARE(other.readString(QStringLiteral("General"), QStringLiteral("memotext")), value);
    QCOMPARE(other.readString(QStringLiteral("general"), QStringLiteral("after")), QStringLiteral("x"));
    // The value stays on one line, so the file keeps its three lines.
    QCOMPARE(fileBytes(path).count('\n'), 3);
}

void TestIniFile::handlesSeeEachOthersWrites() {
    IniFile a(path), b(path);
    a.writeInteger(QStringLiteral("state"), QStringLiteral("bar1x"), 11);
    QCOMPARE(b.readInteger(QStringLiteral("STATE"), QStringLiteral("BAR1X"), 0), 11);
    b.writeBool(QStringLiteral("View"), QStringLiteral("ruler"), false);
    QCOMPARE(a.readBool(QStringLiteral("View"), QStringLiteral("ruler"), true), false);
    // A write through one handle keeps what the other wrote.
    a.writeInteger(QStringLiteral("state"), QStringLiteral("bar1x"), 12);
    QCOMPARE(fileBytes(path), QByteArray("[state]\nbar1x=12\n\n[View]\nruler=0\n"));
    QVERIFY(IniFile::exists(path));
    QVERIFY(!IniFile::exists(dir.filePath(QStringLiteral("other.ini"))));
    QVERIFY(!IniFile::exists(dir.path()));
}

void TestIniFile::readingAndUnchangedWritesLeaveTheFileAlone() {
    putFile(path, QByteArray());
    const IniFile ini(path);
    QCOMPARE(ini.readString(QStringLiteral("General"), QStringLiteral("timeat")), QString());
    QCOMPARE(ini.readInteger(QStringLiteral("General"), QStringLiteral("autostime"), 15), 15);
    QCOMPARE(ini.readBool(QStringLiteral("View"), QStringLiteral("sta"), true), true);
    QCOMPARE(QFileInfo(path).size(), 0);

    putFile(path, QByteArray("[a]\nk = 1\n"));
    const ino_t before = inodeOf(path);
    IniFile(path).writeInteger(QStringLiteral("A"), QStringLiteral("K"), 1);
    QCOMPARE(inodeOf(path), before);
    QCOMPARE(fileBytes(path), QByteArray("[a]\nk = 1\n"));
}

void TestIniFile::refusedWrite_data() {
    QTest::addColumn<QString>("where");
    QTest::newRow("folder missing") << "missing/anna.ini";
    QTest::newRow("parent is a file") << "plain/anna.ini";
    QTest::newRow("read-only file") << "anna.ini";
    QTest::newRow("unreadable file") << "locked.ini";
}

void TestIniFile::refusedWrite() {
    QFETCH(QString, where);
    putFile(dir.filePath(QStringLiteral("plain")), "x");
    const QByteArray old = "[a]\nk=1\n";
    putFile(dir.filePath(QStringLiteral("anna.ini")), old);
    putFile(dir.filePath(QStringLiteral("locked.ini")), old);
    ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("anna.ini"))).constData(), 0400);
    ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("locked.ini"))).constData(), 0200);
    if (where.endsWith(QLatin1String(".ini")) && !where.contains(QLatin1Char('/')) && ::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");

    const QString target = dir.filePath(where);
    IniFile ini(target);
    try {
        ini.writeInteger(QStringLiteral("a"), QStringLiteral("k"), 2);
        QFAIL("the write was reported as done");
    } catch (const IniWriteError& e) {
        QCOMPARE(e.text(), QStringLiteral("Unable to write to ") + target);
        QCOMPARE(QString::fromUtf8(e.what()), e.text());
    }
    ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("locked.ini"))).constData(), 0600);
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("anna.ini"))), old);
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("locked.ini"))), old);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestIniFile::replacementKeepsPermissionsAndLinks() {
    IniFile fresh(path);
    fresh.writeString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("v"));
    QCOMPARE(modeOf(path), 0600);

    ::chmod(QFile::encodeName(path).constData(), 0640);
    fresh.writeString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("w"));
    QCOMPARE(modeOf(path), 0640);

    const QString link = dir.filePath(QStringLiteral("link.ini"));
    QVERIFY(QFile::link(path, link));
    IniFile(link).writeString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("through the link"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(IniFile(path).readString(QStringLiteral("a"), QStringLiteral("k")), QStringLiteral("through the link"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
