#include "logging/logging.h"

#include <ctime>

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool WriteAll(std::FILE* file, std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

} // namespace

std::string TimeStamp(std::int64_t when)
{
    const std::time_t t = static_cast<std::time_t>(when);
    std::tm local{};
    if (!localtime_r(&t, &local))
        local = std::tm{};
    // Built by hand: strftime would follow the locale Qt sets.
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %04d\n", kDays[local.tm_wday % 7],
        kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, local.tm_year + 1900);
    return text;
}

std::string DailyLogName(std::int64_t when)
{
    // "Sat Dec  5 14:03:07 2026": month, day and year are the blank-separated words.
    const std::string stamp = TimeStamp(when);
    std::string words[5];
    int n = 0;
    std::size_t i = 0;
    while (i < stamp.size() && n < 5) {
        while (i < stamp.size() && (stamp[i] == ' ' || stamp[i] == '\n'))
            ++i;
        const std::size_t start = i;
        while (i < stamp.size() && stamp[i] != ' ' && stamp[i] != '\n')
            ++i;
        if (i > start)
            words[n++] = stamp.substr(start, i - start);
    }
    return words[4] + words[1] + words[2] + ".log";
}

Logging::Logging(std::string logPath, std::int64_t now)
    : path(std::move(logPath))
{
    file = std::fopen(path.c_str(), "a");
    if (file && !Write("\n*** Logging started ***\n" + TimeStamp(now)))
        Abandon();
}

Logging::~Logging()
{
    Abandon();
}

bool Logging::Write(std::string_view bytes)
{
    return file && WriteAll(file, bytes) && std::fflush(file) == 0;
}

bool Logging::WriteLine(std::string_view text)
{
    if (!file)
        return false;
    std::string line(text);
    line += '\n';
    return Write(line);
}

bool Logging::Close(std::int64_t now)
{
    if (!file)
        return false;
    const bool written = Write("\n" + TimeStamp(now) + "*** Logging finished ***\n");
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    return written && closed;
}

void Logging::Abandon()
{
    if (file)
        std::fclose(file);
    file = nullptr;
}

DumpResult AppendScreenDump(const std::string& path, std::string_view story, std::int64_t now)
{
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file)
        return DumpResult::OpenFailed;
    const std::string stamp = TimeStamp(now);
    bool ok = WriteAll(file, "\n*** Screen buffer save ***\n");
    ok = ok && WriteAll(file, stamp) && WriteAll(file, "\n") && WriteAll(file, story);
    ok = ok && WriteAll(file, "\n") && WriteAll(file, stamp);
    ok = ok && WriteAll(file, "*** End of screen buffer save ***\n");
    ok = (std::fflush(file) == 0) && ok;
    ok = (std::fclose(file) == 0) && ok;
    return ok ? DumpResult::Saved : DumpResult::WriteFailed;
}
