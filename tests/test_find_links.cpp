// Finding text in a pane's lines, and the web addresses drawn as links.
#include <QStringList>

#include <gtest/gtest.h>

#include "widgets/text_finder.h"
#include "widgets/links.h"

namespace {

TextFinder Over(const QStringList& lines)
{
    return TextFinder([lines](int i) { return lines.at(i); }, int(lines.size()));
}

} // namespace

TEST(TextFinder, StepsThroughMatchesBothWaysWrapsRoundAndFindsOneMatchAgain)
{
    const QStringList lines{"Grain is cheap", "nothing here", "GRAIN again, grain", "end"};
    const TextFinder finder = Over(lines);
    const QList<TextMatch> order{{0, 0, 5}, {2, 0, 5}, {2, 13, 5}};

    std::optional<TextMatch> at;
    for (int round = 0; round < 2; ++round)
        for (const TextMatch& expected : order) {
            at = finder.Find("grain", at, false);
            ASSERT_TRUE(at);
            EXPECT_EQ(*at, expected) << "forward, round " << round;
        }
    at.reset();
    for (int round = 0; round < 2; ++round)
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            at = finder.Find("grain", at, true);
            ASSERT_TRUE(at);
            EXPECT_EQ(*at, *it) << "backward, round " << round;
        }
    EXPECT_EQ(finder.CountMatches("grain"), 3);
    EXPECT_EQ(finder.CountMatches("grain", Qt::CaseSensitive), 1);
    EXPECT_EQ(*finder.Find("GRAIN", std::nullopt, false, Qt::CaseSensitive), (TextMatch{2, 0, 5}));

    // One match is found again; nothing is nothing.
    const TextFinder single = Over({"a", "the only ore", "b"});
    const auto first = single.Find("ore", std::nullopt, false);
    ASSERT_TRUE(first);
    EXPECT_EQ(single.Find("ore", first, false), first);
    EXPECT_EQ(single.Find("ore", first, true), first);
    EXPECT_FALSE(single.Find("gold", std::nullopt, false));
    EXPECT_FALSE(single.Find("", std::nullopt, false));
    EXPECT_FALSE(Over({}).Find("ore", std::nullopt, true));
    EXPECT_EQ(TextFinder::MatchesInLine("ore, Ore and ORE", 7, "ore").size(), 3);
}

TEST(Links, AddressesInProseAndLinesThatOnlyLookLikeThem)
{
    // {line, each link as "text=url" separated by blanks}
    const std::pair<const char*, const char*> rows[] = {
        {"Vote at https://vote.example.org/kyrn today.", "https://vote.example.org/kyrn=https://vote.example.org/kyrn"},
        {"See www.kyrn.example (the manual).", "www.kyrn.example=https://www.kyrn.example"},
        {"(http://a.example/x_(y)) and http://b.example/?q=1&r=2!",
            "http://a.example/x_(y)=http://a.example/x_(y) http://b.example/?q=1&r=2=http://b.example/?q=1&r=2"},
        {"Local: http://localhost:8080/map", "http://localhost:8080/map=http://localhost:8080/map"},
        {"e.g. the file notes.txt, version 1.60, Sol.IV", ""},
        {"http:// is how it starts; www. alone; https://nohost/", ""},
        {"mail admin@www.example.org or ftp://files.example.org", ""},
        {"\"https://q.example\"", "https://q.example=https://q.example"},
    };
    for (const auto& [text, expected] : rows) {
        const QString line = QString::fromLatin1(text);
        QStringList found;
        for (const LinkSpan& link : FindLinks(line))
            found << line.mid(link.start, link.length) + "=" + link.url.toString();
        EXPECT_EQ(found.join(' ').toStdString(), expected) << text;
    }
}
