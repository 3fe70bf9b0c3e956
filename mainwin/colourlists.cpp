#include "mainwin/colourlists.h"

const QList<NamedColour>& standardColours() {
    static const QList<NamedColour> list = {
        {QStringLiteral("Black"), QColor(0x00, 0x00, 0x00)},  {QStringLiteral("Maroon"), QColor(0x80, 0x00, 0x00)},
        {QStringLiteral("Green"), QColor(0x00, 0x80, 0x00)},  {QStringLiteral("Olive"), QColor(0x80, 0x80, 0x00)},
        {QStringLiteral("Navy"), QColor(0x00, 0x00, 0x80)},   {QStringLiteral("Purple"), QColor(0x80, 0x00, 0x80)},
        {QStringLiteral("Teal"), QColor(0x00, 0x80, 0x80)},   {QStringLiteral("Gray"), QColor(0x80, 0x80, 0x80)},
        {QStringLiteral("Silver"), QColor(0xC0, 0xC0, 0xC0)}, {QStringLiteral("Red"), QColor(0xFF, 0x00, 0x00)},
        {QStringLiteral("Lime"), QColor(0x00, 0xFF, 0x00)},   {QStringLiteral("Yellow"), QColor(0xFF, 0xFF, 0x00)},
        {QStringLiteral("Blue"), QColor(0x00, 0x00, 0xFF)},   {QStringLiteral("Fuchsia"), QColor(0xFF, 0x00, 0xFF)},
        {QStringLiteral("Aqua"), QColor(0x00, 0xFF, 0xFF)},   {QStringLiteral("White"), QColor(0xFF, 0xFF, 0xFF)},
    };
    return list;
}

QList<NamedColour> backColourList() {
    QList<NamedColour> list = standardColours();
    list.append({QStringLiteral("Automatic"), QColor()});
    return list;
}

QList<NamedColour> fontColourList() {
    QList<NamedColour> list = standardColours();
    list.append({QStringLiteral("MoneyGreen"), QColor(0xC0, 0xDC, 0xC0)});
    list.append({QStringLiteral("SkyBlue"), QColor(0xA6, 0xCA, 0xF0)});
    list.append({QStringLiteral("Cream"), QColor(0xFF, 0xFB, 0xF0)});
    list.append({QStringLiteral("MedGray"), QColor(0xA0, 0xA0, 0xA4)});
    return list;
}

QString colorname(const QColor& colour) {
    if (!colour.isValid()) return QStringLiteral("Automatic");
    for (const NamedColour& c : fontColourList())
        if (c.colour.rgb() == colour.rgb()) return c.name;
    return colour.name();
}
