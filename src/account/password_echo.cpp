#include "account/password_echo.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

class AsteriskStyle : public QProxyStyle {
public:
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void ShowAsterisks(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    // Owned by the window, which outlives the edit's use of it.
    auto* style = new AsteriskStyle;
    style->setParent(edit->window());
    edit->setStyle(style);
}
