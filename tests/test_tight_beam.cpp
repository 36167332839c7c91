// The tight-beam channel: opening and closing the TB page, and which lines
// reach its transcript.
#include <functional>

#include <QFile>

#include <gtest/gtest.h>

#include "social/tb_code.h"
#include "support/fake_mainview.h"
#include "support/scoped_workdir.h"

TEST(TightBeam, EachStepTouchesThePageAndThePanesAsItShould)
{
    ScopedWorkDir dir;
    ScopedWorkDir::Touch("pictures/Zed.bmp");
    ScopedWorkDir::Touch("pictures/Interference.BMP");
    FakeMainView view;
    FakeTightBeamView page(&view.calls);
    TightBeam tb(view, page);
    const std::string from = "DisplayText:Your comm unit signals a tight beam message from ";
    const struct {
        std::function<void()> step;
        std::vector<std::string> calls;
    } steps[] = {
        // Before any partner: a complaint, nothing transcribed, every message shown.
        {[&] {
             tb.OpenSelected("");
             tb.Outgoing("zed hello");
             tb.Incoming("Zed", "anyone?");
         },
            {"ShowMessage:You haven't selected\na player to talk to!\n", from + "Zed, \"anyone?\""}},
        {[&] { tb.OpenSelected("Zed"); },
            {"TbPage", "TbCaption:Zed - Tight Beam Comms", "TbClear", "TbPicture:pictures/Zed.bmp",
                "TbPrefill:Tell Zed "}},
        // What the player sends to the partner, from "tell zed ..." or "tb ZED ...".
        {[&] {
             for (const char* line : {"zed hello there", "ZED how are you", "Zedd hi", "Amy hi", "Zed", "", "Zed "})
                 tb.Outgoing(line);
         },
            {"TbLine:You say, \"hello there.\"", "TbLine:You say, \"how are you.\"", "TbLine:You say, \".\""}},
        // Every message is shown; only the partner's, exactly named, is transcribed.
        {[&] {
             tb.Incoming("Zed", "hi there");
             tb.Incoming("zed", "case matters");
         },
            {from + "Zed, \"hi there\"", "TbLine:Zed says, \"hi there\"", from + "zed, \"case matters\""}},
        {[&] { tb.Open("Amy"); },
            {"TbPage", "TbCaption:Amy - Tight Beam Comms", "TbClear", "TbPicture:pictures/Interference.BMP",
                "TbPrefill:Tell Amy "}},
        {[&] { tb.Close(); },
            {"TbClear", "TbCaption:Tight beam connection cleared", "TbPicture:pictures/Interference.BMP",
                "TbReportsPage"}},
        {[&] {
             tb.Incoming("Amy", "still there?");
             tb.Outgoing("amy yes");
         },
            {from + "Amy, \"still there?\""}},
        // Without any picture the opening stops before the input line.
        {[&] {
             QFile::remove("pictures/Interference.BMP");
             tb.Open("Bob");
         },
            {"TbPage", "TbCaption:Bob - Tight Beam Comms", "TbClear"}},
    };
    for (const auto& s : steps) {
        view.calls.clear();
        s.step();
        EXPECT_EQ(view.calls, s.calls) << (s.calls.empty() ? "" : s.calls[0]);
    }
    EXPECT_EQ(view.messages.at(0).first, MessageKind::Error);
}
