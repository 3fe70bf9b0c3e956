#pragma once
// The fixed colour lists of the Format bar: the back-colour menu and the
// font-colour box.
#include <QColor>
#include <QList>
#include <QString>

struct NamedColour {
    QString name;
    QColor colour;  // invalid: automatic
};

// The sixteen standard colours, black to white.
const QList<NamedColour>& standardColours();
// The back-colour menu: the standard colours, then "Automatic".
QList<NamedColour> backColourList();
// The font-colour box: the standard colours, then four more.
QList<NamedColour> fontColourList();
// The caption of a colour: "Automatic" for automatic, its name when it is in
// the lists above, otherwise its #rrggbb form.
QString colorname(const QColor& colour);
