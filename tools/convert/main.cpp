// scrivlet-convert IN OUT: converts between .rtf, .txt and .html files.
#include "tools/convert/convert.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // A command-line tool needs no display, and Qt's notes about its environment
    // are no business of the user's: only its errors are shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr,
                     "usage: scrivlet-convert IN OUT\n"
                     "Converts between .rtf, .txt and .html files, chosen by extension.\n"
                     "Text is read as UTF-8, or in the system's ANSI code page when it is not\n"
                     "valid UTF-8, and written as UTF-8.\n");
        return 2;
    }
    QString error;
    if (!convert::convertFile(args[1], args[2], &error)) {
        std::fprintf(stderr, "scrivlet-convert: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
