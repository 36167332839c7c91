#include "input/command_history.h"

#include <QFile>
#include <QSaveFile>

namespace {

// A history of 500 commands is far smaller; a bigger file is read from its end.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

QString FileName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

CommandHistory::CommandHistory(std::string file)
    : path(std::move(file))
{
}

void CommandHistory::SetFailureReport(std::function<void(const std::string&)> report)
{
    reportFailure = std::move(report);
}

void CommandHistory::Load()
{
    QFile file(FileName(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly))
        return;
    const bool cut = file.size() > kMaxFileBytes;
    if (cut)
        file.seek(file.size() - kMaxFileBytes);
    const QList<QByteArray> lines = file.read(kMaxFileBytes).split('\n');
    // A read that starts inside a line drops that line's tail.
    for (qsizetype i = cut ? 1 : 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        Keep(line.toStdString());
    }
    recalled.reset();
}

bool CommandHistory::Keep(const std::string& command)
{
    if (command.empty() || (!commands.empty() && commands.back() == command))
        return false;
    commands.push_back(command);
    if (commands.size() > kMaxCommands)
        commands.pop_front();
    return true;
}

void CommandHistory::Add(const std::string& command)
{
    EndRecall();
    if (Keep(command) && !Save() && reportFailure && !failureReported) {
        failureReported = true;
        reportFailure(path);
    }
}

bool CommandHistory::Save() const
{
    if (path.empty())
        return true;
    std::string text;
    for (const std::string& command : commands)
        text += command + '\n';
    // Written beside the old file and renamed over it only when complete:
    // a crash never leaves half a history behind.
    QSaveFile file(FileName(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // What the player typed is theirs alone to read.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<std::string> CommandHistory::Previous(const std::string& line)
{
    if (!recalled) {
        if (commands.empty())
            return std::nullopt;
        draft = line;
        recalled = commands.size();
    }
    if (*recalled == 0)
        return std::nullopt;
    return commands[--*recalled];
}

std::optional<std::string> CommandHistory::Next()
{
    if (!recalled)
        return std::nullopt;
    if (++*recalled < commands.size())
        return commands[*recalled];
    std::string line = std::move(draft);
    EndRecall();
    return line;
}

void CommandHistory::EndRecall()
{
    recalled.reset();
    draft.clear();
}
