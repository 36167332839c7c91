#include "panels/avatar_stats.h"

#include <array>

#include "panels/panel_pictures.h"
#include "views/mainview.h"

namespace {

constexpr int32_t kNoLineOfCredit = -99998;

constexpr std::array<Figure, 11> kAvatarFigures{{
    {"sta", "Stamina", Figure::Gauge, " Stamina "},
    {"str", "Strength", Figure::Gauge, " Strength "},
    {"dex", "Dexterity", Figure::Gauge, " Dexterity "},
    {"int", "Intelligence", Figure::Gauge, " Intelligence "},
    {"cash", "Cash", Figure::IgAmount, {}, true},
    {"loan", "Loan", Figure::IgAmount, {}, true, 1},
    {"hc", "Hauler Cr", Figure::Amount, {}, true, 0},
    {"ak", "Akaturi Cr", Figure::Amount, {}, false, kNoLineOfCredit},
    {"merchant", "Merchant Cr", Figure::Amount, {}, false, kNoLineOfCredit},
    {"trader", "Trader Cr", Figure::Amount, {}, false, kNoLineOfCredit},
    {"score", {}, Figure::FrontPage},
}};

} // namespace

AvatarStats::AvatarStats(MainView& v, StatsPageView& p, const AttribList& first)
    : view(v)
    , page(p)
    , figures(p, kAvatarFigures)
    , name(GetAttribute(first, "name"))
{
    ShowName();
    view.SendText("ex " + name + "\n");
}

void AvatarStats::Update(const AttribList& attributes)
{
    if (std::string n = GetAttribute(attributes, "name"); !n.empty()) {
        name = std::move(n);
        ShowName();
        return;
    }
    if (const std::string r = GetAttribute(attributes, "rank"); !r.empty()) {
        rank = "-" + r + "-";
        page.SetSubheading(rank);
        return;
    }
    const Figure* figure = figures.Apply(attributes);
    if (figure && figure->kind == Figure::FrontPage)
        view.ShowScorePage();
}

void AvatarStats::ResetAvatarStats()
{
    name.clear();
    rank.clear();
    page.SetHeading({});
    page.SetSubheading({});
    if (const std::string path = pictures.Find("interference", "interference"); !path.empty())
        page.LoadPicture(path);
    figures.Reset();
}

void AvatarStats::ShowName()
{
    page.SetHeading(name);
    if (const std::string path = pictures.Find(LowerFirst(name), "interference"); !path.empty())
        page.LoadPicture(path);
}
