#pragma once
// Ini text files: "[section]" lines open sections, "key=value" lines hold
// values. Section and key names match without regard to letter case. Every
// write goes straight to the file, so several IniFile objects on one path see
// each other's writes; the file is replaced as a whole (temporary file, flush,
// rename), so a crash never leaves half a file behind.
//
// Values are UTF-8. A string value that could not survive as a plain line
// (it holds a line break, starts or ends with white space, or is itself
// wrapped in double quotes) is written in double quotes with the escapes
// \\ \" \n \r; a quoted value is read back through the same escapes.
#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

// A write the file system refused. text() is what the user is shown.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString& path);
    const QString& path() const { return path_; }
    QString text() const;

private:
    QString path_;
};

// The parsed text of an ini file. Lines it does not understand are kept as
// they are, so rewriting the file changes only the lines that were written.
class IniDocument {
public:
    static IniDocument parse(const QByteArray& bytes);
    QByteArray toBytes() const;

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    // The value as stored (quotes and escapes undone); nullopt when missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    // A missing key or a value that is not a decimal 32-bit integer gives def.
    qint32 readInteger(const QString& section, const QString& key, qint32 def) const;
    // Read as an integer: 0 is false, any other integer true.
    bool readBool(const QString& section, const QString& key, bool def) const;

    // Replaces the value in place, or adds the key at the end of its section,
    // or adds the section at the end. False when the text stayed the same.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Adds an empty section when no section of that name exists.
    bool addSection(const QString& section);

private:
    struct Line {
        enum Kind { Other, Section, Key } kind = Other;
        QByteArray raw;  // without its line break
        QString name;    // section or key name, trimmed
        QString value;   // key lines: the value, decoded
    };
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    int sectionEnd(int sectionLine) const;  // index after the section's last non-blank line
    void appendSection(const QString& section);

    QList<Line> lines_;
    bool bom_ = false;
    QByteArray eol_ = "\n";
};

class IniFile {
public:
    // Opening a missing file is allowed: the first write creates it, owner-only.
    explicit IniFile(QString path);

    static bool exists(const QString& path);
    const QString& path() const { return path_; }

    // The file as it is on disk now; a missing or unreadable file reads as empty.
    IniDocument read() const;

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    qint32 readInteger(const QString& section, const QString& key, qint32 def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;

    // Each throws IniWriteError when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint32 value);
    void writeBool(const QString& section, const QString& key, bool value);
    void addSection(const QString& section);

    // Several writes, in order, with the file replaced once at the end: the
    // same result as writing them one by one, at the cost of one flush.
    struct Write {
        QString section, key, value;
    };
    void write(const QList<Write>& writes);

    // How integers and booleans are written.
    static QString integerText(qint32 v) { return QString::number(v); }
    static QString boolText(bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); }

private:
    void store(const IniDocument& doc) const;
    IniDocument readForWrite() const;

    QString path_;
};
