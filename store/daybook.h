#pragma once
// A daybook's files and names, the date key, backups and restore.
#include <QDate>
#include <QString>
#include <optional>

namespace daybook {

// Handed to the database session before any daybook table is opened.
inline const QString kTablePassword = QStringLiteral("5120946");
// The longest user name the name boxes take.
constexpr int kMaxNameLength = 15;

struct Files {
    QString dir;    // the daybook's folder, ending with '/'
    QString folder; // the same without the trailing '/': what the table engine is pointed at
    QString db, mb, ini, dbbak, mbbak;
};

// The files of user's daybook inside the data folder (ending with '/').
Files filesFor(const QString& dataDir, const QString& user);

// A daybook exists when both its table and its blob file do.
bool exists(const Files& f);

// The date key: year-month-day without leading zeros, e.g. 2003-1-5.
QString crealdate(const QDate& d);
// The date of a key, or an invalid date when it is not a key.
QDate dateOfKey(const QString& key);

// Why a (trimmed) user name cannot name a daybook folder, or nothing when it can.
// A name becomes a folder and file names, so separators, "..", a leading dot,
// control characters and characters other file systems refuse are kept out.
std::optional<QString> nameProblem(const QString& user);

// Copies the table file, then the blob file, to their backups. A failed copy
// is skipped and the other still made; true when both were made.
bool backup(const Files& f);

enum class RestoreResult { Restored, BackupMissing, CopyFailed };
// Copies both backups over the daybook's files (only when both exist), and
// drops any journal left beside them so it cannot be replayed into the copy.
RestoreResult restore(const Files& f, QString* error = nullptr);

}  // namespace daybook
