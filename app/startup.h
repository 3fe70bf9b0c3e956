#pragma once
// The program's entry sequence: one copy only, the splash, the main window,
// the login window, the message loop.
#include <QString>

struct StartupOptions {
    QString guardName = QStringLiteral("Scrivlet");
    int splashMs = 1000;
    bool runLoop = true;  // tests drive the windows themselves
};

// Returns the process's exit code.
int runStartup(const StartupOptions& options = {});
