#include "store/daybookcreation.h"

#include "platform/clock.h"
#include "platform/localeformat.h"
#include "platform/securefs.h"
#include "store/credentials.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"

#include <QDir>
#include <QFileInfo>

NewDaybookResult createDaybook(const QString& programDir, const QString& dataDir, const QString& user,
                               const QString& password, const QString& verify) {
    using R = NewDaybookResult;
    if (user.isEmpty()) return {R::EmptyName, QStringLiteral("You must enter the user name!")};
    if (auto problem = daybook::nameProblem(user)) return {R::UnusableName, *problem};
    const daybook::Files f = daybook::filesFor(dataDir, user);
    if (QFileInfo::exists(f.folder) || QFileInfo::exists(f.db))
        return {R::NameTaken, QStringLiteral("The user name has existed,please change to another one!")};
    if (password.isEmpty() && verify.isEmpty())
        return {R::EmptyPassword, QStringLiteral("You must enter the password!")};
    if (password != verify)
        return {R::PasswordsDiffer, QStringLiteral("The new password and verify must match!")};
    if (!securefs::makePrivateDir(f.folder))
        return {R::FolderFailed, QStringLiteral("can'not create") + QDir::toNativeSeparators(f.dir)};
    const QString tdb = QDir(programDir).filePath(QStringLiteral("diary.db"));
    const QString tmb = QDir(programDir).filePath(QStringLiteral("diary.mb"));
    if (!QFileInfo::exists(tdb) || !QFileInfo::exists(tmb))
        return {R::TemplatesMissing, QStringLiteral("Can't find diary.db,diary.mb files")};
    QString error;
    if (!securefs::copyFile(tdb, f.db, &error) || !securefs::copyFile(tmb, f.mb, &error))
        return {R::WriteFailed, error};
    try {
        const QDateTime now = Clock::instance().now();
        DbSession::instance().addPassword(daybook::kTablePassword);
        DiaryTable table;
        table.setDatabaseName(f.folder);
        table.setTableName(user + QStringLiteral(".db"));
        table.open();
        table.append();
        table.setFieldByName(QStringLiteral("mycfg"), credentials::makeConfig(user, password).config);
        table.setFieldByName(QStringLiteral("mydate"), daybook::crealdate(now.date()));
        table.setFieldByName(QStringLiteral("mytime"), localefmt::longTime(now.time()));
        table.post();
        table.close();
    } catch (const EngineError& e) {
        return {R::WriteFailed, e.message()};
    }
    return {R::Created, QString()};
}
