#include "support/account_settings.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>

#include "account/spin_control.h"
#include "settings/init_parser.h"
#include "support/common.h"
#include "support/modal_script.h"

AccountSettings::AccountSettings()
    : init(dir.filePath("init.xml").toStdString(), view, friends, macros)
{
    view.workDir = dir.path().toStdString();
}

void AccountSettings::Store(const std::string& avatar, const std::string& id, const std::string& password, bool current,
    const std::string& host, int port)
{
    init.AddAccount(std::make_unique<AccountRec>(
        AccountRec{host, port, avatar, id, password, current, !password.empty(), {}, {}, {}, {}, {}, {}, {}}));
}

std::string AccountSettings::File() const
{
    QFile file(QString::fromStdString(init.SettingsPath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string AccountSettings::Stored() const
{
    if (File().empty())
        return "unwritten";
    FakeMainView readerView;
    Friends readerFriends(readerView);
    Macro readerMacros(readerView);
    InitParser reader(init.SettingsPath(), readerView, readerFriends, readerMacros);
    reader.ParseFile();
    std::string out;
    for (const auto& a : reader.Settings().Accounts())
        out += (out.empty() ? "" : "; ") + Describe(*a) + (a->current ? "*" : "");
    return out;
}

std::string AccountSettings::Describe(const AccountRec& a)
{
    return a.avatarName + "@" + a.host + ":" + std::to_string(a.port) + " " + a.accountId + "/" + a.password;
}

std::string AccountSettings::Connections() const
{
    std::string out;
    for (const std::string& c : view.connections)
        out += c + ";";
    return out;
}

void Act(QWidget* dialog, const QStringList& steps)
{
    static const QRegularExpression spinStep("^(\\w+)([+-]\\d+)$");
    for (const QString& step : steps) {
        const qsizetype equals = step.indexOf('=');
        const QRegularExpressionMatch spin = spinStep.match(step);
        if (equals > 0) {
            if (auto* edit = Control<QLineEdit>(dialog, step.left(equals).toLatin1().constData()))
                TypeInto(edit, step.mid(equals + 1));
        } else if (spin.hasMatch()) {
            auto* control = Control<SpinControl>(dialog, spin.captured(1).toLatin1().constData());
            for (int n = spin.captured(2).toInt(); control && n != 0; n += n > 0 ? -1 : 1)
                n > 0 ? control->StepUp() : control->StepDown();
        } else if (!ClickButton(dialog, step.toLatin1().constData())) {
            ADD_FAILURE() << "no button " << step.toStdString();
        }
    }
}

QString Shown(QWidget* dialog, const QStringList& edits)
{
    QStringList shown;
    for (const QString& name : edits)
        if (auto* edit = Control<QLineEdit>(dialog, name.toLatin1().constData()))
            shown << edit->displayText();
    return shown.join('|');
}
