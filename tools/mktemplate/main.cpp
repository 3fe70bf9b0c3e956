// Makes the template tables "diary.db" and "diary.mb" in the given folder.
#include "store/daybook.h"
#include "store/engineerror.h"
#include "store/templatetables.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: scrivlet-mktemplate FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    try {
        createTemplateTables(dir.filePath(QStringLiteral("diary.db")), dir.filePath(QStringLiteral("diary.mb")),
                             daybook::kTablePassword);
    } catch (const EngineError& e) {
        std::fprintf(stderr, "scrivlet-mktemplate: %s\n", e.what());
        return 1;
    }
    return 0;
}
