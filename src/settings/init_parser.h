#pragma once
// Reads init.xml once at start-up. Creating the reader creates the settings
// object with its defaults; reading applies window settings, friends and
// macros as they come and collects the stored accounts. The caller then takes
// the settings object and discards the reader.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "markup/xml.h"
#include "settings/init.h"

class MainView;

class InitParser : public XMLParser {
public:
    InitParser(const std::string& path, MainView& view, FriendsSettings& friends, MacroSettings& macros);
    ~InitParser() override;

    // The settings object; valid until taken.
    Init& Settings() { return *init; }
    // Hands the settings object over; the reader must not read after this.
    std::unique_ptr<Init> TakeInit() { return std::move(init); }

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override;
    void EndElement(const std::string& name) override;
    void Characters(const std::string& text) override;

private:
    MainView& view;
    FriendsSettings& friends;
    MacroSettings& macros;
    std::unique_ptr<Init> init;

    int inCommand = 0;
    std::unique_ptr<AccountRec> pendingAccount;
    std::optional<std::vector<std::string>> pendingMacro;
    int pendingKey = 0;
};
