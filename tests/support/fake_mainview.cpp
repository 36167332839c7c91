#include "support/fake_mainview.h"

#include <algorithm>

#include <QString>

namespace {
bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return QString::fromLatin1(a).compare(QString::fromLatin1(b), Qt::CaseInsensitive) == 0;
}

void RemoveFirstIgnoringCase(std::vector<std::string>& list, const std::string& text)
{
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const std::string& s) { return SameIgnoringCase(s, text); });
    if (it != list.end())
        list.erase(it);
}
} // namespace

std::vector<std::string> FakeMainView::DisplayedTexts() const
{
    std::vector<std::string> out;
    for (const auto& s : displayed)
        out.push_back(s.text);
    return out;
}

std::string FakeMainView::SentBytes() const
{
    std::string out;
    for (const auto& s : sent)
        out += s;
    return out;
}

void FakeMainView::DisplayText(const std::string& text, bool skipStory)
{
    displayed.push_back({text, skipStory});
    if (!skipStory)
        story.push_back(text);
}

void FakeMainView::RemoveLocationItem(const std::string& text)
{
    RemoveFirstIgnoringCase(locations, text);
}

void FakeMainView::RemovePlayerItem(const std::string& name)
{
    RemoveFirstIgnoringCase(players, name);
}

void FakeMainView::RemoveFriendItem(const std::string& name)
{
    auto it = std::find(friendItems.begin(), friendItems.end(), name);
    if (it != friendItems.end())
        friendItems.erase(it);
}

void FakeMainView::SetBufferLines(int lines)
{
    bufferLines = lines;
    options[Option::LargeBuffer] = lines > 200;
}

void FakeMainView::ShowStatsPanel(bool visible)
{
    statsPanelVisible = visible;
    options[Option::StatsPanel] = visible;
}

bool FakeMainView::OptionChecked(Option option) const
{
    auto it = options.find(option);
    return it != options.end() && it->second;
}
