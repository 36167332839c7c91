#pragma once
// The connection's reader: cuts the received byte stream into lines and
// routes each one by the conversation under way.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "views/automation.h"

class MainView;
class XMLParser;

class Coms {
public:
    enum Mode : uint8_t {
        Idle = 0,
        LoggingOn = 2,
        CreatingAccount = 3,
        AwaitingStream = 4,
        Streaming = 5,
    };

    // Text without a line feed is cut off as a line past this size, so a
    // server that never ends its line cannot make it grow without bound.
    static constexpr std::size_t kMaxPendingText = 256 * 1024;

    using AutomationFactory = std::function<std::unique_ptr<Automation>()>;

    Coms(MainView& view, std::unique_ptr<XMLParser> serverParser, std::string version);
    ~Coms();

    void SetLoginFactory(AutomationFactory factory) { makeLogin = std::move(factory); }
    void SetNewAccountFactory(AutomationFactory factory) { makeNewAccount = std::move(factory); }
    // Runs the text of F-key n; the start-up macro is F1.
    void SetMacroRunner(std::function<void(int)> runner) { runMacro = std::move(runner); }

    void StartLogon();
    void StartNewAccount();
    void ReportConnected();
    // Received bytes; NUL bytes are dropped, the rest is kept in order.
    void ProcessChunk(std::string_view chunk);

    Mode GetMode() const { return mode; }
    // Tests and the account automations enter a mode directly.
    void SetMode(Mode m) { mode = m; }
    const std::string& PendingText() const { return pendingText; }
    XMLParser& ServerParser() { return *serverParser; }
    Automation* LogonAutomation() const { return login.get(); }
    Automation* NewAccountAutomation() const { return newAccount.get(); }

private:
    void RouteLine(const std::string& line);
    void SendHello();

    MainView& view;
    std::unique_ptr<XMLParser> serverParser;
    std::string version;
    std::unique_ptr<Automation> login;
    std::unique_ptr<Automation> newAccount;
    Mode mode = Idle;
    std::string pendingText;
    AutomationFactory makeLogin;
    AutomationFactory makeNewAccount;
    std::function<void(int)> runMacro;
};
