#include "platform/inifile.h"

#include "platform/securefs.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString writeErrorText(const QString& path) { return QStringLiteral("Unable to write to %1").arg(path); }

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Names come from the program, never from the user; one that cannot be
// stored as a line of its own is a programming error.
void checkName(const QString& name, bool section) {
    const bool bad = name.isEmpty() || name != name.trimmed() || name.contains(QLatin1Char('\n')) ||
                     name.contains(QLatin1Char('\r')) ||
                     (section ? name.contains(QLatin1Char(']'))
                              : name.contains(QLatin1Char('=')) || name.startsWith(QLatin1Char('[')) ||
                                    name.startsWith(QLatin1Char(';')) || name.startsWith(QLatin1Char('#')));
    if (bad)
        throw std::invalid_argument("ini name cannot be stored: " + name.toStdString());
}

bool isQuoted(const QString& v) {
    return v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'));
}

QString decodeValue(const QString& raw) {
    if (!isQuoted(raw)) return raw;
    QString out;
    const QString inner = raw.mid(1, raw.size() - 2);
    out.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QChar c = inner[i];
        if (c != QLatin1Char('\\') || i + 1 == inner.size()) {
            out += c;
            continue;
        }
        const QChar n = inner[i + 1];
        if (n == QLatin1Char('n')) out += QLatin1Char('\n');
        else if (n == QLatin1Char('r')) out += QLatin1Char('\r');
        else if (n == QLatin1Char('\\') || n == QLatin1Char('"')) out += n;
        else {
            // Not one of ours: a backslash that was simply part of the text.
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

QString encodeValue(const QString& v) {
    const bool plain = !v.contains(QLatin1Char('\n')) && !v.contains(QLatin1Char('\r')) &&
                       (v.isEmpty() || (!v.front().isSpace() && !v.back().isSpace())) && !isQuoted(v);
    if (plain) return v;
    QString out = QStringLiteral("\"");
    for (const QChar c : v) {
        if (c == QLatin1Char('\\')) out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('"')) out += QStringLiteral("\\\"");
        else if (c == QLatin1Char('\n')) out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r')) out += QStringLiteral("\\r");
        else out += c;
    }
    return out + QLatin1Char('"');
}

QByteArray keyLine(const QString& key, const QString& value) {
    return (key + QLatin1Char('=') + encodeValue(value)).toUtf8();
}

bool isBlank(const QByteArray& raw) { return raw.trimmed().isEmpty(); }

QByteArray enc(const QString& p) { return QFile::encodeName(p); }

}  // namespace

IniWriteError::IniWriteError(const QString& path)
    : std::runtime_error(writeErrorText(path).toStdString()), path_(path) {}

QString IniWriteError::text() const { return writeErrorText(path_); }

// ---------------------------------------------------------------------------

IniDocument IniDocument::parse(const QByteArray& input) {
    IniDocument d;
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        d.bom_ = true;
        bytes.remove(0, 3);
    }
    // A rewrite keeps the file's own line breaks.
    const qsizetype lf = bytes.indexOf('\n'), cr = bytes.indexOf('\r');
    if (cr >= 0 && (lf < 0 || cr < lf)) d.eol_ = (lf == cr + 1) ? QByteArray("\r\n") : QByteArray("\r");

    auto addLine = [&d](const QByteArray& raw) {
        Line line;
        line.raw = raw;
        const QString text = QString::fromUtf8(raw).trimmed();
        if (text.startsWith(QLatin1Char('['))) {
            const qsizetype close = text.indexOf(QLatin1Char(']'));
            if (close > 0) {
                line.kind = Line::Section;
                line.name = text.mid(1, close - 1).trimmed();
            }
        } else if (!text.startsWith(QLatin1Char(';')) && !text.startsWith(QLatin1Char('#'))) {
            const qsizetype eq = text.indexOf(QLatin1Char('='));
            if (eq > 0) {
                line.name = text.left(eq).trimmed();
                if (!line.name.isEmpty()) {
                    line.kind = Line::Key;
                    line.value = decodeValue(text.mid(eq + 1).trimmed());
                }
            }
        }
        d.lines_.append(line);
    };
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype pos = 0; pos < n; ++pos) {
        const char c = bytes[pos];
        if (c != '\r' && c != '\n') continue;
        addLine(bytes.mid(start, pos - start));
        if (c == '\r' && pos + 1 < n && bytes[pos + 1] == '\n') ++pos;
        start = pos + 1;
    }
    if (start < n) addLine(bytes.mid(start));
    return d;
}

QByteArray IniDocument::toBytes() const {
    QByteArray out;
    if (bom_) out += "\xEF\xBB\xBF";
    for (const Line& l : lines_) {
        out += l.raw;
        out += eol_;
    }
    return out;
}

int IniDocument::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Section && sameName(lines_[i].name, section)) return i;
    return -1;
}

int IniDocument::findKey(int sectionLine, const QString& key) const {
    for (int i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i)
        if (lines_[i].kind == Line::Key && sameName(lines_[i].name, key)) return i;
    return -1;
}

int IniDocument::sectionEnd(int sectionLine) const {
    int end = sectionLine + 1;
    for (int i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i)
        if (!isBlank(lines_[i].raw)) end = i + 1;
    return end;
}

bool IniDocument::hasSection(const QString& section) const { return findSection(section) >= 0; }

bool IniDocument::hasKey(const QString& section, const QString& key) const {
    return value(section, key).has_value();
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const int s = findSection(section);
    if (s < 0) return std::nullopt;
    const int k = findKey(s, key);
    if (k < 0) return std::nullopt;
    return lines_[k].value;
}

QString IniDocument::readString(const QString& section, const QString& key, const QString& def) const {
    return value(section, key).value_or(def);
}

qint32 IniDocument::readInteger(const QString& section, const QString& key, qint32 def) const {
    const auto v = value(section, key);
    if (!v) return def;
    bool ok = false;
    const int n = v->toInt(&ok, 10);
    return ok ? qint32(n) : def;
}

bool IniDocument::readBool(const QString& section, const QString& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniDocument::appendSection(const QString& section) {
    if (!lines_.isEmpty() && !isBlank(lines_.back().raw)) lines_.append(Line{});
    Line l;
    l.kind = Line::Section;
    l.name = section;
    l.raw = (QLatin1Char('[') + section + QLatin1Char(']')).toUtf8();
    lines_.append(l);
}

bool IniDocument::addSection(const QString& section) {
    checkName(section, true);
    if (findSection(section) >= 0) return false;
    appendSection(section);
    return true;
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    checkName(section, true);
    checkName(key, false);
    int s = findSection(section);
    if (s < 0) {
        appendSection(section);
        s = int(lines_.size()) - 1;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        Line& l = lines_[k];
        if (l.value == value) return false;
        // The stored spelling of the key stays, so the file does not flip
        // between letter-case variants.
        l.raw = keyLine(l.name, value);
        l.value = value;
        return true;
    }
    Line l;
    l.kind = Line::Key;
    l.name = key;
    l.value = value;
    l.raw = keyLine(key, value);
    lines_.insert(sectionEnd(s), l);
    return true;
}

// ---------------------------------------------------------------------------

IniFile::IniFile(QString path) : path_(std::move(path)) {}

bool IniFile::exists(const QString& path) { return QFileInfo(path).isFile(); }

IniDocument IniFile::read() const {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return IniDocument::parse(f.readAll());
}

IniDocument IniFile::readForWrite() const {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) {
        // Replacing a file we could not read would lose what it holds.
        if (QFileInfo::exists(path_)) throw IniWriteError(path_);
        return {};
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) throw IniWriteError(path_);
    return IniDocument::parse(bytes);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    return read().readString(section, key, def);
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 def) const {
    return read().readInteger(section, key, def);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
    return read().readBool(section, key, def);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    write({{section, key, value}});
}

void IniFile::writeInteger(const QString& section, const QString& key, qint32 value) {
    write({{section, key, integerText(value)}});
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    write({{section, key, boolText(value)}});
}

void IniFile::addSection(const QString& section) {
    IniDocument doc = readForWrite();
    if (doc.addSection(section)) store(doc);
}

void IniFile::write(const QList<Write>& writes) {
    IniDocument doc = readForWrite();
    bool changed = false;
    for (const Write& w : writes) changed = doc.setValue(w.section, w.key, w.value) || changed;
    if (changed) store(doc);
}

void IniFile::store(const IniDocument& doc) const {
    // A link stays a link: the file it points at is the one replaced.
    QString target = path_;
    const QFileInfo info(path_);
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty()) target = info.symLinkTarget();
    }
    const QFileInfo targetInfo(target);
    const QString dir = targetInfo.absolutePath();

    mode_t mode = 0600;
    struct stat st;
    if (::stat(enc(target).constData(), &st) == 0) {
        // A file made read-only stays unwritten, as an in-place write would be refused.
        if (::access(enc(target).constData(), W_OK) != 0) throw IniWriteError(path_);
        mode = st.st_mode & 07777;
    }

    QByteArray tmp = enc(dir + QStringLiteral("/.") + targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) throw IniWriteError(path_);

    const QByteArray bytes = doc.toBytes();
    bool ok = ::fchmod(fd, mode) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t w = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) ok = false;
        else done += w;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmp.constData(), enc(target).constData()) == 0;
    if (!ok) {
        ::unlink(tmp.constData());
        throw IniWriteError(path_);
    }
    securefs::syncDir(dir);
}
