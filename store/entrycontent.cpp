#include "store/entrycontent.h"

#include "store/engineerror.h"

namespace {

[[noreturn]] void locked() {
    throw EngineError(EngineError::Kind::Usage,
                      QStringLiteral("The daybook is locked: its diaries open only after the password was given."));
}

}  // namespace

QByteArray LockedContent::seal(const ContentPlace&, const QByteArray&) { locked(); }

QByteArray LockedContent::open(const ContentPlace&, QByteArrayView) { locked(); }
