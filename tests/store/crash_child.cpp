// Posts to a daybook in a loop and reports each post once it returned, so a
// test can kill it at any moment and check that every reported post is there.
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/diarytable.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString table = QString::fromLocal8Bit(argv[2]);
    DbSession::instance().addPassword(daybook::kTablePassword);
    DiaryTable t;
    t.setDatabaseName(folder);
    t.setTableName(table);
    t.open();
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
