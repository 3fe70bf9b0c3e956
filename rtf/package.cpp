#include "rtf/package.h"

#include <QDataStream>
#include <QFileInfo>

namespace rtf {
namespace {

constexpr quint32 oleVersion = 0x00000501;
constexpr quint32 embeddedFormat = 2;
constexpr quint32 linkedFormat = 1;

void putString(QDataStream& s, const QByteArray& text) {
    s << quint32(text.size() + 1);
    s.writeRawData(text.constData(), int(text.size()));
    s << quint8(0);
}

bool getString(QDataStream& s, QByteArray* out, quint32 limit) {
    quint32 n = 0;
    s >> n;
    if (s.status() != QDataStream::Ok || n > limit) return false;
    QByteArray bytes(qsizetype(n), '\0');
    if (n && s.readRawData(bytes.data(), int(n)) != int(n)) return false;
    if (bytes.endsWith('\0')) bytes.chop(1);
    *out = bytes;
    return true;
}

QByteArray cString(QDataStream& s, qsizetype limit) {
    QByteArray out;
    quint8 c = 0;
    while (out.size() < limit) {
        s >> c;
        if (s.status() != QDataStream::Ok || c == 0) break;
        out.append(char(c));
    }
    return out;
}

}  // namespace

QByteArray packageObjectData(const PackagedFile& file) {
    const QByteArray label = file.label.toLocal8Bit();
    const QByteArray path = file.path.toLocal8Bit();
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << oleVersion << (file.linked ? linkedFormat : embeddedFormat);
    putString(s, "Package");
    if (file.linked) {
        putString(s, path);  // topic: the linked file
        putString(s, "");
        return out;
    }
    putString(s, "");
    putString(s, "");
    QByteArray native;
    QDataStream n(&native, QIODevice::WriteOnly);
    n.setByteOrder(QDataStream::LittleEndian);
    n << quint16(2);
    n.writeRawData(label.constData(), int(label.size()));
    n << quint8(0);
    n.writeRawData(path.constData(), int(path.size()));
    n << quint8(0) << quint16(0) << quint16(3);
    putString(n, path);
    n << quint32(file.data.size());
    n.writeRawData(file.data.constData(), int(file.data.size()));
    s << quint32(native.size());
    s.writeRawData(native.constData(), int(native.size()));
    return out;
}

bool parsePackageObjectData(const QByteArray& objdata, PackagedFile* file) {
    QDataStream s(objdata);
    s.setByteOrder(QDataStream::LittleEndian);
    const quint32 limit = quint32(objdata.size());
    quint32 version = 0, format = 0;
    s >> version >> format;
    QByteArray cls, topic, item;
    if (s.status() != QDataStream::Ok || !getString(s, &cls, limit) || cls != "Package") return false;
    if (!getString(s, &topic, limit) || !getString(s, &item, limit)) return false;
    PackagedFile f;
    if (format == linkedFormat) {
        f.linked = true;
        f.path = QString::fromLocal8Bit(topic);
        f.label = QFileInfo(f.path).fileName();
        *file = f;
        return true;
    }
    if (format != embeddedFormat) return false;
    quint32 nativeSize = 0;
    quint16 header = 0, reserved = 0, type = 0;
    s >> nativeSize >> header;
    if (s.status() != QDataStream::Ok || nativeSize > limit) return false;
    f.label = QString::fromLocal8Bit(cString(s, limit));
    f.path = QString::fromLocal8Bit(cString(s, limit));
    s >> reserved >> type;
    QByteArray temp;
    if (!getString(s, &temp, limit)) return false;
    quint32 size = 0;
    s >> size;
    if (s.status() != QDataStream::Ok || size > limit) return false;
    f.data.resize(qsizetype(size));
    if (size && s.readRawData(f.data.data(), int(size)) != int(size)) return false;
    *file = f;
    return true;
}

}  // namespace rtf
