#pragma once
// The command input line's submission: clean the typed text, echo it, offer
// private messages to the tight beam, send it with a line feed.

#include <functional>
#include <string>

class CommandHistory;
class MainView;

class PlayerInput {
public:
    // Takes what follows "tb" or "tell" and one more character.
    using TightBeamHook = std::function<void(const std::string& remainder)>;

    explicit PlayerInput(MainView& view, TightBeamHook tightBeam = {});

    void SetTightBeamHook(TightBeamHook hook);
    // Commands go into the history only while `inGame` answers true: before
    // that the line may hold the answer to a password prompt.
    void SetHistory(CommandHistory& history, std::function<bool()> inGame);
    // One command, as Windows-1252 bytes; clearInput empties InputEdit.
    void Submit(const std::string& text, bool clearInput);
    // The last command sent, cleaned and with its line feed.
    const std::string& LastCommand() const { return lastCommand; }

private:
    void OfferToTightBeam() const;

    MainView& view;
    TightBeamHook tightBeam;
    CommandHistory* history = nullptr;
    std::function<bool()> inGame;
    std::string lastCommand;
};

// Key numbers of the function keys: 1 for F1 up to 12 for F12, else 0.
int FKeyNumber(int qtKey);
bool IsEnterKey(int qtKey);
