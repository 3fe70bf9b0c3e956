#include "store/daybook.h"

#include "platform/securefs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace daybook {

Files filesFor(const QString& dataDir, const QString& user) {
    Files f;
    QString base = dataDir;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    f.folder = base + user;
    f.dir = f.folder + QLatin1Char('/');
    const QString stem = f.dir + user;
    f.db = stem + QStringLiteral(".db");
    f.mb = stem + QStringLiteral(".mb");
    f.ini = stem + QStringLiteral(".ini");
    f.dbbak = stem + QStringLiteral(".dbbak");
    f.mbbak = stem + QStringLiteral(".mbbak");
    return f;
}

bool exists(const Files& f) { return QFileInfo(f.db).isFile() && QFileInfo(f.mb).isFile(); }

QString crealdate(const QDate& d) {
    return QStringLiteral("%1-%2-%3").arg(d.year()).arg(d.month()).arg(d.day());
}

QDate dateOfKey(const QString& key) {
    const QStringList parts = key.split(QLatin1Char('-'));
    if (parts.size() != 3) return {};
    bool okY = false, okM = false, okD = false;
    const QDate d(parts[0].toInt(&okY), parts[1].toInt(&okM), parts[2].toInt(&okD));
    return okY && okM && okD ? d : QDate();
}

std::optional<QString> nameProblem(const QString& user) {
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    bool bad = user == QLatin1String(".") || user == QLatin1String("..") || user.startsWith(QLatin1Char('.'));
    for (const QChar c : user) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c.unicode() == 0x7f || refused.contains(c))
            bad = true;
    }
    if (!bad) return std::nullopt;
    return QStringLiteral(
        "The user name can't be used: it becomes the name of the daybook's folder, so it may not "
        "start with a dot or contain control characters or any of / \\ : * ? \" < > |");
}

bool backup(const Files& f) {
    const bool db = securefs::copyFile(f.db, f.dbbak);
    const bool mb = securefs::copyFile(f.mb, f.mbbak);
    return db && mb;
}

RestoreResult restore(const Files& f, QString* error) {
    if (!QFileInfo(f.dbbak).isFile() || !QFileInfo(f.mbbak).isFile()) return RestoreResult::BackupMissing;
    // A hot journal beside a restored file would be rolled back into it.
    const QDir dir(f.dir);
    const QStringList journals = dir.entryList(
        {QFileInfo(f.db).fileName() + QStringLiteral("-*"), QFileInfo(f.mb).fileName() + QStringLiteral("-*")},
        QDir::Files | QDir::Hidden);
    for (const QString& j : journals) QFile::remove(dir.filePath(j));
    if (!securefs::copyFile(f.dbbak, f.db, error)) return RestoreResult::CopyFailed;
    if (!securefs::copyFile(f.mbbak, f.mb, error)) return RestoreResult::CopyFailed;
    return RestoreResult::Restored;
}

}  // namespace daybook
