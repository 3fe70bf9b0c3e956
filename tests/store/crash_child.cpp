// Works on a daybook in a loop and reports each step once it returned, so a
// test can kill it at any moment and check that every reported step is there.
//   crash_child folder table user password posts      appends and edits diaries
//   crash_child folder table user pN passwords        changes the password over
//                                                     and over: pN to pN+1, to pN+2, ...
#include "store/credentials.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"
#include "store/ownerkey.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void posts(DiaryTable& t) {
    for (int i = t.recordCount();; ++i) {
        const QString key = daybook::crealdate(QDate(2000, 1, 1).addDays(i));
        const QByteArray body = QByteArray("entry ") + QByteArray::number(i) + QByteArray(5000, 'x');
        if (i % 3 == 2 && t.recordCount() > 0) {
            // Edits as well as appends: rewrite the first record's content.
            t.first();
            t.edit();
            t.setFieldByName("myrtf", QByteArray("edit ") + QByteArray::number(i));
            t.post();
            std::printf("edit %d\n", i);
        } else {
            t.append();
            t.setFieldByName("mydate", key);
            t.setFieldByName("myrtf", body);
            t.post();
            std::printf("append %d %s\n", i, key.toLatin1().constData());
        }
        std::fflush(stdout);
    }
}

void passwords(DiaryTable& t, const QString& user, const QString& start) {
    QString current = start;
    for (int n = start.mid(1).toInt() + 1;; ++n) {
        const QString next = QStringLiteral("p%1").arg(n);
        if (ownerkey::changePassword(t, user, current, next, next).outcome != ownerkey::PasswordChange::Changed)
            return;
        current = next;
        std::printf("changed %s\n", current.toUtf8().constData());
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 6) return 2;
    const QString user = QString::fromLocal8Bit(argv[3]);
    const QString password = QString::fromLocal8Bit(argv[4]);
    const QByteArray mode = argv[5];
    credentials::setLimitsForTesting(credentials::cheapestLimits());
    DbSession::instance().addPassword(daybook::kTablePassword);
    DiaryTable t;
    t.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    t.setTableName(QString::fromLocal8Bit(argv[2]));
    t.open();
    if (!ownerkey::unlock(t, user, password)) return 3;
    if (mode == "posts") posts(t);
    else if (mode == "passwords") passwords(t, user, password);
    return 4;
}
