#pragma once
// The settings model behind init.xml: stored accounts and the few options
// that are not kept in the main window's controls.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class MainView;

// One stored account. The last seven fields are filled by new-account
// creation and never written to the file.
struct AccountRec {
    std::string host;
    int32_t port = 0;
    std::string avatarName;
    std::string accountId;
    std::string password;
    bool current = false;
    bool savePassword = false;

    std::string email;
    std::string species;
    std::string gender;
    std::string strength;
    std::string stamina;
    std::string dexterity;
    std::string intelligence;
};

// Entries are owned by the list; pointers handed out stay valid until the
// entry is deleted.
using AccountsList = std::list<std::unique_ptr<AccountRec>>;

// The friends list as the settings file sees it.
class FriendsSettings {
public:
    virtual ~FriendsSettings() = default;
    virtual void SetRanks(uint32_t ranks) = 0;
    virtual void SetAudio() = 0;
    virtual void AddName(const std::string& name) = 0;
    // The whole friends-list block, or empty when there is nothing to write.
    virtual std::string FriendsBlock() const = 0;
};

// The F-key macro store as the settings file sees it.
class MacroSettings {
public:
    virtual ~MacroSettings() = default;
    // Keys 1 to 12 replace that key's macro; any other key is discarded.
    virtual void SetMacro(int key, std::vector<std::string> commandLines) = 0;
    // The macro blocks of keys 1 to 12, in key order.
    virtual std::string MacroBlocks() const = 0;
};

inline constexpr int32_t kDefaultBackgroundColour = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kDefaultPort = 30003;

class Init {
public:
    Init(std::string settingsPath, MainView& view, FriendsSettings& friends, MacroSettings& macros);

    Init(const Init&) = delete;
    Init& operator=(const Init&) = delete;

    // Rewrites the whole file from the model and the window. The new file is
    // written completely before it replaces the old one and is readable by
    // its owner only. False (after telling the player) when it could not be
    // written; the old file then stays as it was.
    bool WriteSettings();

    // The first current entry; with none current, the first entry becomes
    // current. Null for an empty list.
    AccountRec* GetCurrentAccount();
    // Moves the current mark to the next entry; past the last none is current.
    AccountRec* NextAccount();
    // Moves the current mark back; stays on the first; with none current the
    // last entry becomes current.
    AccountRec* PreviousAccount();
    // Deletes the current entry, writes the file, and makes the first entry
    // current. The deleted entry's pointer is dangling afterwards.
    AccountRec* DeleteCurrentAccount();
    // Copies the stored fields into the current entry (a new one when none is
    // current), then writes the file.
    void StoreAccount(const AccountRec& entry);
    // Appends without writing; the caller writes.
    AccountRec* AddAccount(std::unique_ptr<AccountRec> entry);
    const AccountsList& Accounts() const { return accounts; }

    // Stores the colour; any but the system window colour is applied at once.
    void SetBackgroundColour(int32_t colour);
    int32_t BackgroundColour() const { return backgroundColour; }
    void SetAutoLog(bool on) { autoLog = on; }
    bool AutoLog() const { return autoLog; }
    void SetBufferSize(int32_t size) { bufferSize = size; }
    int32_t BufferSize() const { return bufferSize; }
    // Seconds since 1970 on 64 bits, so the reminder keeps working past 2038.
    void SetVotingTime(int64_t time) { votingTime = time; }
    int64_t VotingTime() const { return votingTime; }
    const std::string& SettingsPath() const { return settingsPath; }

private:
    std::string SettingsText() const;
    AccountsList::iterator FirstCurrent();

    std::string settingsPath;
    AccountsList accounts;
    bool autoLog = false;
    int32_t backgroundColour = kDefaultBackgroundColour;
    int32_t bufferSize = 200;
    int64_t votingTime = 0;

    MainView& view;
    FriendsSettings& friends;
    MacroSettings& macros;
};
