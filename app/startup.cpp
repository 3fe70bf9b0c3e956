#include "app/startup.h"

#include "app/splashwindow.h"
#include "login/form2.h"
#include "mainwin/form1.h"
#include "platform/instanceguard.h"
#include "platform/prompter.h"
#include "platform/windowplacement.h"

#include <QApplication>
#include <QCoreApplication>

int runStartup(const StartupOptions& options) {
    // Named first: even the refusal of a second copy carries the program's name.
    QCoreApplication::setApplicationName(QStringLiteral("Scrivlet"));
    // Held until the process ends, however it ends; never released before.
    auto* guard = new InstanceGuard(options.guardName);
    if (!guard->acquire()) {
        delete guard;
        Prompter::instance().message(nullptr, QStringLiteral("Program is runing!"));
        return 0;
    }
    {
        TForm10 splash(options.splashMs);
        windowplacement::centreOnScreen(&splash);
        splash.show();
        splash.repaint();
        // Keep dispatching (the tick arrives as an event) until the splash time is over.
        while (splash.Timer1->isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

        Form1 = new TForm1;
        Form1->show();
        Form2 = new TForm2;
        windowplacement::showOver(Form2, Form1);
        splash.hide();
    }
    if (!options.runLoop) return 0;
    QApplication::exec();
    delete Form2;
    delete Form1;
    return 0;
}
