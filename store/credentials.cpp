#include "store/credentials.h"

#include "store/cryptobase.h"
#include "store/engineerror.h"

#include <sodium.h>

namespace credentials {

QString makeConfig(const QString& user, const QString& password) {
    cryptobase::ensureReady();
    const QByteArray pw = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, pw.constData(), size_t(pw.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw EngineError(EngineError::Kind::Usage, QStringLiteral("Not enough memory to protect the password."));
    return user + QLatin1Char('?') + QString::fromLatin1(hash);
}

bool checkConfig(const QString& config, const QString& user, const QString& password) {
    const QString prefix = user + QLatin1Char('?');
    if (config.isEmpty() || !config.startsWith(prefix, Qt::CaseSensitive)) return false;
    cryptobase::ensureReady();
    const QByteArray hash = config.mid(prefix.size()).toLatin1();
    const QByteArray pw = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), pw.constData(), size_t(pw.size())) == 0;
}

}  // namespace credentials
