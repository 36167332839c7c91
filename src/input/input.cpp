#include "input/input.h"

#include <cctype>

#include <Qt>

#include "input/command_history.h"
#include "views/mainview.h"

namespace {
char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string Clean(std::string text)
{
    const size_t firstKept = text.find_first_not_of(' ');
    text.erase(0, firstKept == std::string::npos ? text.size() : firstKept);
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

// What follows a prefix and its separator; empty when nothing does.
std::string After(const std::string& text, size_t prefixWithSeparator)
{
    return text.size() > prefixWithSeparator ? text.substr(prefixWithSeparator) : std::string();
}
} // namespace

PlayerInput::PlayerInput(MainView& view, TightBeamHook tightBeam)
    : view(view)
    , tightBeam(std::move(tightBeam))
{
}

void PlayerInput::SetTightBeamHook(TightBeamHook hook)
{
    tightBeam = std::move(hook);
}

void PlayerInput::SetHistory(CommandHistory& commands, std::function<bool()> playing)
{
    history = &commands;
    inGame = std::move(playing);
}

void PlayerInput::Submit(const std::string& text, bool clearInput)
{
    lastCommand = text;
    if (clearInput)
        view.ClearInputEdit();
    lastCommand = Clean(std::move(lastCommand));
    view.DisplayText(" ");
    view.DisplayText("> " + lastCommand);
    OfferToTightBeam();
    if (history) {
        history->EndRecall();
        if (inGame && inGame())
            history->Add(lastCommand);
    }
    lastCommand += '\n';
    view.SendText(lastCommand);
}

void PlayerInput::OfferToTightBeam() const
{
    const std::string& cmd = lastCommand;
    if (!tightBeam || cmd.empty() || Lower(cmd[0]) != 't')
        return;
    if (cmd.size() >= 2 && Lower(cmd[1]) == 'b') {
        tightBeam(After(cmd, 3));
        return;
    }
    if (cmd.size() >= 4 && Lower(cmd[1]) == 'e' && Lower(cmd[2]) == 'l' && Lower(cmd[3]) == 'l')
        tightBeam(After(cmd, 5));
}

int FKeyNumber(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return qtKey - Qt::Key_F1 + 1;
    return 0;
}

bool IsEnterKey(int qtKey)
{
    return qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter;
}
