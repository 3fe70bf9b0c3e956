#pragma once
// The owner's password as the key to the daybook: the login's check that
// unlocks the diaries, and the password change that re-wraps the key.
#include "store/diarytable.h"

#include <QString>

namespace ownerkey {

// The login's password check on an open table: when the owner record
// (record 1) holds this user name and password, the daybook's key is
// installed, so that every table object on the table reads and writes its
// diaries, and true is returned. False, and nothing changes, when they do
// not match. Throws EngineError (Damaged) when the owner record
// cannot be read as one.
bool unlock(DiaryTable& table, const QString& user, const QString& password);

struct PasswordChange {
    enum Outcome {
        Changed,       // user + ",your password is " + new + " now!"
        OldWrong,      // "Old password is wrong!"
        NewEmpty,      // "You need enter your new password"
        NewDiffers,    // "The new password and verify must match!"
    };
    Outcome outcome = Changed;
    QString message;
};

// The change of password, its checks in their order. table is a table object
// of its own on the open daybook (opened here when it is not). The key itself
// stays, so no diary is rewritten: only the owner record is, in one
// transaction, and a crash leaves either the old or the new password working.
// Throws EngineError when the table cannot be opened or written; the password
// is then the old one.
PasswordChange changePassword(DiaryTable& table, const QString& user, const QString& oldPassword,
                              const QString& newPassword, const QString& verify);

}  // namespace ownerkey
