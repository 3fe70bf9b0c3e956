#pragma once
// Every key of a daybook's settings file, declared once: its section and name
// as a new file spells them, its kind, the value a new file gets, the value a
// login reads when the key is missing, and the DaybookSettings field it fills.
// Creating, reading and writing the file all go through this table.
#include "settings/daybooksettings.h"

#include <QString>

#include <variant>
#include <vector>

namespace settingskeys {

enum class Kind { String, Integer, Colour, Boolean };

// How a key comes into a new file.
enum class Creation {
    Default,       // with its default
    CreationTime,  // with the time of creation in the long time format; read default ""
    NotCreated,    // left out; read default: the bar's position at the time of reading
};

using FieldRef = std::variant<std::monostate, QString*, qint32*, bool*>;
using Value = std::variant<QString, qint32, bool>;

struct Key {
    QString section;  // as a new file spells it
    QString name;
    Kind kind;
    Creation creation;
    QString text;       // strings: the default
    qint32 number = 0;  // integers, colours and booleans (0 or 1): the default
    int bar = 0;        // position keys: 1 menu bar, 2 Edit, 3 Navigator, 4 Format bar
    bool isY = false;   // position keys: the y of the position
    // The field the key fills; none for the Type beep switch.
    FieldRef (*field)(DaybookSettings&) = nullptr;
};

// All keys, in the order a new file is written; the keys it leaves out come last.
const std::vector<Key>& all();
// The key of that section and name, matched without regard to letter case;
// throws std::out_of_range for a name that is not a settings key.
const Key& find(const QString& section, const QString& name);

// What a login reads for the key when the file lacks it.
Value readDefault(const Key& key, const BarPositions& current);
// The key's field value in s, as the file stores it.
QString storedText(const Key& key, const DaybookSettings& s);
// Sets the key's field in s (no-op for a key without a field).
void assign(const Key& key, DaybookSettings& s, const Value& v);

}  // namespace settingskeys
