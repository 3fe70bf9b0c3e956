#include "store/ownerkey.h"

#include "store/credentials.h"
#include "store/cryptobase.h"
#include "store/sealedcontent.h"

#include <sodium.h>

namespace ownerkey {

namespace {

const QString kMycfg = QStringLiteral("mycfg");

QString ownerRecord(TableFile& tf) {
    return tf.count() == 0 ? QString() : tf.readTexts(tf.idAt(0)).mycfg;
}

// Daybooks made before their content was encrypted hold a password hash and
// plain diaries. The first right password encrypts them all and replaces the
// hash by a wrapped key, in one transaction.
bool isPlainDaybook(const QString& config, const QString& user) {
    return config.startsWith(user + QStringLiteral("?$argon2id$"), Qt::CaseSensitive);
}

std::shared_ptr<DataKey> encryptPlainDaybook(TableFile& tf, const QString& config, const QString& user,
                                             const QString& password) {
    cryptobase::ensureReady();
    const QByteArray hash = config.mid(user.size() + 1).toLatin1();
    QByteArray pw = password.toUtf8();
    const bool right = crypto_pwhash_str_verify(hash.constData(), pw.constData(), size_t(pw.size())) == 0;
    sodium_memzero(pw.data(), size_t(pw.size()));
    if (!right) return nullptr;
    auto owner = credentials::makeConfig(user, password);
    SealedContent codec(owner.key);
    const qint64 ownerId = tf.idAt(0);
    // The plain pages the rewrite frees are zeroed, not left in the files.
    auto& conn = tf.connection();
    conn.exec("PRAGMA main.secure_delete=ON; PRAGMA mb.secure_delete=ON;");
    struct Restore {
        sql::Connection& c;
        ~Restore() { sqlite3_exec(c.handle(), "PRAGMA main.secure_delete=OFF; PRAGMA mb.secure_delete=OFF;", nullptr, nullptr, nullptr); }
    } restore{conn};
    tf.writeTransaction([&] {
        auto& c = tf.connection();
        auto read = c.prepare("SELECT id, data FROM mb.blobs ORDER BY id");
        auto write = c.prepare("UPDATE mb.blobs SET data=?2 WHERE id=?1");
        while (read.step()) {
            const qint64 id = read.int64(0);
            write.bind(1, id).bindBlob(2, codec.seal({tf.identity(), id}, read.blob(1))).run();
            write.reset();
        }
        auto cfg = c.prepare("UPDATE main.diary SET mycfg=?1 WHERE id=?2");
        cfg.bind(1, owner.config).bind(2, ownerId).run();
    });
    return owner.key;
}

}  // namespace

bool unlock(DiaryTable& table, const QString& user, const QString& password) {
    if (!table.active()) table.open();
    TableFile& tf = *table.tableFile();
    const QString config = ownerRecord(tf);
    const auto key = isPlainDaybook(config, user) ? encryptPlainDaybook(tf, config, user, password)
                                                  : credentials::unwrapKey(config, user, password);
    if (!key) return false;
    tf.setContentCodec(std::make_shared<SealedContent>(key));
    return true;
}

PasswordChange changePassword(DiaryTable& table, const QString& user, const QString& oldPassword,
                              const QString& newPassword, const QString& verify) {
    using R = PasswordChange;
    if (!table.active()) table.open();
    table.first();
    const auto key = credentials::unwrapKey(table.stringField(kMycfg), user, oldPassword);
    if (!key) return {R::OldWrong, QStringLiteral("Old password is wrong!")};
    if (newPassword.isEmpty() && verify.isEmpty())
        return {R::NewEmpty, QStringLiteral("You need enter your new password")};
    if (newPassword != verify) return {R::NewDiffers, QStringLiteral("The new password and verify must match!")};
    // The slow derivation happens before the write, which is one short transaction.
    const QString config = credentials::wrapConfig(user, newPassword, *key, credentials::newKeyLimits());
    table.edit();
    try {
        table.setFieldByName(kMycfg, config);
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
    return {R::Changed, user + QStringLiteral(",your password is ") + newPassword + QStringLiteral(" now!")};
}

}  // namespace ownerkey
