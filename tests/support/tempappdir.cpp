#include "tests/support/tempappdir.h"

#include "platform/appdirs.h"

#include <QFile>
#include <QtTest>

TempAppDir::TempAppDir(bool withTemplates) {
    QVERIFY2(dir_.isValid(), "cannot make a temporary program folder");
    if (withTemplates) {
        for (const char* name : {"diary.db", "diary.mb"}) {
            const QString from = buildAppDir() + QLatin1String(name);
            if (!QFile::copy(from, path() + QLatin1String(name)))
                qFatal("template %s missing: build the scrivlet_templates target", qPrintable(from));
        }
    }
    appdirs::setForTesting(path(), path());
}

TempAppDir::~TempAppDir() { appdirs::resetForTesting(); }

QString TempAppDir::path() const { return dir_.path() + QLatin1Char('/'); }

QString TempAppDir::buildAppDir() { return QStringLiteral(SCRIVLET_BUILD_APPDIR "/"); }
