#pragma once
// The account-creation conversation: answers the server's questions for a
// new account and avatar from what the player typed in the dialog.

#include <memory>
#include <string>

#include "settings/init.h"
#include "views/automation.h"

class MainView;
class NewAccount;

// The new-account dialog as the automation sees it: returns once the player
// has closed it (after NewAccount::Send or without it).
class NewAccountPrompt {
public:
    virtual ~NewAccountPrompt() = default;
    virtual void Open(NewAccount& account) = 0;
};

// The dialog's values once its checks have passed.
struct NewAccountDetails {
    std::string host;
    std::string port;
    std::string avatarName;
    std::string accountId;
    std::string password;
    bool savePassword = false;
    std::string email;
    std::string species;
    std::string gender; // "male", "female" or "neuter"
    std::string strength;
    std::string stamina;
    std::string dexterity;
    std::string intelligence;
};

class NewAccount : public Automation {
public:
    // The conversation's states; 6 and 12 wait for the dialog after a refusal.
    enum : int {
        WaitLogin = 0,
        WaitIdPrompt = 1,
        WaitPassword = 2,
        WaitConfirm = 3,
        WaitEmail = 4,
        WaitNamePrompt = 5,
        IdRefused = 6,
        WaitSpecies = 7,
        WaitGender = 8,
        WaitStats = 9,
        WaitPlay = 10,
        WaitLink = 11,
        NameRefused = 12,
    };

    // Starts at state 0 with a record for the default server and shows the
    // dialog; returns when it has closed.
    NewAccount(MainView& view, Init& init, NewAccountPrompt& prompt);
    ~NewAccount() override;

    int HandleLine(const std::string& line) override;

    // "Send to Server": stores the details, then connects, answers the
    // refused account ID, or waits for the name prompt again, by state.
    void Send(const NewAccountDetails& details);

    int State() const { return state; }
    const AccountRec& Record() const { return *record; }

private:
    MainView& view;
    Init& init;
    NewAccountPrompt& prompt;
    int state = WaitLogin;
    // Owned here until the first Send hands it to the settings' list, which
    // owns it from then on; `record` points at it in both cases.
    std::unique_ptr<AccountRec> ownRecord;
    AccountRec* record = nullptr;
};
