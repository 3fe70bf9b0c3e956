#pragma once
// The process's database session: it holds the table passwords it was handed
// and shares one open TableFile among all table objects on the same table.
#include "store/tablefile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class DbSession {
public:
    static DbSession& instance();

    void addPassword(const QString& password);
    QStringList passwords() const { return passwords_; }

    // The open table at folder/tableName ("U.db" with its blob file "U.mb"),
    // opened and checked on first use. Throws EngineError.
    std::shared_ptr<TableFile> acquire(const QString& folder, const QString& tableName);

    // Forget passwords (tests start each case with a fresh session).
    void resetForTesting();

private:
    QStringList passwords_;
    QHash<QString, std::weak_ptr<TableFile>> open_;
};

// The blob file that belongs to a table file: "U.db" -> "U.mb".
QString blobPathFor(const QString& dbPath);
