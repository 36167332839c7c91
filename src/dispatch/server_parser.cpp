#include "dispatch/server_parser.h"

#include <array>

#include "panels/panels.h"
#include "base/datafiles.h"
#include "map/world_map.h"
#include "views/mainview.h"
#include "social/friends_code.h"
#include "social/players.h"
#include "social/tb_code.h"

namespace {

// Table order is the index LookupElement gives.
enum Element {
    kDefault,
    kAddPlayer,
    kRemovePlayer,
    kNewLoc,
    kContents,
    kNewMap,
    kRemoveContents,
    kMapInfo,
    kAddFactory,
    kUpdateInfra,
    kUpdateWorkers,
    kRemoveFactory,
    kPlayerStats,
    kShipStats,
    kTb,
    kNoOp,
    kSpynetStart,
    kSpynet,
    kExamineStart,
    kExamine,
    kSound,
    kExchBuy,
    kExchSell,
    kExchange,
};

constexpr std::array<std::string_view, 24> kElementNames{
    "s-default",
    "s-add-player",
    "s-remove-player",
    "s-new-loc",
    "s-contents",
    "s-new-map",
    "s-remove-contents",
    "s-map-info",
    "s-add-factory",
    "s-update-infra",
    "s-update-workers",
    "s-remove-factory",
    "s-player-stats",
    "s-ship-stats",
    "s-tb",
    "s-no-op",
    "s-spynet-start",
    "s-spynet",
    "s-examine-start",
    "s-examine",
    "s-sound",
    "s-exch-buy",
    "s-exch-sell",
    "s-exchange",
};

// What each element's start tag makes the open element, in table order.
// s-sound and the exchange elements leave it as it was.
constexpr uint8_t kKeepOpen = 0xFF;
constexpr std::array<uint8_t, 24> kOpens{
    ServerParser::Default,
    ServerParser::AddPlayer,
    ServerParser::RemovePlayer,
    ServerParser::NewLoc,
    ServerParser::Contents,
    ServerParser::NewMap,
    ServerParser::RemoveContents,
    ServerParser::MapInfo,
    ServerParser::AddFactory,
    ServerParser::UpdateInfra,
    ServerParser::UpdateWorkers,
    ServerParser::RemoveFactory,
    ServerParser::PlayerStats,
    ServerParser::ShipStats,
    ServerParser::Tb,
    ServerParser::NoOp,
    ServerParser::SpynetStart,
    ServerParser::Spynet,
    ServerParser::ExamineStart,
    ServerParser::Examine,
    kKeepOpen,
    kKeepOpen,
    kKeepOpen,
    kKeepOpen,
};

} // namespace

ServerParser::ServerParser(MainView& v, const DispatchTargets& t)
    : XMLParser()
    , view(v)
    , targets(t)
{
}

ServerParser::~ServerParser() = default;

int ServerParser::LookupElement(std::string_view name)
{
    for (std::size_t i = 0; i < kElementNames.size(); ++i)
        if (kElementNames[i] == name)
            return static_cast<int>(i);
    return -1;
}

void ServerParser::StartElement(const std::string& name, const AttribList& attributes)
{
    const int element = LookupElement(name);
    if (element < 0)
        return;

    switch (element) {
    case kAddPlayer: {
        const std::string player = GetAttribute(attributes, "name");
        if (player.empty())
            break;
        if (targets.players)
            targets.players->AddPlayer(player);
        if (targets.friends)
            targets.friends->PlayerChanged(GetNumberAttribute(attributes, "rank", 0), player, true);
        break;
    }
    case kRemovePlayer: {
        const std::string player = GetAttribute(attributes, "name");
        if (player.empty())
            break;
        if (targets.players)
            targets.players->RemovePlayer(player);
        if (targets.friends)
            targets.friends->PlayerChanged(0, player, false);
        break;
    }
    case kNewLoc:
        pendingLocation = std::make_unique<Location>(Location::FromAttributes(attributes));
        view.ClearLocationList();
        view.AddToStory(pendingLocation->name);
        view.DisplayText(pendingLocation->name, true);
        break;
    case kContents:
    case kRemoveContents: {
        const std::string item = GetAttribute(attributes, "name");
        if (item.empty())
            break;
        if (element == kContents)
            view.AddLocationItem(item);
        else
            view.RemoveLocationItem(item);
        break;
    }
    case kTb:
        tbSender = GetAttribute(attributes, "name");
        tbText.clear();
        break;
    case kNoOp: view.SendText("<c-no-op/>\n"); break;
    case kSpynetStart:
    case kExamineStart: {
        const std::string player = GetAttribute(attributes, "name");
        const std::string rank = GetAttribute(attributes, "rank");
        StartReport((element == kSpynetStart ? "Spynet Report for " : "Examine ") + rank + " " + player, player);
        break;
    }
    case kSound: PlayServerSound(GetAttribute(attributes, "name")); break;
    case kPlayerStats:
    case kShipStats:
    case kExchBuy:
    case kExchSell:
    case kExchange:
        if (targets.panels)
            PanelElement(element, attributes);
        break;
    case kNewMap:
    case kMapInfo:
    case kAddFactory:
    case kRemoveFactory:
    case kUpdateWorkers:
    case kUpdateInfra:
        if (targets.map)
            MapElement(element, attributes);
        break;
    default:
        // s-default and the report bodies only open.
        break;
    }

    if (kOpens[static_cast<std::size_t>(element)] != kKeepOpen)
        openElement = kOpens[static_cast<std::size_t>(element)];
}

void ServerParser::Characters(const std::string& text)
{
    switch (openElement) {
    case Default:
        // Lines the server marks with "+++" are for the story and the log only.
        if (text.compare(0, 3, "+++") == 0)
            view.AddToStory(text);
        else
            view.DisplayText(text);
        return;
    case NewLoc:
    case Contents:
    case RemoveContents: view.DisplayText(text); return;
    case Tb: tbText += text; return;
    case Spynet:
    case Examine:
        view.AddReportLine(text);
        view.AddToStory(text);
        return;
    default: return;
    }
}

void ServerParser::EndElement(const std::string&)
{
    switch (openElement) {
    case NewLoc:
        if (pendingLocation && targets.locationArrived)
            targets.locationArrived(std::move(pendingLocation));
        pendingLocation.reset();
        break;
    case Tb:
        if (targets.tightBeam)
            targets.tightBeam->Incoming(tbSender, tbText);
        break;
    case Spynet:
    case Examine: view.ResetSpynetView(); break;
    default: break;
    }
    openElement = None;
}

void ServerParser::PanelElement(int element, const AttribList& attributes)
{
    Panels& panels = *targets.panels;
    const std::string name = GetAttribute(attributes, "name");
    const int32_t price = GetNumberAttribute(attributes, "price", 0);
    switch (element) {
    case kPlayerStats: panels.PlayerStatsElement(attributes); break;
    case kShipStats: panels.ShipStatsElement(attributes); break;
    case kExchBuy:
        if (price != 0)
            panels.GetExchange().ExchangeBuys(name, price);
        break;
    case kExchSell:
        if (const int32_t stock = GetNumberAttribute(attributes, "stock", 0); price > 0 && stock > 0)
            panels.GetExchange().ExchangeSells(name, price, stock);
        break;
    case kExchange: panels.GetExchange().EnterExchange(name); break;
    }
}

void ServerParser::MapElement(int element, const AttribList& attributes)
{
    WorldMap& map = *targets.map;
    switch (element) {
    case kNewMap: map.NewMap(attributes); break;
    case kMapInfo: map.MapInfo(attributes); break;
    case kAddFactory: map.AddFactory(attributes); break;
    case kRemoveFactory: map.RemoveFactory(attributes); break;
    case kUpdateWorkers: map.UpdateWorkers(attributes); break;
    default: map.ShowInfrastructure(); break;
    }
}

void ServerParser::StartReport(const std::string& title, const std::string& name)
{
    view.OpenReport(title);
    view.AddToStory(title);
    ShowReportPicture(name);
}

void ServerParser::ShowReportPicture(const std::string& name)
{
    // Reports come by the dozen: the folder is not searched for each one.
    const std::string path = reportPictures.Find(name, "interference");
    if (!path.empty())
        view.LoadReportPicture(path);
}

void ServerParser::PlayServerSound(const std::string& name)
{
    if (name.empty() || !view.OptionChecked(Option::SoundFx))
        return;
    const std::string path = FindNamedDataFile(view.WorkDir() + "/sounds", name + ".wav");
    if (!path.empty())
        view.PlaySound(path);
}
