#pragma once
// The login window: the gate to a daybook.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    QLabel* Image1;
    QLabel* StaticText1;
    QLineEdit* Edit1;  // user name
    QLabel* StaticText2;
    QLineEdit* Edit2;  // password
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn3;  // Creat new
    QPushButton* BitBtn2;  // Cancel
    QPushButton* hlpbutton;

    // The remembered user name of the last OK (a per-machine value).
    QString olderuser();
    bool writename();
    static QString machineStorePath();

    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn2Click();
    void FormClose();
    // Applies the daybook's settings to the main window.
    void init();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override { BitBtn2Click(); }

private:
    void openSession();
    void offerRestore();
};

extern TForm2* Form2;
