#include "settings/settingsfile.h"

#include "platform/clock.h"
#include "platform/localeformat.h"
#include "settings/settingskeys.h"

#include <initializer_list>

using settingskeys::Creation;
using settingskeys::Key;
using settingskeys::Kind;

namespace {

IniFile::Write fieldWrite(const char* section, const char* name, const DaybookSettings& s) {
    const Key& k = settingskeys::find(QLatin1String(section), QLatin1String(name));
    return {k.section, k.name, settingskeys::storedText(k, s)};
}

void writeFields(IniFile& ini, const DaybookSettings& s, const char* section,
                 std::initializer_list<const char*> names) {
    QList<IniFile::Write> writes;
    for (const char* n : names) writes.append(fieldWrite(section, n, s));
    ini.write(writes);
}

const Key& soundKey() { return settingskeys::find(QStringLiteral("state"), QStringLiteral("sound")); }

QString createdText(const Key& k) {
    if (k.creation == Creation::CreationTime) return localefmt::longTime(Clock::instance().time());
    switch (k.kind) {
    case Kind::String:
        return k.text;
    case Kind::Boolean:
        return IniFile::boolText(k.number != 0);
    case Kind::Integer:
    case Kind::Colour:
        break;
    }
    return IniFile::integerText(k.number);
}

}  // namespace

bool settingsFileExists(const QString& path) { return IniFile::exists(path); }

void createSettingsFile(const QString& path) {
    QList<IniFile::Write> writes;
    for (const Key& k : settingskeys::all())
        if (k.creation != Creation::NotCreated) writes.append({k.section, k.name, createdText(k)});
    IniFile(path).write(writes);
}

DaybookSettings readSettings(const IniFile& ini, const BarPositions& current) {
    const IniDocument doc = ini.read();
    DaybookSettings s;
    for (const Key& k : settingskeys::all()) {
        if (!k.field) continue;
        const settingskeys::Value def = settingskeys::readDefault(k, current);
        switch (k.kind) {
        case Kind::String:
            settingskeys::assign(k, s, doc.readString(k.section, k.name, std::get<QString>(def)));
            break;
        case Kind::Boolean:
            settingskeys::assign(k, s, doc.readBool(k.section, k.name, std::get<bool>(def)));
            break;
        case Kind::Integer:
        case Kind::Colour:
            settingskeys::assign(k, s, doc.readInteger(k.section, k.name, std::get<qint32>(def)));
            break;
        }
    }
    return s;
}

DaybookSettings readSettings(const QString& path, const BarPositions& current) {
    return readSettings(IniFile(path), current);
}

bool readTypeBeep(const IniFile& ini) {
    const Key& k = soundKey();
    return ini.readBool(k.section, k.name, k.number != 0);
}

void writeGeneralTab(IniFile& ini, const DaybookSettings& s) {
    writeFields(ini, s, "General",
                {"autos", "autostime", "autocreatb", "timeA", "timeat", "perhour", "insdate", "instime"});
}

void writeMemoText(IniFile& ini, const DaybookSettings& s) { writeFields(ini, s, "General", {"memotext"}); }

void writeEditorTab(IniFile& ini, const DaybookSettings& s) {
    writeFields(ini, s, "Editor", {"Fonn", "fcolor", "fsize", "indenl", "indenr", "indenf", "alg"});
}

void writeCalendarTab(IniFile& ini, const DaybookSettings& s) {
    ini.write({fieldWrite("Color", "mothbc", s), fieldWrite("Color", "textc", s),
               fieldWrite("Color", "titlebc", s), fieldWrite("Color", "titletc", s),
               fieldWrite("Color", "tryc", s), fieldWrite("General", "showtoday", s),
               fieldWrite("General", "todaymark", s)});
}

void writeColourCenter(IniFile& ini, const DaybookSettings& s) {
    writeFields(ini, s, "Color",
                {"checked", "maincolor", "Iconbackcolor", "selectboldercolor", "selectcolor", "selectfont",
                 "separatorcolor", "menubarcolor", "editor", "editbar", "statubar", "formatbar", "toolbarback",
                 "navigatorbar", "rulerb", "rulerc"});
}

void writeShutdown(IniFile& ini, const DaybookSettings& s, bool typeBeep) {
    ini.write({fieldWrite("state", "bar1x", s), fieldWrite("state", "bar1y", s),
               fieldWrite("General", "timeA", s),
               {soundKey().section, soundKey().name, IniFile::boolText(typeBeep)},
               fieldWrite("state", "bar2x", s), fieldWrite("state", "bar2y", s),
               fieldWrite("state", "htoolbar2", s), fieldWrite("state", "bar3x", s),
               fieldWrite("state", "bar3y", s), fieldWrite("state", "htoolbar3", s),
               fieldWrite("state", "bar4x", s), fieldWrite("state", "bar4y", s),
               fieldWrite("state", "htoolbar4", s), fieldWrite("View", "bar1", s), fieldWrite("View", "bar2", s),
               fieldWrite("View", "bar3", s), fieldWrite("View", "ruler", s), fieldWrite("View", "sta", s)});
}
