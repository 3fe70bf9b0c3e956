#pragma once
// A fresh daybook table in a temporary folder, made from the real templates,
// whose diaries are sealed with a key of the fixture's own.
#include "store/credentials.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"
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
