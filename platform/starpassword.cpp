#include "platform/starpassword.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

class StarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

}  // namespace

void makeStarPasswordBox(QLineEdit* edit) {
    auto* style = new StarStyle;
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}
