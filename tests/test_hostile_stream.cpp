// A flooding, hostile server against the real window: tens of megabytes of
// random and mutated markup must leave every pane and list within its limit
// and the process's memory within a stated bound.
//
// The peak resident size may grow by less than 256 MB (not checked under
// AddressSanitizer, whose quarantine alone holds that much).
// ORVIX_HOSTILE_MB sets the stream's size (50 by default).
#include <sys/resource.h>

#include <cstdlib>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "session/coms.h"
#include "social/players.h"
#include "support/window_fixture.h"

namespace {

long PeakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

const char* const kSeedLines[] = {
    "<s-new-loc name='Landing Pad' loc-num='455' n='1' e='1'>",
    "A dusty pad under a red sky &amp; more.",
    "</s-new-loc>",
    "<s-contents name='Lamp'>You see Lamp.</s-contents>",
    "<s-add-player name='Zed' rank='2'/>",
    "<s-default>The wind rises.</s-default>",
    "<s-tb name='Zed'>Meet me</s-tb>",
    "<s-spynet-start name='Zed' rank='Captain'/>",
    "<s-spynet>",
    "<s-exch-sell name='Spice' price='41' stock='300'/>",
    "<s-no-op/>",
};

// Appends one piece of hostile stream of the kind chosen by `kind`.
void HostilePiece(std::string& out, int kind, std::mt19937& rng, long& serial)
{
    auto times = [](int n, auto&& f) {
        for (int i = 0; i < n; ++i)
            f(std::to_string(i));
    };
    switch (kind) {
    case 0: out.append(300 * 1024, 'x') += '\n'; break; // an overlong line with no end
    case 1: times(2000, [&](auto) { out.append(1 + rng() % 60, '<') += '\n'; }); break; // lines of only "<"
    case 2:
        for (int i = 0; i < 64 * 256; ++i)
            out += char(i);
        break; // every byte value, NUL included
    case 3: // unterminated elements and text inside open ones
        times(500, [&](const std::string& i) {
            out += "<s-new-loc name='Pad" + std::to_string(serial++) + "\n<s-spynet>\nline " + i
                + "\n<s-tb name='x'>beam\n<s-examine-start name='";
        });
        break;
    case 4: // contents that never leave
        times(5000, [&](auto) { out += "<s-contents name='Thing" + std::to_string(serial++) + "'/>\n"; });
        break;
    case 5: // an endless report and a stream of tight beams
        out += "<s-spynet-start name='Zed' rank='Captain'/>\n<s-spynet>\n";
        times(2000, [&](const std::string& i) { out += "report line " + i + "\n"; });
        times(2000, [&](const std::string& i) { out += "<s-tb name='Zed'>beam " + i + "</s-tb>\n"; });
        break;
    default: // mutated real markup
        times(2000, [&](auto) {
            std::string line = kSeedLines[rng() % std::size(kSeedLines)];
            for (int flips = rng() % 4; flips > 0; --flips)
                line[rng() % line.size()] = static_cast<char>(rng());
            out += line + '\n';
        });
    }
}

} // namespace

TEST_F(WindowFixture, HostileFloodKeepsPanesListsAndMemoryWithinLimits)
{
    TMainForm& w = Window();
    w.SetOptionChecked(Option::DisplayServerStream, true);
    w.GetComs().SetMode(Coms::Streaming);
    const long before = PeakResidentKb();

    const long mb = std::getenv("ORVIX_HOSTILE_MB") ? std::atol(std::getenv("ORVIX_HOSTILE_MB")) : 50;
    const std::size_t total = static_cast<std::size_t>(mb > 0 ? mb : 50) << 20;
    // A million distinct players spread through the flood, the rest hostile
    // pieces in turn; scaled down with the stream.
    const long players = static_cast<long>(total / (50u << 20) * 1000000u) + 20000;
    std::mt19937 rng(13);
    long serial = 0, added = 0, fed = 0;
    auto feed = [&](const std::string& piece) {
        for (std::size_t at = 0; at < piece.size(); at += 4095)
            w.ReceiveChunk(std::string_view(piece).substr(at, 4095));
        fed += static_cast<long>(piece.size());
    };
    for (int kind = 0; fed < static_cast<long>(total); kind = (kind + 1) % 7) {
        std::string piece;
        HostilePiece(piece, kind, rng, serial);
        for (int i = 0; i < 20000 && added < players; ++i, ++added)
            piece += "<s-add-player name='P" + std::to_string(added) + "' rank='3'/>\n";
        feed(piece);
    }
    // End on the floods, so the lists and pages are checked at their fullest.
    std::string last;
    HostilePiece(last, 4, rng, serial);
    HostilePiece(last, 5, rng, serial);
    feed(last);
    const long grownMb = (PeakResidentKb() - before) / 1024;

    for (TextPane* pane : w.findChildren<TextPane*>()) {
        EXPECT_LE(pane->LineCount(), w.BufferLines() + 101) << pane->objectName().toStdString();
        for (const QString& line : pane->Lines())
            ASSERT_LE(line.size(), TextPane::kMaxLineLength) << pane->objectName().toStdString();
    }
    EXPECT_EQ(w.PlayerListBox->count(), static_cast<int>(Players::kMaxPlayers));
    EXPECT_EQ(w.LocListBox->count(), TMainForm::kMaxLocationItems);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(grownMb, 256) << "peak resident memory grew by " << grownMb << " MB";
#endif
    RecordProperty("resident_growth_mb", static_cast<int>(grownMb));
}
