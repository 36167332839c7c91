#pragma once
// The dispatcher of the server stream: every line after the client hello
// goes through the scanner into here, and each s- element becomes calls on
// the roster, the friends list, the tight beam, the map and the panes.
// Prose is shown only inside the elements that carry it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "map/location.h"
#include "markup/xml.h"
#include "panels/panel_pictures.h"

class MainView;
class Players;
class Friends;
class TightBeam;
class Panels;
class WorldMap;

// Where the element effects go. The main window creates these objects after
// the connection that owns the dispatcher, so it fills them in as they come
// into being; an effect whose object is not there yet is skipped.
struct DispatchTargets {
    Players* players = nullptr;
    Friends* friends = nullptr;
    TightBeam* tightBeam = nullptr;
    Panels* panels = nullptr;
    // Takes each location at the end of its s-new-loc; while unset the
    // location is discarded.
    std::function<void(std::unique_ptr<Location>)> locationArrived;
    // The map elements other than s-new-loc.
    WorldMap* map = nullptr;
};

class ServerParser : public XMLParser {
public:
    // What `openElement` holds: the element whose text is being received.
    enum Open : uint8_t {
        None = 0,
        Default = 1,
        NewLoc = 2,
        AddPlayer = 3,
        RemovePlayer = 4,
        Contents = 5,
        NewMap = 6,
        RemoveContents = 7,
        MapInfo = 8,
        AddFactory = 9,
        UpdateInfra = 10,
        UpdateWorkers = 11,
        RemoveFactory = 12,
        PlayerStats = 13,
        ShipStats = 14,
        Tb = 15,
        NoOp = 16,
        SpynetStart = 17,
        Spynet = 18,
        ExamineStart = 19,
        Examine = 20,
    };

    ServerParser(MainView& view, const DispatchTargets& targets);
    ~ServerParser() override;

    // Index of the element in the table of the 24 server elements; -1 for
    // any other name. Exact, case-sensitive.
    static int LookupElement(std::string_view name);

    uint8_t OpenElement() const { return openElement; }

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override;
    void EndElement(const std::string& name) override;
    void Characters(const std::string& text) override;

private:
    void MapElement(int element, const AttribList& attributes);
    void StartReport(const std::string& title, const std::string& name);
    void ShowReportPicture(const std::string& name);
    void PlayServerSound(const std::string& name);
    // Statistics and exchange elements, for the status panels.
    void PanelElement(int element, const AttribList& attributes);

    MainView& view;
    const DispatchTargets& targets;
    uint8_t openElement = None;
    std::unique_ptr<Location> pendingLocation;
    std::string tbSender;
    std::string tbText;
    PictureFinder reportPictures;
};
