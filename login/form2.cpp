#include "login/form2.h"

#include "editor/richedit.h"
#include "login/form3.h"
#include "mainwin/form1.h"
#include "mainwin/statuspanels.h"
#include "platform/clock.h"
#include "platform/inifile.h"
#include "platform/machinestore.h"
#include "platform/prompter.h"
#include "platform/starpassword.h"
#include "platform/windowplacement.h"
#include "store/ownerkey.h"
#include "store/daybook.h"
#include "store/dbsession.h"
#include "store/engineerror.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

TForm2* Form2 = nullptr;

namespace {

const QString kLastNameKey = QStringLiteral("SOFTWARE\\VKR77\\lastname");
const QString kLastNameValue = QStringLiteral("Lastname");

void failedToSetData() {
    Prompter::instance().message(nullptr, QStringLiteral("Failed to set data for '%1'").arg(kLastNameValue));
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Open Scrivlet"));
    setAccessibleName(QStringLiteral("Open Scrivlet"));
    setModal(false);

    Image1 = new QLabel(this);
    Image1->setPixmap(QApplication::windowIcon().isNull()
                          ? style()->standardIcon(QStyle::SP_DialogOpenButton).pixmap(32, 32)
                          : QApplication::windowIcon().pixmap(32, 32));
    Image1->setFixedSize(32, 32);
    Image1->setAccessibleName(QStringLiteral("Scrivlet"));

    StaticText1 = new QLabel(QStringLiteral("User name"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(15);
    QFont big = Edit1->font();
    big.setPointSize(12);
    big.setBold(true);
    Edit1->setFont(big);
    StaticText1->setBuddy(Edit1);
    Edit1->setAccessibleName(QStringLiteral("User name"));

    StaticText2 = new QLabel(QStringLiteral("Password"), this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(15);
    makeStarPasswordBox(Edit2);
    StaticText2->setBuddy(Edit2);
    Edit2->setAccessibleName(QStringLiteral("Password"));

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn3 = new QPushButton(QStringLiteral("Creat new"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    hlpbutton = new QPushButton(QStringLiteral("&Help"), this);
    hlpbutton->setObjectName(QStringLiteral("hlpbutton"));
    hlpbutton->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(StaticText1, 0, 1);
    grid->addWidget(Edit1, 0, 2);
    grid->addWidget(StaticText2, 1, 1);
    grid->addWidget(Edit2, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BitBtn1, BitBtn3, BitBtn2, hlpbutton}) buttons->addWidget(b);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, BitBtn1);
    setTabOrder(BitBtn1, BitBtn3);
    setTabOrder(BitBtn3, BitBtn2);
    setTabOrder(BitBtn2, hlpbutton);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm2::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);

    // FormCreate: the name of the last login attempt.
    Edit1->setText(olderuser());
    if (!Edit1->text().isEmpty()) Edit2->setFocus();
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}

QString TForm2::machineStorePath() { return Form1->DataDir + QStringLiteral("machine.ini"); }

QString TForm2::olderuser() {
    MachineStore store(machineStorePath());
    if (store.keyExists(kLastNameKey)) return store.readString(kLastNameKey, kLastNameValue).value_or(QString());
    const QString name = Edit1->text().trimmed();
    if (!store.writeString(kLastNameKey, kLastNameValue, name)) failedToSetData();
    return name;
}

bool TForm2::writename() {
    MachineStore store(machineStorePath());
    if (store.writeString(kLastNameKey, kLastNameValue, Edit1->text().trimmed())) return true;
    failedToSetData();
    return false;
}

void TForm2::BitBtn3Click() {
    hide();
    auto* w = new TForm3(this);
    windowplacement::showOver(w, Form1);
}

// exit, not quit: quit asks every window to close, and the main window
// refuses while no daybook is open.
void TForm2::BitBtn2Click() { QCoreApplication::exit(0); }

void TForm2::FormClose() { QCoreApplication::exit(0); }

void TForm2::closeEvent(QCloseEvent* event) {
    event->accept();
    FormClose();
}

void TForm2::BitBtn1Click() {
    if (!writename()) return;
    Edit1->setText(Edit1->text().trimmed());
    const QString user = Edit1->text();
    const QString password = Edit2->text();
    Prompter& prompt = Prompter::instance();
    if (user.isEmpty()) {
        prompt.message(this, QStringLiteral(
            "You must enter the user name or click \"Create new\" button to creat a new daybook"));
        return;
    }
    if (password.isEmpty()) {
        prompt.message(this, QStringLiteral("You must enter the password!"));
        return;
    }
    // A name that cannot be a folder name never reaches the file system.
    const bool usable = !daybook::nameProblem(user).has_value();
    if (!usable || !daybook::exists(daybook::filesFor(Form1->DataDir, user))) {
        prompt.message(this, QStringLiteral("User Name does not Exsited"));
        Edit1->clear();
        Edit2->clear();
        return;
    }
    if (!Form1->Table1) Form1->makeTable1();
    Form1->Timer1->start();
    openSession();
}

void TForm2::openSession() {
    const QString user = Edit1->text();
    const daybook::Files files = daybook::filesFor(Form1->DataDir, user);
    DiaryTable& table = *Form1->Table1;
    Prompter& prompt = Prompter::instance();
    try {
        table.close();
        table.setDatabaseName(files.folder);
        table.setTableName(user + QStringLiteral(".db"));
        DbSession::instance().addPassword(daybook::kTablePassword);
        table.open();
        // The right password unwraps the daybook's key and unlocks its diaries.
        if (!ownerkey::unlock(table, user, Edit2->text())) {
            prompt.message(this, QStringLiteral("Password is wrong!!!"));
            Edit2->clear();
            table.close();
            return;
        }
        init();
    } catch (const IniWriteError& e) {
        // Without its settings file the daybook cannot keep what the session changes.
        table.close();
        prompt.message(this, e.text(), Prompter::Icon::Error);
        return;
    } catch (const EngineError&) {
        table.close();
        offerRestore();
        return;
    } catch (const std::exception& e) {
        table.close();
        showError(this, e);
        return;
    }

    EntryLifecycle& entries = Form1->entries;
    const QString today = daybook::crealdate(Clock::instance().today());
    if (Form1->searchdate(today)) {
        Form1->currentUser = user;
        entries.currentKey = table.stringField(QStringLiteral("mydate"));
        entries.newEntry = false;
        if (!entries.loadCurrentRecord())
            prompt.message(this, today + QStringLiteral(" Loading Wrong!"));
        Form1->menus->Deletecurrentdiary1->setEnabled(true);
        Form1->fontBoxesFromCaret();
        Form1->refreshStatusLine();
    } else {
        Form1->Timer1->start();
        entries.newEntry = true;
        Form1->menus->Deletecurrentdiary1->setEnabled(false);
        Form1->StatusBar1->setPanelText(3, QStringLiteral(" Keeping a diary for today."));
        Form1->currentUser = user;
        entries.currentKey = today;
        Form1->fontBoxesFromDefault();
        Form1->RichEdit1->clear();
        entries.addTemplate();
    }
    Form1->buildtree();
    hide();
    Form1->setEnabled(true);
    // A daybook opened on the day it was made shows the template in its first diary.
    if (table.recordCount() == 1 && Form1->RichEdit1->toPlainText().isEmpty()) entries.addTemplate();
    // The template alone is never stored.
    Form1->RichEdit1->setModified(false);
    Form1->StatusBar1->setPanelText(1, user);
    Form1->Timer1Timer();
    Form1->activateWindow();
    Form1->RichEdit1->setFocus();
}

void TForm2::offerRestore() {
    Prompter& prompt = Prompter::instance();
    if (!prompt.confirm(this, QStringLiteral("Diary data file may be destroyed!Auto restore?"))) return;
    QString error;
    switch (daybook::restore(daybook::filesFor(Form1->DataDir, Edit1->text()), &error)) {
    case daybook::RestoreResult::Restored:
        prompt.message(this, QStringLiteral("Auto restore successfully!You can login now!"));
        break;
    case daybook::RestoreResult::BackupMissing:
        prompt.message(this, QStringLiteral("Backup files do not exist!"));
        break;
    case daybook::RestoreResult::CopyFailed:
        prompt.message(this, error, Prompter::Icon::Error);
        break;
    }
}
