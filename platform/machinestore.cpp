#include "platform/machinestore.h"

#include "platform/inifile.h"

MachineStore::MachineStore(QString iniPath) : path_(std::move(iniPath)) {}

bool MachineStore::keyExists(const QString& keyPath) const {
    return IniFile(path_).read().hasSection(keyPath);
}

bool MachineStore::createKey(const QString& keyPath) {
    try {
        IniFile(path_).addSection(keyPath);
        return true;
    } catch (const IniWriteError&) {
        return false;
    }
}

std::optional<QString> MachineStore::readString(const QString& keyPath, const QString& valueName) const {
    return IniFile(path_).read().value(keyPath, valueName);
}

bool MachineStore::writeString(const QString& keyPath, const QString& valueName, const QString& value) {
    try {
        IniFile(path_).writeString(keyPath, valueName, value);
        return true;
    } catch (const IniWriteError&) {
        return false;
    }
}
