#pragma once
// Settings in a fresh temporary folder for the account tests, with a
// recording main window and no friends or macros.

#include <string>

#include <QTemporaryDir>

#include "settings/init.h"
#include "support/fake_mainview.h"

class AccountSettings {
public:
    AccountSettings();

    // Appends a stored account as if read from init.xml.
    AccountRec* Store(const std::string& avatar, const std::string& id, const std::string& password,
                      bool current = false, const std::string& host = "kyrn.example",
                      int port = 30003);
    // The whole init.xml, or empty when it was never written.
    std::string File() const;
    // Only the account blocks of init.xml.
    std::string AccountBlocks() const;

private:
    class NoFriends : public FriendsSettings {
    public:
        void SetRanks(uint32_t) override {}
        void SetAudio() override {}
        void AddName(const std::string&) override {}
        std::string FriendsBlock() const override { return {}; }
    };
    class NoMacros : public MacroSettings {
    public:
        void SetMacro(int, std::vector<std::string>) override {}
        std::string MacroBlocks() const override { return {}; }
    };

    QTemporaryDir dir;
    NoFriends friends;
    NoMacros macros;

public:
    FakeMainView view;
    Init init;
};
