#include "settings/init.h"

#include <algorithm>

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>

#include "markup/xml.h"
#include "views/mainview.h"

namespace {

const char* TrueFalse(bool flag)
{
    return flag ? "true" : "false";
}

std::string Number(int64_t value)
{
    return std::to_string(value);
}

// It holds passwords: owner read and write only. A file the player may write
// but does not own keeps its mode, and is still written.
void MakePrivate(QFileDevice& file)
{
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool WriteAll(QFileDevice& file, const std::string& text)
{
    const auto size = static_cast<qint64>(text.size());
    return file.write(text.data(), size) == size && file.flush();
}

// Overwrites the file without truncating it first: the space is reserved
// before anything is written, so a full disk leaves the old file whole, and
// the old tail is cut off only once the new text is in.
bool WriteInPlace(const QString& name, const std::string& text)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    MakePrivate(file);
    const auto size = static_cast<qint64>(text.size());
    return ::posix_fallocate(file.handle(), 0, size) == 0 && WriteAll(file, text) && file.resize(size);
}

} // namespace

Init::Init(std::string path, MainView& mainView, FriendsSettings& friendsList, MacroSettings& macroStore)
    : settingsPath(std::move(path))
    , view(mainView)
    , friends(friendsList)
    , macros(macroStore)
{
}

std::string Init::SettingsText() const
{
    std::string t;
    t += "<?xml version=\"1.0\"?>\n\n";
    t += "<init-file>\n\n";
    t += "   <size width='" + Number(view.WindowWidth()) + "' height='" + Number(view.WindowHeight()) + "'/>\n";
    t += "   <buffer size='" + Number(bufferSize) + "'/>\n";
    t += "   <input-window height='" + Number(view.InputPanelHeight()) + "'/>\n";
    t += "   <colour bkg='" + Number(backgroundColour) + "'/>\n";
    t += std::string("   <stats-panel visible='") + TrueFalse(view.OptionChecked(Option::StatsPanel)) + "'/>\n";
    t += std::string("   <audio-alert enabled='") + TrueFalse(view.OptionChecked(Option::TextAlert)) + "'/>\n";
    t += std::string("   <twinkles enabled='") + TrueFalse(view.OptionChecked(Option::ConsoleLights)) + "'/>\n";
    t += std::string("   <sound-fx enabled='") + TrueFalse(view.OptionChecked(Option::SoundFx)) + "'/>\n";
    if (votingTime > 0)
        t += "\t<voting time='" + Number(votingTime) + "'/>\n";
    if (view.OptionChecked(Option::SuppressBlankLines))
        t += "   <no-blank-lines/>\n";
    if (autoLog)
        t += "   <autolog logging='true'/>\n";
    t += "\n";
    t += friends.FriendsBlock();
    t += macros.MacroBlocks();

    // Every text value is escaped, so an apostrophe or ampersand in a
    // password or name reads back unchanged instead of cutting the value.
    const FontSpec font = view.OutputFont();
    t += "   <font name='" + EscapeText(font.name) + "' colour='" + Number(font.colour) + "' height='"
        + Number(font.height) + "' size='" + Number(font.size) + "'/>\n";

    for (const auto& a : accounts) {
        t += "   <avatar name='" + EscapeText(a->avatarName) + "'>\n";
        t += "      <server host='" + EscapeText(a->host) + "' port='" + Number(a->port) + "'/>\n";
        t += "      <account id='" + EscapeText(a->accountId) + "'";
        if (a->savePassword)
            t += " password='" + EscapeText(a->password) + "'";
        if (a->current)
            t += " current='true'";
        t += "/>\n   </avatar>\n\n";
    }
    t += "</init-file>\n";
    return t;
}

bool Init::WriteSettings()
{
    const std::string text = SettingsText();
    const QString name = QFile::decodeName(QByteArray::fromStdString(settingsPath));
    // The new file is written beside the old one and renamed over it only when
    // complete, so a failed write never leaves a truncated init.xml behind.
    QSaveFile file(name);
    bool written = false;
    if (file.open(QIODevice::WriteOnly)) {
        MakePrivate(file);
        written = WriteAll(file, text) && file.commit();
        if (!written)
            file.cancelWriting();
    } else {
        // No file can be made beside it (a folder the player cannot write):
        // the file itself is written in place rather than never at all.
        written = WriteInPlace(name, text);
    }
    if (!written)
        view.ShowMessage(MessageKind::Error, "Unable to save your personal\nsettings to file init.xml");
    return written;
}

AccountsList::iterator Init::FirstCurrent()
{
    return std::find_if(accounts.begin(), accounts.end(), [](const auto& a) { return a->current; });
}

AccountRec* Init::GetCurrentAccount()
{
    auto it = FirstCurrent();
    if (it != accounts.end())
        return it->get();
    if (accounts.empty())
        return nullptr;
    accounts.front()->current = true;
    return accounts.front().get();
}

AccountRec* Init::NextAccount()
{
    auto it = FirstCurrent();
    if (it == accounts.end())
        return nullptr;
    (*it)->current = false;
    if (++it == accounts.end())
        return nullptr;
    (*it)->current = true;
    return it->get();
}

AccountRec* Init::PreviousAccount()
{
    auto it = FirstCurrent();
    if (it != accounts.end()) {
        if (it == accounts.begin())
            return nullptr;
        (*it)->current = false;
        --it;
        (*it)->current = true;
        return it->get();
    }
    if (accounts.empty())
        return nullptr;
    accounts.back()->current = true;
    return accounts.back().get();
}

AccountRec* Init::DeleteCurrentAccount()
{
    auto it = FirstCurrent();
    if (it != accounts.end())
        accounts.erase(it);
    WriteSettings();
    if (accounts.empty())
        return nullptr;
    accounts.front()->current = true;
    return accounts.front().get();
}

void Init::StoreAccount(const AccountRec& entry)
{
    auto it = FirstCurrent();
    AccountRec* target = nullptr;
    if (it != accounts.end())
        target = it->get();
    else
        target = accounts.emplace_back(std::make_unique<AccountRec>()).get();
    if (target != &entry) {
        target->host = entry.host;
        target->port = entry.port;
        target->avatarName = entry.avatarName;
        target->accountId = entry.accountId;
        target->password = entry.password;
        target->current = entry.current;
        target->savePassword = entry.savePassword;
    }
    WriteSettings();
}

AccountRec* Init::AddAccount(std::unique_ptr<AccountRec> entry)
{
    if (!entry)
        return nullptr;
    return accounts.emplace_back(std::move(entry)).get();
}

void Init::SetBackgroundColour(int32_t colour)
{
    backgroundColour = colour;
    if (colour != kDefaultBackgroundColour)
        view.ApplyColour(colour);
}
