#pragma once
// A fresh daybook table in a temporary folder, made from the real templates,
// whose diaries are sealed with a key of the fixture's own.
#include "store/credentials.h"
#include "store/daybook.h"
#include "store/daybookcreation.h"
#include "store/dbsession.h"
#include "store/diarytable.h"
#include "store/ownerkey.h"
#include "store/sealedcontent.h"
#include "tests/support/tempappdir.h"

#include <QFile>
#include <memory>

struct StoreFixture {
    TempAppDir app;
    daybook::Files files;
    std::shared_ptr<DataKey> key = DataKey::random();

    explicit StoreFixture(const QString& user = QStringLiteral("anna")) {
        DbSession::instance().resetForTesting();
        credentials::setLimitsForTesting(credentials::cheapestLimits());
        files = daybook::filesFor(app.path(), user);
        QDir().mkpath(files.folder);
        QFile::copy(app.path() + QStringLiteral("diary.db"), files.db);
        QFile::copy(app.path() + QStringLiteral("diary.mb"), files.mb);
        QFile::setPermissions(files.db, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(files.mb, QFile::ReadOwner | QFile::WriteOwner);
        DbSession::instance().addPassword(daybook::kTablePassword);
    }
    ~StoreFixture() { DbSession::instance().resetForTesting(); }

    // A table object on the daybook, unlocked with the fixture's key.
    std::unique_ptr<DiaryTable> table() const {
        auto t = std::make_unique<DiaryTable>();
        t->setDatabaseName(files.folder);
        t->setTableName(QFileInfo(files.db).fileName());
        t->open();
        if (!t->tableFile()->unlocked()) t->tableFile()->setContentCodec(std::make_shared<SealedContent>(key));
        return t;
    }

    // Appends records with these dates and content "<date>-text".
    static void fill(DiaryTable& t, const QStringList& dates) {
        for (const QString& d : dates) {
            t.append();
            t.setFieldByName(QStringLiteral("mydate"), d);
            t.setFieldByName(QStringLiteral("mytime"), QStringLiteral("10:00:00"));
            t.setFieldByName(QStringLiteral("myrtf"), (d + QStringLiteral("-text")).toUtf8());
            t.post();
        }
    }
};

// A daybook made as the program makes it: owner record, data key, password.
struct CreatedDaybook {
    TempAppDir app;
    QString user;
    daybook::Files files;

    explicit CreatedDaybook(const QString& password, const QString& name = QStringLiteral("anna")) : user(name) {
        DbSession::instance().resetForTesting();
        credentials::setLimitsForTesting(credentials::cheapestLimits());
        files = daybook::filesFor(app.path(), user);
        createDaybook(app.path(), app.path(), user, password, password);
    }
    // A table object of a fresh session, as after a restart: still locked.
    std::unique_ptr<DiaryTable> reopen() const {
        DbSession::instance().resetForTesting();
        DbSession::instance().addPassword(daybook::kTablePassword);
        return another();
    }
    // Another table object in the same session.
    std::unique_ptr<DiaryTable> another() const {
        auto t = std::make_unique<DiaryTable>();
        t->setDatabaseName(files.folder);
        t->setTableName(user + QStringLiteral(".db"));
        t->open();
        return t;
    }
    // Gives record 1 the first diary and appends the others (dated 2001-1-i).
    void write(const QString& password, const QList<QByteArray>& diaries) const {
        auto t = reopen();
        ownerkey::unlock(*t, user, password);
        t->edit();
        t->setFieldByName(QStringLiteral("myrtf"), diaries.value(0));
        t->post();
        for (int i = 1; i < diaries.size(); ++i) {
            t->append();
            t->setFieldByName(QStringLiteral("mydate"), daybook::crealdate(QDate(2001, 1, i)));
            t->setFieldByName(QStringLiteral("myrtf"), diaries[i]);
            t->post();
        }
    }
};
