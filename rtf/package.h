#pragma once
// Files embedded in a document as "Package" objects, in the OLE1 form that
// \objdata holds, so that other writers' readers see a packaged file too.
#include <QByteArray>
#include <QString>

namespace rtf {

struct PackagedFile {
    QString label;      // the name shown under the icon
    QString path;       // where the file came from, or the linked file's path
    QByteArray data;    // the file's bytes; empty for a link
    bool linked = false;
};

// The \objdata bytes of an embedded file (linked: a link to `path`).
QByteArray packageObjectData(const PackagedFile& file);
// Reads back what packageObjectData wrote, or a package of another writer; false
// when the data is not a package.
bool parsePackageObjectData(const QByteArray& objdata, PackagedFile* file);

}  // namespace rtf
