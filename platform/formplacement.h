#pragma once
// Keeps a window's position, size and minimised or maximised state in a
// section of an ini file, so the window comes back where it was left.
#include <QString>

class QWidget;

class FormPlacement {
public:
    void setIniFile(const QString& path, const QString& section);
    bool active() const { return !path_.isEmpty(); }
    void deactivate() { path_.clear(); }

    // Brings the window back as the section last saved it; a window that
    // would lie wholly off every screen is centred instead. Nothing happens
    // when the section is missing or unreadable.
    void restore(QWidget& window) const;
    // Throws IniWriteError when the file cannot be written.
    void save(const QWidget& window) const;

private:
    QString path_;
    QString section_;
};
