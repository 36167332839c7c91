// A flooding, hostile server against the real window: tens of megabytes of
// random and mutated markup must leave every pane and list within its limit
// and the process's memory within a stated bound.
//
// Limits: panes keep the buffer size (trimmed in steps of 100 lines, before
// the next line is added) and lines of at most TextPane::kMaxLineLength
// characters; the players list at most Players::kMaxPlayers names of up to
// Players::kMaxNameBytes bytes; the contents list at most
// TMainForm::kMaxLocationItems entries.
// Memory bound: the resident size grows by less than 256 MB (not checked
// under AddressSanitizer, whose quarantine alone holds 256 MB).
//
// ORVIX_HOSTILE_MB sets the stream's size (50 by default; CI's sanitizer run
// uses less).
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include <QListWidget>

#include <gtest/gtest.h>

#include "shell/coms.h"
#include "social/players.h"
#include "support/window_fixture.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAsan = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAsan = true;
#else
constexpr bool kUnderAsan = false;
#endif
#else
constexpr bool kUnderAsan = false;
#endif

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}

std::size_t StreamBytes()
{
    const char* mb = std::getenv("ORVIX_HOSTILE_MB");
    const long n = mb ? std::atol(mb) : 50;
    return static_cast<std::size_t>(n > 0 ? n : 50) << 20;
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

// Writes one piece of hostile stream of the kind chosen by `kind`.
void HostilePiece(std::string& out, int kind, std::mt19937& rng, long& serial)
{
    switch (kind) {
    case 0:  // an overlong line with no end
        out.append(300 * 1024, 'x');
        out += '\n';
        break;
    case 1:  // lines of only "<"
        for (int i = 0; i < 2000; ++i)
            out.append(1 + rng() % 60, '<') += '\n';
        break;
    case 2:  // every byte value, NUL included
        for (int round = 0; round < 64; ++round)
            for (int b = 0; b < 256; ++b)
                out += static_cast<char>(b);
        break;
    case 3:  // unterminated elements and text inside open ones
        for (int i = 0; i < 500; ++i)
            out += "<s-new-loc name='Pad" + std::to_string(serial++) + "\n<s-spynet>\nline "
                   + std::to_string(i) + "\n<s-tb name='x'>beam\n<s-examine-start name='";
        break;
    case 4:  // contents that never leave
        for (int i = 0; i < 5000; ++i)
            out += "<s-contents name='Thing" + std::to_string(serial++) + "'/>\n";
        break;
    case 5:  // an endless report and a stream of tight beams
        out += "<s-spynet-start name='Zed' rank='Captain'/>\n<s-spynet>\n";
        for (int i = 0; i < 2000; ++i)
            out += "report line " + std::to_string(i) + "\n";
        for (int i = 0; i < 2000; ++i)
            out += "<s-tb name='Zed'>beam " + std::to_string(i) + "</s-tb>\n";
        break;
    default:  // mutated real markup
        for (int i = 0; i < 2000; ++i) {
            std::string line = kSeedLines[rng() % std::size(kSeedLines)];
            for (int flips = rng() % 4; flips > 0; --flips)
                line[rng() % line.size()] = static_cast<char>(rng());
            out += line + '\n';
        }
        break;
    }
}

} // namespace

TEST_F(WindowFixture, HostileFloodKeepsPanesListsAndMemoryWithinLimits)
{
    TMainForm& w = Window();
    w.SetOptionChecked(Option::DisplayServerStream, true);
    w.GetComs().SetMode(Coms::Streaming);
    const long before = ResidentKb();

    const std::size_t total = StreamBytes();
    std::mt19937 rng(13);
    long serial = 0;
    std::size_t fed = 0;
    std::string pending;
    auto feed = [&] {
        for (std::size_t at = 0; at < pending.size(); at += 4095)
            w.ReceiveChunk(std::string_view(pending).substr(at, 4095));
        fed += pending.size();
        pending.clear();
    };
    // A million distinct players spread through the flood, the rest hostile
    // pieces in turn; scaled down with the stream.
    const long players = static_cast<long>(total / (50u << 20) * 1000000u) + 20000;
    long added = 0;
    for (int kind = 0; fed < total; kind = (kind + 1) % 7) {
        HostilePiece(pending, kind, rng, serial);
        for (int i = 0; i < 20000 && added < players; ++i, ++added)
            pending += "<s-add-player name='P" + std::to_string(added) + "' rank='3'/>\n";
        feed();
    }
    // End on the floods, so the lists and pages are checked at their fullest.
    HostilePiece(pending, 4, rng, serial);
    HostilePiece(pending, 5, rng, serial);
    feed();
    const long grownMb = (ResidentKb() - before) / 1024;

    const int paneLimit = w.BufferLines() + 101;
    for (TextPane* pane : w.findChildren<TextPane*>()) {
        EXPECT_LE(pane->LineCount(), paneLimit) << pane->objectName().toStdString();
        for (const QString& line : pane->Lines())
            ASSERT_LE(line.size(), TextPane::kMaxLineLength) << pane->objectName().toStdString();
    }
    EXPECT_EQ(w.PlayerListBox->count(), static_cast<int>(Players::kMaxPlayers));
    EXPECT_EQ(w.LocListBox->count(), TMainForm::kMaxLocationItems);
    if (!kUnderAsan) {
        EXPECT_LT(grownMb, 256) << "resident memory grew by " << grownMb << " MB";
    }
    RecordProperty("resident_growth_mb", static_cast<int>(grownMb));
}
