#include "session/coms.h"

#include <algorithm>
#include <exception>

#include "markup/xml.h"
#include "views/mainview.h"

Coms::Coms(MainView& v, std::unique_ptr<XMLParser> parser, std::string ver)
    : view(v)
    , serverParser(std::move(parser))
    , version(std::move(ver))
{
}

Coms::~Coms() = default;

void Coms::StartLogon()
{
    mode = LoggingOn;
    login.reset();
    if (makeLogin)
        login = makeLogin();
}

void Coms::StartNewAccount()
{
    mode = CreatingAccount;
    newAccount.reset();
    if (makeNewAccount)
        newAccount = makeNewAccount();
}

void Coms::ReportConnected()
{
    view.DisplayText("Connected");
    view.SetStatusText(0, "Connected");
}

void Coms::ProcessChunk(std::string_view chunk)
{
    // A NUL inside a chunk is dropped alone, so the bytes after it survive.
    // The bytes between are appended as runs, not one at a time.
    for (std::size_t from = 0; from < chunk.size();) {
        const std::size_t nul = std::min(chunk.find('\0', from), chunk.size());
        pendingText.append(chunk.substr(from, nul - from));
        from = nul + 1;
    }

    std::size_t start = 0;
    // A line whose handler throws is used up and the lines after it in the
    // chunk still go on, so a server waiting for an answer is not left
    // hanging; the first error is passed on once the chunk is done.
    std::exception_ptr failure;
    const auto route = [&](const std::string& line) {
        try {
            RouteLine(line);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    };
    for (;;) {
        const std::size_t lf = pendingText.find('\n', start);
        if (lf == std::string::npos) {
            if (pendingText.size() - start > kMaxPendingText) {
                std::string line = pendingText.substr(start);
                pendingText.clear();
                start = 0;
                route(line);
                continue;
            }
            break;
        }
        if (lf == start) {
            // Every line feed also yields a line of one blank.
            start = lf + 1;
            route(" ");
        } else {
            std::string line = pendingText.substr(start, lf - start);
            start = lf;
            route(line);
        }
    }
    pendingText.erase(0, start);
    if (failure)
        std::rethrow_exception(failure);
}

void Coms::RouteLine(const std::string& line)
{
    switch (mode) {
    case LoggingOn:
        if (login && login->HandleLine(line) == 1)
            SendHello();
        break;
    case CreatingAccount:
        if (newAccount && newAccount->HandleLine(line) == 1)
            SendHello();
        break;
    case AwaitingStream:
        if (!line.empty() && line[0] == '<') {
            mode = Streaming;
            view.SendText("look\n");
            if (runMacro)
                runMacro(1);
        } else {
            view.DisplayText(line);
        }
        break;
    case Streaming: serverParser->ParseText(line); break;
    case Idle: break;
    }
}

void Coms::SendHello()
{
    view.SendText("<?xml version=\"1.0\"?>\n");
    view.SendText("<c-orvix version='" + version + "'>\n");
    login.reset();
    newAccount.reset();
    mode = AwaitingStream;
}
