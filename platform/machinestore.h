#pragma once
// Values that belong to the machine rather than to a daybook (the user name
// of the last login), kept in a small ini file: each key path such as
// "SOFTWARE\VKR77\lastname" is a section, each value name a key. Key paths
// and value names match without regard to letter case.
#include <QString>

#include <optional>

class MachineStore {
public:
    explicit MachineStore(QString iniPath);

    const QString& path() const { return path_; }

    bool keyExists(const QString& keyPath) const;
    // Creates the key (without values) when it is missing; false when the
    // store cannot be written.
    bool createKey(const QString& keyPath);
    // nullopt when the key or the value is missing.
    std::optional<QString> readString(const QString& keyPath, const QString& valueName) const;
    // Creates the key when needed; false when the store cannot be written.
    bool writeString(const QString& keyPath, const QString& valueName, const QString& value);

private:
    QString path_;
};
