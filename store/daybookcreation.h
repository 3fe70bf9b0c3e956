#pragma once
// Making a new daybook: the checks in their order, the folder, the copies of
// the template tables and the owner record.
#include <QString>

struct NewDaybookResult {
    enum Outcome {
        Created,
        EmptyName,          // "You must enter the user name!"
        UnusableName,       // the name cannot be a folder name
        NameTaken,          // "The user name has existed,please change to another one!"
        EmptyPassword,      // "You must enter the password!"
        PasswordsDiffer,    // "The new password and verify must match!"
        FolderFailed,       // "can'not create" + folder
        TemplatesMissing,   // "Can't find diary.db,diary.mb files"
        WriteFailed,        // copying the templates or writing the owner record failed
    };
    Outcome outcome = Created;
    QString message;  // what to tell the user (empty when created)
};

// user is the trimmed user name. Templates come from programDir, the daybook
// goes into dataDir; "today" and "now" come from the clock.
NewDaybookResult createDaybook(const QString& programDir, const QString& dataDir, const QString& user,
                               const QString& password, const QString& verify);
