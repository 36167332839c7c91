#pragma once
// Reads a stored map file: every loc element becomes a location handed to
// the map. The header is not read back; it always comes from the server.

#include <functional>
#include <memory>

#include "map/location.h"
#include "markup/xml.h"

class MapParser : public XMLParser {
public:
    using Sink = std::function<void(std::unique_ptr<Location>)>;

    MapParser(std::string path, Sink sink);

    // Whether the file held the map element: anything else is no map file.
    bool SawMap() const { return sawMap; }

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override;

private:
    Sink sink;
    bool sawMap = false;
};
