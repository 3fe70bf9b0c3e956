#include "store/templatetables.h"

#include "store/sqlite.h"

#include <QFile>
#include "store/cryptobase.h"

namespace {

void writeOne(const QString& path, const char* schemaSql, const char* kind, const QString& gate,
              const QString& identity) {
    QFile::remove(path);
    sql::Connection c;
    c.openOrCreate(path);
    c.exec("PRAGMA journal_mode=DELETE; PRAGMA page_size=4096;");
    c.exec("BEGIN");
    c.exec("CREATE TABLE meta(key TEXT PRIMARY KEY, value)");
    c.exec(schemaSql);
    auto put = [&](const char* key, const QString& value) {
        auto st = c.prepare("INSERT INTO meta(key, value) VALUES(?1, ?2)");
        st.bind(1, QString::fromLatin1(key)).bind(2, value).run();
    };
    put("kind", QString::fromLatin1(kind));
    put("format", QStringLiteral("1"));
    put("identity", identity);
    put("generation", QStringLiteral("0"));
    put("template", QStringLiteral("1"));
    if (!gate.isEmpty()) put("tablepw", gate);
    c.exec("COMMIT");
    c.close();
}

}  // namespace

void createTemplateTables(const QString& dbPath, const QString& mbPath, const QString& tablePassword) {
    const QString gate = cryptobase::tablePasswordDigest(tablePassword);
    // Every copy of the template claims an identity of its own at its first post.
    const QString identity = QStringLiteral("template");
    writeOne(dbPath,
             "CREATE TABLE diary(id INTEGER PRIMARY KEY AUTOINCREMENT, mydate TEXT, mytime TEXT, mycfg TEXT)",
             "scrivlet-daybook-table", gate, identity);
    writeOne(mbPath, "CREATE TABLE blobs(id INTEGER PRIMARY KEY, data BLOB NOT NULL)",
             "scrivlet-daybook-blobs", QString(), identity);
}
