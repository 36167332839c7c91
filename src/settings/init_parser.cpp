#include "settings/init_parser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "views/mainview.h"

namespace {

// The time of the last vote, read on 64 bits. A time before 1970 would not
// be written back and so would switch the reminders off for good; it is
// kept as the earliest possible vote instead, which makes a reminder due.
int64_t VotingTimeAttribute(const AttribList& a)
{
    const std::string text = GetAttribute(a, "time");
    int64_t time = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), time);
    if (error != std::errc() || end != text.data() + text.size())
        time = GetNumberAttribute(a, "time", 0);
    return time < 0 ? 1 : time;
}

enum Element {
    Avatar,
    Server,
    Account,
    AutoLog,
    MacroTag,
    Command,
    Colour,
    Font,
    Buffer,
    NoBlankLines,
    Size,
    InputWindow,
    StatsPanel,
    AudioAlert,
    Twinkles,
    FriendsList,
    Friend,
    Voting,
    Desc2Main,
    SoundFx,
    Unknown,
};

// Element names in the order of the Element values above.
constexpr std::array<std::string_view, Unknown> kElementNames = {
    "avatar",
    "server",
    "account",
    "autolog",
    "macro",
    "command",
    "colour",
    "font",
    "buffer",
    "no-blank-lines",
    "size",
    "input-window",
    "stats-panel",
    "audio-alert",
    "twinkles",
    "friends-list",
    "friend",
    "voting",
    "desc2main",
    "sound-fx",
};

Element Lookup(std::string_view name)
{
    for (std::size_t i = 0; i < kElementNames.size(); ++i)
        if (kElementNames[i] == name)
            return static_cast<Element>(i);
    return Unknown;
}

} // namespace

InitParser::InitParser(
    const std::string& path, MainView& mainView, FriendsSettings& friendsList, MacroSettings& macroStore)
    : XMLParser(path)
    , view(mainView)
    , friends(friendsList)
    , macros(macroStore)
    , init(std::make_unique<Init>(path, mainView, friendsList, macroStore))
{
}

InitParser::~InitParser() = default;

void InitParser::StartElement(const std::string& name, const AttribList& a)
{
    switch (Lookup(name)) {
    case Avatar:
        // An earlier avatar that was never closed is dropped.
        pendingAccount = std::make_unique<AccountRec>();
        pendingAccount->avatarName = GetAttribute(a, "name");
        break;
    case Server:
        if (pendingAccount) {
            pendingAccount->host = GetAttribute(a, "host");
            pendingAccount->port = GetNumberAttribute(a, "port", kDefaultPort);
        }
        break;
    case Account:
        if (pendingAccount) {
            pendingAccount->accountId = GetAttribute(a, "id");
            pendingAccount->password = GetAttribute(a, "password");
            pendingAccount->savePassword = !pendingAccount->password.empty();
            pendingAccount->current = GetFlagAttribute(a, "current", false);
        }
        break;
    case AutoLog: init->SetAutoLog(true); break;
    case MacroTag:
        pendingMacro.emplace();
        pendingKey = GetNumberAttribute(a, "key", 0);
        break;
    case Command: inCommand = 1; break;
    case Colour: init->SetBackgroundColour(GetNumberAttribute(a, "bkg", kDefaultBackgroundColour)); break;
    case Font: {
        FontSpec font;
        font.name = GetAttribute(a, "name");
        font.colour = GetNumberAttribute(a, "colour", 0);
        font.height = GetNumberAttribute(a, "height", -15);
        font.size = GetNumberAttribute(a, "size", 0);
        view.ApplyFont(font);
        break;
    }
    case Buffer: {
        const int32_t size = GetNumberAttribute(a, "size", 200);
        init->SetBufferSize(size);
        view.SetBufferLines(size);
        break;
    }
    case NoBlankLines: view.SetOptionChecked(Option::SuppressBlankLines, true); break;
    case Size: {
        const int32_t width = GetNumberAttribute(a, "width", 0);
        const int32_t height = GetNumberAttribute(a, "height", 0);
        if (width >= 1 && height >= 1)
            view.SetWindowSize(width, height);
        break;
    }
    case InputWindow: {
        const int32_t height = GetNumberAttribute(a, "height", 0);
        if (height > 0)
            view.SetInputPanelHeight(height);
        break;
    }
    case StatsPanel:
        // Only the exact word "false" hides the panel; a missing value shows it.
        view.ShowStatsPanel(GetAttribute(a, "visible") != "false");
        break;
    case AudioAlert: view.SetOptionChecked(Option::TextAlert, GetAttribute(a, "enabled") == "true"); break;
    case Twinkles: view.SetOptionChecked(Option::ConsoleLights, GetAttribute(a, "enabled") == "true"); break;
    case FriendsList:
        friends.SetRanks(static_cast<uint32_t>(GetNumberAttribute(a, "ranks", 0)));
        if (GetAttribute(a, "audio") == "true")
            friends.SetAudio();
        break;
    case Friend: friends.AddName(GetAttribute(a, "name")); break;
    case Voting: init->SetVotingTime(VotingTimeAttribute(a)); break;
    case SoundFx: view.SetOptionChecked(Option::SoundFx, GetAttribute(a, "enabled") == "true"); break;
    case Desc2Main:
    case Unknown: break;
    }
}

void InitParser::EndElement(const std::string& name)
{
    switch (Lookup(name)) {
    case Avatar:
        if (pendingAccount)
            init->AddAccount(std::move(pendingAccount));
        pendingAccount.reset();
        break;
    case MacroTag:
        if (pendingMacro)
            macros.SetMacro(pendingKey, std::move(*pendingMacro));
        pendingMacro.reset();
        pendingKey = 0;
        break;
    case Command: inCommand = 0; break;
    default: break;
    }
}

void InitParser::Characters(const std::string& text)
{
    if (inCommand == 1 && pendingMacro)
        pendingMacro->push_back(text);
}
