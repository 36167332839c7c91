#pragma once
// The commands the player has sent, oldest first, for recall with the arrow
// keys in the input line, kept across runs in a file of the working
// directory.

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

class CommandHistory {
public:
    static constexpr std::size_t kMaxCommands = 500;

    // `path` is the file it is kept in; an empty path keeps it in memory only.
    explicit CommandHistory(std::string path = {});

    // Told once, with the path, when the file cannot be written.
    void SetFailureReport(std::function<void(const std::string& path)> report);

    // Reads the file; a missing or unreadable file leaves the history empty.
    void Load();
    // A command sent. An empty one, or the newest again, is not kept; the
    // oldest goes past the limit. The file is rewritten at once, so a crash
    // loses nothing.
    void Add(const std::string& command);

    // Up: the command before the one recalled; `line` is what the input line
    // holds, kept when recall begins. None at the oldest or with no history.
    std::optional<std::string> Previous(const std::string& line);
    // Down: the command after the one recalled, and past the newest the line
    // as it was before recall began. None while nothing is recalled.
    std::optional<std::string> Next();
    // The line is sent or replaced: the next Up starts again from the newest.
    void EndRecall();

    const std::deque<std::string>& Commands() const { return commands; }

private:
    // Keeps the command without writing the file.
    bool Keep(const std::string& command);
    bool Save() const;

    std::string path;
    std::deque<std::string> commands;
    std::optional<std::size_t> recalled; // the index shown; commands.size() is the draft
    std::string draft;
    std::function<void(const std::string&)> reportFailure;
    bool failureReported = false;
};
