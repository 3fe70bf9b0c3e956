// Colour values: RGB and system colour forms, and the palette mapping.
#include "settings/colourvalue.h"

#include <QGuiApplication>
#include <QtTest>

using namespace colourvalue;

class TestColourValue : public QObject {
    Q_OBJECT
private slots:
    void rgbRoundTrip_data();
    void rgbRoundTrip();
    void systemColours_data();
    void systemColours();
};

void TestColourValue::rgbRoundTrip_data() {
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("black") << qint32(0) << QColor(0, 0, 0);
    QTest::newRow("maroon") << qint32(128) << QColor(128, 0, 0);
    QTest::newRow("green") << qint32(32768) << QColor(0, 128, 0);
    QTest::newRow("purple") << qint32(8388736) << QColor(128, 0, 128);
    QTest::newRow("money green") << qint32(12639424) << QColor(192, 220, 192);
    QTest::newRow("white") << qint32(16777215) << QColor(255, 255, 255);
    QTest::newRow("orange") << qint32(0x004080FF) << QColor(255, 128, 64);
}

void TestColourValue::rgbRoundTrip() {
    QFETCH(qint32, value);
    QFETCH(QColor, color);
    QVERIFY(!isSystem(value));
    QCOMPARE(toColor(value), color);
    QCOMPARE(fromColor(color), value);
    // Alpha plays no part in a stored colour.
    QColor translucent = color;
    translucent.setAlpha(10);
    QCOMPARE(fromColor(translucent), value);
}

void TestColourValue::systemColours_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<qint32>("stored");  // as the settings file holds it
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");  // -1: no palette colour, black
    QTest::newRow("desktop") << 1 << qint32(-2147483647) << int(QPalette::Active) << int(QPalette::Dark);
    QTest::newRow("window") << 5 << qint32(0x80000005) << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("menu text") << 7 << qint32(0x80000007) << int(QPalette::Active) << int(QPalette::WindowText);
    QTest::newRow("window text") << 8 << qint32(0x80000008) << int(QPalette::Active) << int(QPalette::Text);
    QTest::newRow("highlight") << 13 << qint32(-2147483635) << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("button face") << 15 << qint32(-2147483633) << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("grey text") << 17 << qint32(0x80000011) << int(QPalette::Disabled) << int(QPalette::Text);
    QTest::newRow("info background") << 24 << qint32(-2147483624) << int(QPalette::Active) << int(QPalette::ToolTipBase);
    QTest::newRow("active caption gradient") << 27 << qint32(-2147483621) << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("menu bar") << 30 << qint32(0x8000001E) << int(QPalette::Active) << int(QPalette::Window);
    QTest::newRow("unused index") << 25 << qint32(0x80000019) << 0 << -1;
    QTest::newRow("beyond the table") << 200 << qint32(0x800000C8) << 0 << -1;
}

void TestColourValue::systemColours() {
    QFETCH(int, index);
    QFETCH(qint32, stored);
    QFETCH(int, group);
    QFETCH(int, role);
    QCOMPARE(systemColour(index), stored);
    QVERIFY(isSystem(stored));
    QCOMPARE(systemIndex(stored), index);

    // A palette whose every colour is different shows which one was taken.
    QPalette pal;
    int n = 1;
    for (int g = QPalette::Active; g <= QPalette::Inactive; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r, n += 7)
            pal.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(n % 256, (n / 256) % 256, 200));
    const QColor expected = role < 0 ? QColor(Qt::black)
                                     : pal.color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    QCOMPARE(toColor(stored, pal), expected);
    // Only a picked colour becomes RGB; the system value itself stays as it is.
    QVERIFY(!isSystem(fromColor(toColor(stored, pal))));
}

QTEST_MAIN(TestColourValue)
#include "tst_colourvalue.moc"
