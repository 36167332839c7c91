// The tight-beam channel: opening and closing the TB page, and which lines
// reach its transcript.
#include <string>

#include <QFile>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "social/tb_code.h"
#include "support/fake_mainview.h"
#include "support/fake_tightbeam_view.h"
#include "support/scoped_workdir.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Page = FakeTightBeamView::Page;

namespace {

class TightBeamTest : public ::testing::Test {
protected:
    static void Touch(const QString& path) { ScopedWorkDir::Touch(path); }

    ScopedWorkDir workDir;
    FakeMainView view;
    FakeTightBeamView page;
    TightBeam tb{view, page};
};

} // namespace

TEST_F(TightBeamTest, OpeningWithoutASelectedPlayerOnlyComplains)
{
    tb.OpenSelected("");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, MessageKind::Error);
    EXPECT_EQ(view.messages[0].second, "You haven't selected\na player to talk to!\n");
    EXPECT_EQ(page.page, Page::None);
    EXPECT_EQ(page.caption, "Connection not yet initiated");
    EXPECT_TRUE(tb.Partner().empty());
}

TEST_F(TightBeamTest, OpeningShowsThePartnerAndPrefillsTheTellCommand)
{
    Touch("pictures/Zed.bmp");
    page.transcript = {"old line"};
    tb.OpenSelected("Zed");

    EXPECT_EQ(tb.Partner(), "Zed");
    EXPECT_EQ(page.page, Page::TightBeam);
    EXPECT_EQ(page.caption, "Zed - Tight Beam Comms");
    EXPECT_THAT(page.transcript, IsEmpty());
    EXPECT_EQ(page.picture, "pictures/Zed.bmp");
    EXPECT_EQ(page.input, "Tell Zed ");
    EXPECT_THAT(view.messages, IsEmpty());
}

TEST_F(TightBeamTest, PicturesFallBackToInterferenceAndWithoutAnyTheInputIsLeft)
{
    Touch("pictures/interference.bmp");
    tb.Open("Amy");
    EXPECT_EQ(page.picture, "pictures/interference.bmp");
    EXPECT_EQ(page.input, "Tell Amy ");

    ASSERT_TRUE(QFile::remove("pictures/interference.bmp"));
    page.transcript = {"Amy says, \"hi\""};
    tb.Open("Bob");
    EXPECT_EQ(tb.Partner(), "Bob");
    EXPECT_EQ(page.caption, "Bob - Tight Beam Comms");
    EXPECT_THAT(page.transcript, IsEmpty());
    EXPECT_EQ(page.picture, "pictures/interference.bmp");
    EXPECT_EQ(page.input, "Tell Amy ");
    EXPECT_EQ(page.prefills, 1);
}

TEST_F(TightBeamTest, SentLinesToThePartnerAreTranscribed)
{
    Touch("pictures/interference.bmp");
    tb.Outgoing("zed hello there");
    EXPECT_THAT(page.transcript, IsEmpty()); // nothing open yet

    tb.Open("Zed");
    tb.Outgoing("zed hello there"); // from "tell zed hello there"
    tb.Outgoing("ZED how are you"); // from "tb ZED how are you"
    tb.Outgoing("Zedd hi");
    tb.Outgoing("Amy hi");
    tb.Outgoing("Zed");
    tb.Outgoing("");
    tb.Outgoing("Zed ");
    EXPECT_THAT(page.transcript, ElementsAre("You say, \"hello there.\"",
                                             "You say, \"how are you.\"", "You say, \".\""));
    EXPECT_THAT(view.sent, IsEmpty());
}

TEST_F(TightBeamTest, IncomingMessagesAlwaysShowAndOnlyThePartnersAreTranscribed)
{
    tb.Incoming("Zed", "anyone?");
    Touch("pictures/interference.bmp");
    tb.Open("Zed");
    tb.Incoming("Zed", "hi there");
    tb.Incoming("zed", "case matters");
    tb.Incoming("Amy", "psst");

    EXPECT_THAT(view.DisplayedTexts(),
                ElementsAre("Your comm unit signals a tight beam message from Zed, \"anyone?\"",
                            "Your comm unit signals a tight beam message from Zed, \"hi there\"",
                            "Your comm unit signals a tight beam message from zed, "
                            "\"case matters\"",
                            "Your comm unit signals a tight beam message from Amy, \"psst\""));
    EXPECT_THAT(page.transcript, ElementsAre("Zed says, \"hi there\""));
}

TEST_F(TightBeamTest, EndTbClearsThePageAndStopsTranscribing)
{
    Touch("pictures/zed.bmp");
    tb.Open("Zed");
    tb.Incoming("Zed", "bye");
    Touch("pictures/Interference.BMP");
    tb.Close();

    EXPECT_TRUE(tb.Partner().empty());
    EXPECT_THAT(page.transcript, IsEmpty());
    EXPECT_EQ(page.caption, "Tight beam connection cleared");
    EXPECT_EQ(page.picture, "pictures/Interference.BMP");
    EXPECT_EQ(page.page, Page::Reports);

    tb.Incoming("Zed", "still there?");
    tb.Outgoing("zed yes");
    EXPECT_THAT(page.transcript, IsEmpty());
    EXPECT_EQ(view.DisplayedTexts().size(), 2u);
}
