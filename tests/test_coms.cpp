// Cutting the received stream into lines and routing them by mode.
#include <stdexcept>

#include "session/coms.h"
#include "support/common.h"
#include "support/fake_mainview.h"

namespace {

using Lines = std::vector<std::string>;

// Keeps every line; finishes on a line starting "Linking", throws on "boom".
struct Scripted : Automation {
    explicit Scripted(Lines& seen)
        : seen(seen)
    {
    }
    int HandleLine(const std::string& line) override
    {
        if (line == "boom")
            throw std::runtime_error("bad line");
        seen.push_back(line);
        return line.rfind("Linking", 0) == 0 ? 1 : 0;
    }
    Lines& seen;
};

struct ComsTest : ::testing::Test {
    FakeMainView view;
    MarkupRecorder* parser = new MarkupRecorder;
    Coms coms{view, std::unique_ptr<XMLParser>(parser), "1.60"};
    Lines macros, seen;
    int created = 0;

    ComsTest()
    {
        coms.SetMacroRunner([this](int n) { macros.push_back("F" + std::to_string(n)); });
        coms.SetLoginFactory([this] {
            ++created;
            return std::make_unique<Scripted>(seen);
        });
        coms.SetNewAccountFactory([this] { return std::make_unique<Scripted>(seen); });
    }
};

} // namespace

TEST(Coms, ChunksAreCutIntoLinesEachLineFeedAddingABlankLine)
{
    const struct {
        Lines chunks, shown;
        std::string pending;
    } rows[] = {
        {{"A\nB\n"}, {"A", " ", "B", " "}, ""},
        {{"A\n\nB\n"}, {"A", " ", " ", "B", " "}, ""},
        {{"You see a sh", "ip here.\nNext"}, {"You see a ship here.", " "}, "Next"},
        {{"Hello\r\n"}, {"Hello\r", " "}, ""},
        {{std::string("ab\0cd\nef\n", 9)}, {"abcd", " ", "ef", " "}, ""},
    };
    for (const auto& row : rows) {
        FakeMainView view;
        Coms coms{view, std::make_unique<MarkupRecorder>(), "1.60"};
        coms.SetMode(Coms::AwaitingStream);
        for (const std::string& chunk : row.chunks)
            coms.ProcessChunk(chunk);
        EXPECT_EQ(view.DisplayedTexts(), row.shown) << row.chunks[0];
        EXPECT_EQ(coms.PendingText(), row.pending);
    }
}

TEST_F(ComsTest, EndlessLineIsCutOffAtTheLimit)
{
    coms.SetMode(Coms::AwaitingStream);
    const std::string block(64 * 1024, 'x');
    for (std::size_t sent = 0; sent <= Coms::kMaxPendingText; sent += block.size())
        coms.ProcessChunk(block);
    ASSERT_EQ(view.displayed.size(), 1u);
    EXPECT_GT(view.displayed[0].text.size(), Coms::kMaxPendingText);
    coms.ProcessChunk("tail\n");
    EXPECT_EQ(view.DisplayedTexts(), (Lines{view.displayed[0].text, "tail", " "}));
}

TEST_F(ComsTest, IdleDropsLinesAndTheFirstMarkupLineStartsTheStreamOnce)
{
    coms.ProcessChunk("hello\n<s-no-op/>\n");
    coms.ReportConnected();
    EXPECT_EQ(view.calls, (Lines{"DisplayText:Connected", "SetStatusText:0:Connected"}));
    EXPECT_TRUE(parser->events.empty());

    view.calls.clear();
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("Welcome back.\n<s-default>\nHello there\n<s-no-op/>\n");
    // Prose before the first "<" line is shown; that line goes nowhere else.
    EXPECT_EQ(view.calls, (Lines{"DisplayText:Welcome back.", "DisplayText: ", "SendText:look\n"}));
    EXPECT_EQ(macros, Lines{"F1"});
    EXPECT_EQ(parser->events, (Lines{"C:Hello there", "S:s-no-op[]", "E:s-no-op"}));
}

TEST_F(ComsTest, FinishedConversationSendsTheHelloAndAwaitsTheStream)
{
    coms.StartLogon();
    coms.ProcessChunk("login: \nLinking to Kyrnos DataSpace...\nWelcome\n<s-default>\n");
    EXPECT_EQ(seen, (Lines{"login: ", " ", "Linking to Kyrnos DataSpace..."}));
    EXPECT_EQ(view.sent, (Lines{"<?xml version=\"1.0\"?>\n", "<c-orvix version='1.60'>\n", "look\n"}));
    EXPECT_EQ(view.DisplayedTexts(), (Lines{" ", "Welcome", " "}));

    coms.StartNewAccount();
    coms.ProcessChunk("Linking to Kyrnos DataSpace\n");
    EXPECT_EQ(coms.NewAccountAutomation(), nullptr);
    EXPECT_EQ(Lines(view.sent.begin() + 3, view.sent.end()), Lines(view.sent.begin(), view.sent.begin() + 2));
}

TEST_F(ComsTest, StartingAgainReplacesTheConversationButKeepsWaitingText)
{
    coms.SetMode(Coms::AwaitingStream);
    coms.ProcessChunk("half a li");
    coms.StartLogon();
    coms.ProcessChunk("ne\n");
    coms.StartLogon();
    // A line whose handler throws is used up, the whole lines after it are
    // handled at once, and the error is still passed on.
    EXPECT_THROW(coms.ProcessChunk("boom\nnext\nrest"), std::runtime_error);
    EXPECT_EQ(seen.size(), 5u) << "next and its blank came with the chunk";
    coms.ProcessChunk(" of it\n");
    EXPECT_EQ(created, 2);
    EXPECT_EQ(seen, (Lines{"half a line", " ", " ", "next", " ", "rest of it", " "}));
    EXPECT_TRUE(view.displayed.empty());
}
