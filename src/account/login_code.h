#pragma once
// The logon conversation: answers the server's login and password prompts
// from the account the player picked in the logon dialog.

#include <cstdint>
#include <string>

#include "settings/init.h"
#include "views/automation.h"

class MainView;
class Login;

// The bundled local game server; only the port is fixed by the game.
inline constexpr char kDefaultHost[] = "localhost";

// Decimal text with an optional sign, read up to the first non-digit; text
// without digits gives 0.
int32_t PortFromText(const std::string& text);

// The logon dialog as the automation sees it: shows the working copy and
// returns once the player has closed it.
class LogonPrompt {
public:
    virtual ~LogonPrompt() = default;
    virtual void Open(Login& login) = 0;
};

// What the player typed into the dialog's edits.
struct LogonEdits {
    std::string host;
    std::string port;
    std::string avatarName;
    std::string accountId;
    std::string password;
    bool savePassword = false;
};

class Login : public Automation {
public:
    enum State { WaitLogin = 0, WaitPassword = 1, WaitVerdict = 2, Refused = 3 };

    // Fills the working copy from the current account and shows the dialog;
    // returns when the dialog has closed.
    Login(MainView& view, Init& init, LogonPrompt& prompt);

    int HandleLine(const std::string& line) override;

    State GetState() const { return state; }
    const AccountRec& WorkingCopy() const { return working; }

    // The dialog's operations. Last returns false when it did not move (on
    // the first entry, or with no entries at all).
    void Next();
    bool Last();
    void Delete();
    void Accept(const LogonEdits& edits, bool modified);

private:
    void CopyIn(const AccountRec& entry);
    void SetDefaultServer();

    MainView& view;
    Init& init;
    LogonPrompt& prompt;
    State state = WaitLogin;
    AccountRec working;
};
