#pragma once
// A program folder in a temporary directory, with the template tables copied
// in from the build's program folder.
#include <QString>
#include <QTemporaryDir>

class TempAppDir {
public:
    explicit TempAppDir(bool withTemplates = true);
    ~TempAppDir();
    QString path() const;  // ends with '/'
    QString daybookDir(const QString& user) const { return path() + user + QLatin1Char('/'); }
    QString file(const QString& user, const QString& ext) const {
        return daybookDir(user) + user + ext;
    }

    // The build's program folder, where the real template files are made.
    static QString buildAppDir();

private:
    QTemporaryDir dir_;
};
