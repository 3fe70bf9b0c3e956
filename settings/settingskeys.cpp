#include "settings/settingskeys.h"

#include "platform/inifile.h"
#include "settings/colourvalue.h"

#include <stdexcept>

namespace settingskeys {
namespace {

using namespace colourvalue;

// Section and key name as the file spells them, and the field of that name.
#define SETTINGS_KEY(sec, key) \
    QStringLiteral(#sec), QStringLiteral(#key), [](DaybookSettings& s) -> FieldRef { return &s.sec.key; }

Key text(QString section, QString name, FieldRef (*field)(DaybookSettings&), QString value,
         Creation creation = Creation::Default) {
    return Key{std::move(section), std::move(name), Kind::String, creation, std::move(value), 0, 0, false, field};
}

Key number(QString section, QString name, FieldRef (*field)(DaybookSettings&), Kind kind, qint32 value) {
    return Key{std::move(section), std::move(name), kind, Creation::Default, {}, value, 0, false, field};
}

Key integer(QString section, QString name, FieldRef (*field)(DaybookSettings&), qint32 value) {
    return number(std::move(section), std::move(name), field, Kind::Integer, value);
}

Key colour(QString section, QString name, FieldRef (*field)(DaybookSettings&), qint32 value) {
    return number(std::move(section), std::move(name), field, Kind::Colour, value);
}

Key boolean(QString section, QString name, FieldRef (*field)(DaybookSettings&), bool value) {
    return number(std::move(section), std::move(name), field, Kind::Boolean, value ? 1 : 0);
}

Key position(QString section, QString name, FieldRef (*field)(DaybookSettings&), int bar, bool isY) {
    return Key{std::move(section), std::move(name), Kind::Integer, Creation::NotCreated, {}, 0, bar, isY, field};
}

const qint32 infoBackground = systemColour(InfoBackground);

std::vector<Key> makeTable() {
    return {
        // Editor defaults for a new diary.
        text(SETTINGS_KEY(Editor, Fonn), QStringLiteral("Arial")),
        colour(SETTINGS_KEY(Editor, fcolor), black),
        integer(SETTINGS_KEY(Editor, fsize), 14),
        integer(SETTINGS_KEY(Editor, indenl), 0),
        integer(SETTINGS_KEY(Editor, indenr), 0),
        integer(SETTINGS_KEY(Editor, indenf), 0),
        integer(SETTINGS_KEY(Editor, alg), 0),
        // Menu colours.
        colour(SETTINGS_KEY(Color, checked), purple),
        colour(SETTINGS_KEY(Color, maincolor), infoBackground),
        colour(SETTINGS_KEY(Color, Iconbackcolor), moneyGreen),
        colour(SETTINGS_KEY(Color, selectboldercolor), black),
        colour(SETTINGS_KEY(Color, selectcolor), systemColour(Desktop)),
        colour(SETTINGS_KEY(Color, selectfont), maroon),
        colour(SETTINGS_KEY(Color, separatorcolor), purple),
        colour(SETTINGS_KEY(Color, menubarcolor), infoBackground),
        // Main window colours.
        colour(SETTINGS_KEY(Color, rulerb), white),
        colour(SETTINGS_KEY(Color, rulerc), green),
        colour(SETTINGS_KEY(Color, toolbarback), infoBackground),
        colour(SETTINGS_KEY(Color, editor), white),
        colour(SETTINGS_KEY(Color, editbar), infoBackground),
        colour(SETTINGS_KEY(Color, statubar), infoBackground),
        colour(SETTINGS_KEY(Color, formatbar), infoBackground),
        colour(SETTINGS_KEY(Color, navigatorbar), infoBackground),
        // General options.
        boolean(SETTINGS_KEY(General, autos), true),
        integer(SETTINGS_KEY(General, autostime), 15),
        boolean(SETTINGS_KEY(General, autocreatb), true),
        boolean(SETTINGS_KEY(General, timeA), false),
        text(SETTINGS_KEY(General, timeat), QString(), Creation::CreationTime),
        boolean(SETTINGS_KEY(General, perhour), true),
        boolean(SETTINGS_KEY(General, insdate), true),
        boolean(SETTINGS_KEY(General, instime), true),
        text(SETTINGS_KEY(General, memotext), QString()),
        // What the main window shows.
        boolean(SETTINGS_KEY(View, bar1), true),
        boolean(SETTINGS_KEY(View, bar2), true),
        boolean(SETTINGS_KEY(View, bar3), true),
        boolean(SETTINGS_KEY(View, ruler), true),
        boolean(SETTINGS_KEY(View, sta), true),
        // Calendar colours and marks.
        colour(SETTINGS_KEY(Color, mothbc), infoBackground),
        colour(SETTINGS_KEY(Color, textc), maroon),
        colour(SETTINGS_KEY(Color, titlebc), green),
        colour(SETTINGS_KEY(Color, titletc), white),
        colour(SETTINGS_KEY(Color, tryc), systemColour(GradientActiveCaption)),
        boolean(SETTINGS_KEY(General, showtoday), true),
        boolean(SETTINGS_KEY(General, todaymark), true),
        // Bar placement and the Type beep switch.
        integer(SETTINGS_KEY(state, htoolbar2), 1),
        integer(SETTINGS_KEY(state, htoolbar3), 1),
        integer(SETTINGS_KEY(state, htoolbar4), 1),
        Key{QStringLiteral("state"), QStringLiteral("sound"), Kind::Boolean, Creation::Default, {}, 1},
        // Bar positions: written at shutdown only.
        position(SETTINGS_KEY(state, bar1x), 1, false),
        position(SETTINGS_KEY(state, bar1y), 1, true),
        position(SETTINGS_KEY(state, bar2x), 2, false),
        position(SETTINGS_KEY(state, bar2y), 2, true),
        position(SETTINGS_KEY(state, bar3x), 3, false),
        position(SETTINGS_KEY(state, bar3y), 3, true),
        position(SETTINGS_KEY(state, bar4x), 4, false),
        position(SETTINGS_KEY(state, bar4y), 4, true),
    };
}

#undef SETTINGS_KEY

}  // namespace

const std::vector<Key>& all() {
    static const std::vector<Key> table = makeTable();
    return table;
}

const Key& find(const QString& section, const QString& name) {
    for (const Key& k : all())
        if (k.section.compare(section, Qt::CaseInsensitive) == 0 && k.name.compare(name, Qt::CaseInsensitive) == 0)
            return k;
    throw std::out_of_range("not a settings key: " + section.toStdString() + "/" + name.toStdString());
}

Value readDefault(const Key& key, const BarPositions& current) {
    switch (key.kind) {
    case Kind::String:
        return key.text;
    case Kind::Boolean:
        return key.number != 0;
    case Kind::Integer:
    case Kind::Colour:
        break;
    }
    if (key.creation != Creation::NotCreated) return key.number;
    const QPoint at = key.bar == 1   ? current.menuBar
                      : key.bar == 2 ? current.editBar
                      : key.bar == 3 ? current.navigatorBar
                                     : current.formatBar;
    return qint32(key.isY ? at.y() : at.x());
}

QString storedText(const Key& key, const DaybookSettings& s) {
    if (!key.field) throw std::logic_error("settings key without a field: " + key.name.toStdString());
    const FieldRef f = key.field(const_cast<DaybookSettings&>(s));
    if (auto p = std::get_if<QString*>(&f)) return **p;
    if (auto p = std::get_if<qint32*>(&f)) return IniFile::integerText(**p);
    if (auto p = std::get_if<bool*>(&f)) return IniFile::boolText(**p);
    return {};
}

void assign(const Key& key, DaybookSettings& s, const Value& v) {
    if (!key.field) return;
    const FieldRef f = key.field(s);
    if (auto p = std::get_if<QString*>(&f)) **p = std::get<QString>(v);
    else if (auto p = std::get_if<qint32*>(&f)) **p = std::get<qint32>(v);
    else if (auto p = std::get_if<bool*>(&f)) **p = std::get<bool>(v);
}

}  // namespace settingskeys
