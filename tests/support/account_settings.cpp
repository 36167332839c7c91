#include "support/account_settings.h"

#include <fstream>
#include <sstream>

AccountSettings::AccountSettings()
    : init(dir.filePath("init.xml").toStdString(), view, friends, macros)
{
    view.workDir = dir.path().toStdString();
}

AccountRec* AccountSettings::Store(const std::string& avatar, const std::string& id,
                                   const std::string& password, bool current,
                                   const std::string& host, int port)
{
    auto entry = std::make_unique<AccountRec>();
    entry->host = host;
    entry->port = port;
    entry->avatarName = avatar;
    entry->accountId = id;
    entry->password = password;
    entry->savePassword = !password.empty();
    entry->current = current;
    return init.AddAccount(std::move(entry));
}

std::string AccountSettings::File() const
{
    std::ifstream in(init.SettingsPath());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string AccountSettings::AccountBlocks() const
{
    const std::string text = File();
    const size_t start = text.find("   <avatar ");
    const size_t end = text.find("</init-file>");
    if (start == std::string::npos || end == std::string::npos)
        return {};
    return text.substr(start, end - start);
}
