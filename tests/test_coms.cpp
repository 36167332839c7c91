// Cutting the received stream into lines and routing them by mode.
#include <stdexcept>

#include <gtest/gtest.h>

#include "protocol/xml.h"
#include "shell/coms.h"
#include "support/fake_mainview.h"

namespace {

// Records every line handed to the server element parser.
class RecordingParser : public XMLParser {
public:
    std::vector<std::string> lines;

protected:
    void Characters(const std::string& text) override { lines.push_back("text:" + text); }
    void StartElement(const std::string& name, const AttribList&) override
    {
        lines.push_back("start:" + name);
    }
};

class ScriptedAutomation : public Automation {
public:
    std::vector<std::string>& seen;
    std::string finishOn;
    explicit ScriptedAutomation(std::vector<std::string>& s, std::string f)
        : seen(s)
        , finishOn(std::move(f))
    {
    }
    int HandleLine(const std::string& line) override
    {
        seen.push_back(line);
        return line.find(finishOn) != std::string::npos ? 1 : 0;
    }
};

struct ComsFixture : ::testing::Test {
    FakeMainView view;
    RecordingParser* parser = new RecordingParser;
    Coms coms{view, std::unique_ptr<XMLParser>(parser), "1.60"};
    std::vector<std::string> macros;

    ComsFixture()
    {
        coms.SetMacroRunner([this](int n) { macros.push_back("F" + std::to_string(n)); });
    }
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(ComsFixture, EveryLineFeedYieldsABlankLineAfterItsText)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("A\nB\n");
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"A", " ", "B", " "}));

    view.displayed.clear();
    coms.ProcessChunk("A\n\nB\n");
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"A", " ", " ", "B", " "}));
}

TEST_F(ComsFixture, LineSplitOverChunksIsProcessedOnceWhole)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("You see a sh");
    EXPECT_TRUE(view.displayed.empty());
    EXPECT_EQ(coms.PendingText(), "You see a sh");
    coms.ProcessChunk("ip here.\nNext");
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"You see a ship here.", " "}));
    EXPECT_EQ(coms.PendingText(), "Next");
}

TEST_F(ComsFixture, CarriageReturnsStayInTheLine)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("Hello\r\n");
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"Hello\r", " "}));
}

TEST_F(ComsFixture, TextWithoutLineFeedWaitsAcrossAReconnection)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("half a li");
    // A new conversation starts; the waiting text is not thrown away.
    std::vector<std::string> seen;
    coms.SetLoginFactory([&] { return std::make_unique<ScriptedAutomation>(seen, "never"); });
    coms.StartLogon();
    coms.ProcessChunk("ne\n");
    EXPECT_EQ(seen, (Lines{"half a line", " "}));
    EXPECT_TRUE(view.displayed.empty());
}

TEST_F(ComsFixture, NulByteIsDroppedWithoutLosingWhatFollows)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk(std::string_view("ab\0cd\nef\n", 9));
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"abcd", " ", "ef", " "}));
}

TEST_F(ComsFixture, EndlessLineIsCutOffAtTheLimit)
{
    coms.SetMode(Coms::AwaitingStream);
    const std::string block(64 * 1024, 'x');
    for (std::size_t sent = 0; sent <= Coms::kMaxPendingText; sent += block.size())
        coms.ProcessChunk(block);
    ASSERT_EQ(view.displayed.size(), 1u);
    EXPECT_GT(view.displayed[0].text.size(), Coms::kMaxPendingText);
    EXPECT_TRUE(coms.PendingText().empty());
    coms.ProcessChunk("tail\n");
    EXPECT_EQ(view.displayed.back().text, " ");
    EXPECT_EQ(view.displayed[view.displayed.size() - 2].text, "tail");
}

TEST_F(ComsFixture, IdleDropsEverything)
{
    coms.ProcessChunk("hello\n<s-no-op/>\n");
    EXPECT_TRUE(view.displayed.empty());
    EXPECT_TRUE(parser->lines.empty());
    EXPECT_TRUE(view.sent.empty());
}

TEST_F(ComsFixture, FirstMarkupLineStartsStreamingOnce)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("Welcome back.\n<s-default>\nHello there\n<s-no-op/>\n");
    // Prose before the first "<" line is shown; that line goes nowhere else.
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"Welcome back.", " "}));
    EXPECT_EQ(coms.GetMode(), Coms::Streaming);
    EXPECT_EQ(view.sent, (Lines{"look\n"}));
    EXPECT_EQ(macros, (Lines{"F1"}));
    // Afterwards every line, blank ones included, reaches the parser.
    EXPECT_EQ(parser->lines, (Lines{"text:Hello there", "start:s-no-op"}));
}

TEST_F(ComsFixture, LogonCompletionSendsTheHelloAndAwaitsTheStream)
{
    std::vector<std::string> seen;
    coms.SetLoginFactory([&] { return std::make_unique<ScriptedAutomation>(seen, "Linking to Kyrnos DataSpace"); });
    coms.StartLogon();
    ASSERT_EQ(coms.GetMode(), Coms::LoggingOn);
    ASSERT_NE(coms.LogonAutomation(), nullptr);

    coms.ProcessChunk("login: \nLinking to Kyrnos DataSpace...\nWelcome\n<s-default>\n");
    EXPECT_EQ(seen, (Lines{"login: ", " ", "Linking to Kyrnos DataSpace..."}));
    EXPECT_EQ(view.sent, (Lines{"<?xml version=\"1.0\"?>\n", "<c-orvix version='1.60'>\n", "look\n"}));
    EXPECT_EQ(coms.LogonAutomation(), nullptr);
    EXPECT_EQ(coms.GetMode(), Coms::Streaming);
    // The line after completion is prose awaiting the stream.
    EXPECT_EQ(view.DisplayedTexts(), (Lines{" ", "Welcome", " "}));
}

TEST_F(ComsFixture, LineWhoseHandlerThrowsIsUsedUpAndTheRestGoesOn)
{
    struct ThrowsOnBoom : ScriptedAutomation {
        using ScriptedAutomation::ScriptedAutomation;
        int HandleLine(const std::string& line) override
        {
            if (line == "boom")
                throw std::runtime_error("bad line");
            return ScriptedAutomation::HandleLine(line);
        }
    };
    std::vector<std::string> seen;
    coms.SetLoginFactory([&] { return std::make_unique<ThrowsOnBoom>(seen, "never"); });
    coms.StartLogon();
    EXPECT_THROW(coms.ProcessChunk("boom\nrest"), std::runtime_error);
    coms.ProcessChunk(" of it\n");
    EXPECT_EQ(seen, (Lines{" ", "rest of it", " "}));
}

TEST_F(ComsFixture, NewAccountCompletionHandsOverTheSameWay)
{
    std::vector<std::string> seen;
    coms.SetNewAccountFactory([&] { return std::make_unique<ScriptedAutomation>(seen, "inking to Kyrnos"); });
    coms.StartNewAccount();
    ASSERT_EQ(coms.GetMode(), Coms::CreatingAccount);
    coms.ProcessChunk("Linking to Kyrnos DataSpace\n");
    EXPECT_EQ(coms.GetMode(), Coms::AwaitingStream);
    EXPECT_EQ(coms.NewAccountAutomation(), nullptr);
    EXPECT_EQ(view.SentBytes(), "<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>\n");
}

TEST_F(ComsFixture, StartingAgainReplacesTheAutomation)
{
    int created = 0;
    std::vector<std::string> seen;
    coms.SetLoginFactory([&] {
        ++created;
        return std::make_unique<ScriptedAutomation>(seen, "never");
    });
    coms.StartLogon();
    coms.ProcessChunk("one\n");
    coms.StartLogon();
    coms.ProcessChunk("two\n");
    EXPECT_EQ(created, 2);
    EXPECT_EQ(coms.GetMode(), Coms::LoggingOn);
    EXPECT_EQ(seen, (Lines{"one", " ", "two", " "}));
}

TEST_F(ComsFixture, ReportConnectedShowsAndSetsTheStatus)
{
    coms.ReportConnected();
    EXPECT_EQ(view.DisplayedTexts(), (Lines{"Connected"}));
    EXPECT_EQ(view.status[0], "Connected");
}
