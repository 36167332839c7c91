#pragma once
// The session log file: opened for appending, never truncated, one line per
// story line, framed by a started and a finished banner. Also the screen
// dump and the texts both write.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The 25-character local time stamp, "Sat Dec  5 14:03:07 2026\n", in
// English whatever the locale.
std::string TimeStamp(std::int64_t when);

// The day's automatic log name, "2026Dec5.log", taken from the stamp.
std::string DailyLogName(std::int64_t when);

class Logging {
public:
    // Opens `path` for appending and writes the opening banner; check IsOpen().
    Logging(std::string path, std::int64_t now);
    ~Logging();

    Logging(const Logging&) = delete;
    Logging& operator=(const Logging&) = delete;

    bool IsOpen() const { return file != nullptr; }
    const std::string& Path() const { return path; }

    // The text and a line feed, flushed at once so a full disk shows at the
    // line that did not fit. False when it could not be written.
    bool WriteLine(std::string_view text);
    // Writes the finished banner and closes the file; false when the banner
    // could not be written.
    bool Close(std::int64_t now);
    // Closes without a banner, after a write failure.
    void Abandon();

private:
    bool Write(std::string_view bytes);

    std::string path;
    std::FILE* file = nullptr;
};

// Appends the framed story text to `path`.
enum class DumpResult { Saved, OpenFailed, WriteFailed };
DumpResult AppendScreenDump(const std::string& path, std::string_view story, std::int64_t now);
