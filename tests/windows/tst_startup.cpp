// Start-up: one copy only, the windows it makes, and the way out.
#include "app/startup.h"
#include "login/form2.h"
#include "mainwin/form1.h"
#include "platform/instanceguard.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempappdir.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString uniqueGuard(const char* what) {
    return QStringLiteral("ScrivletTest-%1-%2").arg(getpid()).arg(QLatin1String(what));
}
}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefused();
    void guardIsReleasedWhenItsOwnerIsKilled();
    void windowsAtStart();
    void cancellingTheLoginEndsTheProgram();
};

void TestStartup::secondCopyIsRefused() {
    TempAppDir app;
    ScriptedPrompter prompt;
    InstanceGuard first(uniqueGuard("second"));
    QVERIFY(first.acquire());
    StartupOptions o;
    o.guardName = uniqueGuard("second");
    o.splashMs = 0;
    o.runLoop = false;
    QCOMPARE(runStartup(o), 0);
    QCOMPARE(prompt.messages(), QStringList{"Program is runing!"});
    QVERIFY(!Form1);
    QVERIFY(!Form2);
    QVERIFY(first.owned());  // the first copy is unaffected
}

void TestStartup::guardIsReleasedWhenItsOwnerIsKilled() {
    const QString name = uniqueGuard("killed");
    int ready[2];
    QCOMPARE(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        InstanceGuard g(name);
        const char ok = g.acquire() ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    QCOMPARE(read(ready[0], &ok, 1), ssize_t(1));
    QCOMPARE(ok, 'y');
    InstanceGuard mine(name);
    QVERIFY(!mine.acquire());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    QVERIFY(mine.acquire());
}

void TestStartup::windowsAtStart() {
    TempAppDir app;
    ScriptedPrompter prompt;
    StartupOptions o;
    o.guardName = uniqueGuard("windows");
    o.splashMs = 50;
    o.runLoop = false;
    QElapsedTimer t;
    t.start();
    QCOMPARE(runStartup(o), 0);
    QVERIFY(t.elapsed() >= 50);  // the splash stood for its interval
    QVERIFY(Form1 && Form1->isVisible());
    QVERIFY(!Form1->isEnabled());
    QVERIFY(Form2 && Form2->isVisible() && Form2->isEnabled());
    QCOMPARE(Form2->windowTitle(), QString("Open Scrivlet"));
    QCOMPARE(Form2->Edit1->text(), QString());
    QVERIFY(prompt.prompts.isEmpty());
    delete Form2;
    delete Form1;
}

void TestStartup::cancellingTheLoginEndsTheProgram() {
    TempAppDir app;
    ScriptedPrompter prompt;
    StartupOptions o;
    o.guardName = uniqueGuard("cancel");
    o.splashMs = 0;
    bool enabledEver = false;
    QTimer::singleShot(100, [&] {
        enabledEver = Form1->isEnabled();
        Form2->BitBtn2Click();
    });
    QCOMPARE(runStartup(o), 0);  // the loop ended
    QVERIFY(!enabledEver);
    QVERIFY(!Form1);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
