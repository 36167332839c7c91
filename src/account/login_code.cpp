#include "account/login_code.h"

#include <algorithm>
#include <limits>

#include "views/mainview.h"

int32_t PortFromText(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Too many digits saturate rather than wrap to some other port.
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 32);
    if (negative)
        value = -value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

Login::Login(MainView& view, Init& init, LogonPrompt& prompt)
    : view(view)
    , init(init)
    , prompt(prompt)
{
    state = WaitLogin;
    if (AccountRec* current = init.GetCurrentAccount())
        CopyIn(*current);
    else
        SetDefaultServer();
    prompt.Open(*this);
}

void Login::CopyIn(const AccountRec& entry)
{
    working.host = entry.host;
    working.port = entry.port;
    working.avatarName = entry.avatarName;
    working.accountId = entry.accountId;
    working.password = entry.password;
    working.current = entry.current;
    working.savePassword = entry.savePassword;
}

void Login::SetDefaultServer()
{
    working.host = kDefaultHost;
    working.port = kDefaultPort;
}

void Login::Next()
{
    if (AccountRec* next = init.NextAccount()) {
        CopyIn(*next);
    } else {
        // The blank entry past the last one is where a new account is typed.
        working.avatarName.clear();
        working.accountId.clear();
        working.password.clear();
    }
}

bool Login::Last()
{
    AccountRec* previous = init.PreviousAccount();
    if (!previous)
        return false;
    CopyIn(*previous);
    return true;
}

void Login::Delete()
{
    if (AccountRec* first = init.DeleteCurrentAccount())
        CopyIn(*first);
    else
        SetDefaultServer();
}

void Login::Accept(const LogonEdits& edits, bool modified)
{
    if (modified) {
        working.host = edits.host;
        working.port = PortFromText(edits.port);
        working.avatarName = edits.avatarName;
        working.accountId = edits.accountId;
        working.password = edits.password;
        working.current = true;
        working.savePassword = edits.savePassword;
        init.StoreAccount(working);
    }
    init.WriteSettings();
    if (state == WaitLogin) {
        view.OpenConnection(working.host, working.port, working.avatarName);
    } else {
        // Re-shown after a refused password: the connection is still open
        // and the server asks again.
        state = WaitLogin;
    }
}

int Login::HandleLine(const std::string& line)
{
    auto holds = [&line](const char* fragment) { return line.find(fragment) != std::string::npos; };

    switch (state) {
    case WaitLogin:
        if (holds("ogin:") || holds("xisting account name:")) {
            view.SendText(working.accountId + "\n");
            state = WaitPassword;
        }
        view.DisplayText(line);
        return 0;
    case WaitPassword:
        if (holds("assword:")) {
            view.SendText(working.password + "\n");
            state = WaitVerdict;
        }
        view.DisplayText(line);
        return 0;
    case WaitVerdict:
        if (holds("password is wrong")) {
            view.ShowMessage(MessageKind::Information,
                "Login Problem: The account ID and/or\npassword were incorrect!\n"
                "Please correct and try again.");
            view.DisplayText(line);
            state = Refused;
            view.SendText("no\n");
            prompt.Open(*this);
            return 0;
        }
        if (holds("Linking to Kyrnos DataSpace")) {
            view.DisplayText(line);
            return 1;
        }
        return 0;
    case Refused: return 0;
    }
    return 0;
}
