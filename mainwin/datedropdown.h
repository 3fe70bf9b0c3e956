#pragma once
// The Navigator bar's date drop-down: a narrow box whose drop-down button
// asks for the calendar instead of opening a list.
#include <QComboBox>

class DateDropDown : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override { emit dropDown(); }

signals:
    void dropDown();
};
