#pragma once
// The new daybook window: a user name and a password given twice.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // owner: the login window or the main window it was opened from.
    explicit TForm3(QWidget* owner);

    QLabel* Image1;
    QLabel *StaticText1, *StaticText2, *StaticText3;
    QLineEdit *Edit1, *Edit2, *Edit3;  // user name, password, verify
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3;  // OK, Cancel, Help

    void BitBtn1Click();
    void BitBtn2Click() { close(); }
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override { close(); }
    void done(int) override { close(); }
};
