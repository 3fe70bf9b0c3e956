#include "store/cryptobase.h"

#include "store/engineerror.h"

#include <QByteArray>
#include <sodium.h>

namespace cryptobase {

void ensureReady() {
    static const int rc = sodium_init();
    if (rc < 0) throw EngineError(EngineError::Kind::Usage, QStringLiteral("The crypto library cannot start."));
}

QString randomHex(int n) {
    ensureReady();
    QByteArray b(n, Qt::Uninitialized);
    randombytes_buf(b.data(), size_t(n));
    return QString::fromLatin1(b.toHex());
}

QString tablePasswordDigest(const QString& password) {
    ensureReady();
    const QByteArray in = QByteArrayLiteral("scrivlet-table-password:") + password.toUtf8();
    unsigned char out[16];
    crypto_generichash(out, sizeof out, reinterpret_cast<const unsigned char*>(in.constData()),
                       size_t(in.size()), nullptr, 0);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(out), sizeof out).toHex());
}

}  // namespace cryptobase
