#pragma once
// What the account tests share: settings in a fresh temporary folder with a
// recording main window and the real, empty, friends list and macros; the
// dialogs played by a script; a player's steps in a real dialog.

#include <deque>
#include <functional>
#include <string>

#include <QStringList>
#include <QTemporaryDir>

#include "macros/macro.h"
#include "settings/init.h"
#include "social/friends_code.h"
#include "support/fake_mainview.h"

class QWidget;

class AccountSettings {
    QTemporaryDir dir;

public:
    AccountSettings();

    // Appends a stored account as if read from init.xml.
    void Store(const std::string& avatar, const std::string& id, const std::string& password, bool current = false,
        const std::string& host = "kyrn.example", int port = 30003);
    // The whole init.xml, or empty when it was never written.
    std::string File() const;
    // The accounts init.xml holds, read back as start-up reads them, each as
    // Describe gives it with '*' for the current one, joined by "; ";
    // "unwritten" when there is no file.
    std::string Stored() const;
    // "Ann@host:port annid/password".
    static std::string Describe(const AccountRec& a);
    // Each connection opened, as "host:port avatar;".
    std::string Connections() const;

    FakeMainView view;

private:
    Friends friends{view};
    Macro macros{view};

public:
    Init init;
};

// Stands in for a dialog as its automation sees it: each opening runs the
// next action; with none left the player cancels.
template <class Prompt, class Owner>
class ScriptedPrompt : public Prompt {
public:
    std::deque<std::function<void(Owner&)>> actions;
    int opened = 0;

    void Open(Owner& owner) override
    {
        ++opened;
        if (actions.empty())
            return;
        auto action = std::move(actions.front());
        actions.pop_front();
        action(owner);
    }
};

// A player's steps in a dialog: "Edit=text" types into the edit, "Spin+3"
// or "Spin-3" steps the spin control, any other step clicks that button.
void Act(QWidget* dialog, const QStringList& steps);
// What the named edits show (passwords as asterisks), joined by '|'.
QString Shown(QWidget* dialog, const QStringList& edits);
