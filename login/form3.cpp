#include "login/form3.h"

#include "editor/richedit.h"
#include "login/form2.h"
#include "mainwin/form1.h"
#include "mainwin/statuspanels.h"
#include "platform/prompter.h"
#include "platform/starpassword.h"
#include "platform/windowplacement.h"
#include "store/daybookcreation.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

TForm3::TForm3(QWidget*) : QDialog(nullptr) {
    // Not a Qt child of its owner: a disabled owner would disable it too.
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("New daybook"));
    setAccessibleName(QStringLiteral("New daybook"));
    Image1 = new QLabel(this);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogNewFolder).pixmap(32, 32));
    Image1->setAccessibleName(QStringLiteral("New daybook"));
    auto box = [this](QLabel*& label, QLineEdit*& edit, const QString& caption, const char* name, bool secret) {
        label = new QLabel(caption, this);
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(15);
        edit->setAccessibleName(caption);
        if (secret) makeStarPasswordBox(edit);
        label->setBuddy(edit);
    };
    box(StaticText1, Edit1, QStringLiteral("User name"), "Edit1", false);
    box(StaticText2, Edit2, QStringLiteral("Password"), "Edit2", true);
    box(StaticText3, Edit3, QStringLiteral("Verify"), "Edit3", true);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    BitBtn3 = new QPushButton(QStringLiteral("&Help"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(StaticText1, 0, 1);
    grid->addWidget(Edit1, 0, 2);
    grid->addWidget(StaticText2, 1, 1);
    grid->addWidget(Edit2, 1, 2);
    grid->addWidget(StaticText3, 2, 1);
    grid->addWidget(Edit3, 2, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) buttons->addWidget(b);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm3::BitBtn2Click);
}

void TForm3::BitBtn1Click() {
    Prompter& prompt = Prompter::instance();
    Edit1->setText(Edit1->text().trimmed());
    const QString user = Edit1->text();
    const QString password = Edit2->text();
    const NewDaybookResult r = createDaybook(Form1->AppDir, Form1->DataDir, user, password, Edit3->text());
    switch (r.outcome) {
    case NewDaybookResult::Created: break;
    case NewDaybookResult::EmptyName:
        prompt.message(this, r.message);
        Edit2->clear();
        Edit3->clear();
        return;
    case NewDaybookResult::NameTaken:
        prompt.message(this, r.message);
        Edit1->clear();
        return;
    case NewDaybookResult::PasswordsDiffer:
        prompt.message(this, r.message);
        Edit2->clear();
        Edit3->clear();
        return;
    case NewDaybookResult::UnusableName:
        prompt.message(this, r.message);
        Edit1->setFocus();
        Edit1->selectAll();
        return;
    default:
        prompt.message(this, r.message, r.outcome == NewDaybookResult::WriteFailed ? Prompter::Icon::Error
                                                                                   : Prompter::Icon::None);
        return;
    }
    Form2->Edit1->setText(user);
    if (!Form1->currentUser.isEmpty()) {
        if (prompt.confirm(this, user + QStringLiteral("ID has been created.") +
                                     QStringLiteral("Do you want to use new name login?"))) {
            try {
                Form1->write();
            } catch (const std::exception& e) {
                // The shown diary could not be saved: stay in the open daybook.
                showError(this, e);
                close();
                return;
            }
            Form1->closeTable1();
            Form1->currentUser.clear();
            // Nothing of the closed daybook stays on screen behind the login.
            Form1->RichEdit1->clear();
            Form1->RichEdit1->setModified(false);
            Form1->TreeView1->clear();
            for (int i : {0, 1, 3}) Form1->StatusBar1->setPanelText(i, QString());
            Form2->Edit1->setText(user);
            Form2->Edit2->setText(password);
        }
        close();
        return;
    }
    prompt.message(this, user + QStringLiteral("  your password is ") + password +
                             QStringLiteral(".You can use it login now!"),
                   Prompter::Icon::Information);
    Form2->Edit1->setText(user);
    close();
}

void TForm3::FormClose() {
    if (!Form1->currentUser.isEmpty()) {
        Form1->setEnabled(true);
        Form1->activateWindow();
    } else {
        windowplacement::showOver(Form2, Form1);
        // With the new name filled in, the password is what the user types next.
        if (!Form2->Edit1->text().isEmpty()) Form2->Edit2->setFocus();
    }
}

void TForm3::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}
