#include "worldloader.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {

int intAttr(const QXmlStreamAttributes& a, const char* name, int def = 0)
{
    bool ok = false;
    const int v = a.value(QLatin1String(name)).toInt(&ok);
    return ok ? v : def;
}

QString strAttr(const QXmlStreamAttributes& a, const char* name)
{
    return a.value(QLatin1String(name)).toString();
}

// Text of a description: lines trimmed, empty lines dropped, so the file
// can be indented freely.
QStringList textLines(const QString& text)
{
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString t = line.simplified();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

constexpr int kOffsets[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

} // namespace

bool WorldLoader::fail(const QString& message)
{
    error_ = message;
    return false;
}

bool WorldLoader::parsePlace(const QString& text, const QString& currentMap, Place& place)
{
    QString mapId = currentMap;
    QString coords = text;
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        mapId = text.left(colon);
        coords = text.mid(colon + 1);
    }
    const QStringList xy = coords.split(QLatin1Char(','));
    if (xy.size() != 2)
        return false;
    bool okx = false, oky = false;
    const int x = xy[0].trimmed().toInt(&okx);
    const int y = xy[1].trimmed().toInt(&oky);
    if (!okx || !oky || x < 0 || y < 0 || x >= kMapWidth || y >= kMapWidth)
        return false;
    place = Place{mapId, locNum(x, y)};
    return true;
}

bool WorldLoader::load(const QString& path, World& world)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open world file %1: %2").arg(path, file.errorString()));
    if (!load(file, world))
        return fail(path + QStringLiteral(": ") + error_);
    return true;
}

bool WorldLoader::load(QIODevice& device, World& world)
{
    world = World{};
    QXmlStreamReader xml(&device);
    MapDef* map = nullptr;
    LocationDef* loc = nullptr;
    QString startText;
    auto where = [&xml] { return QStringLiteral("line %1: ").arg(xml.lineNumber()); };

    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            const auto n = xml.name();
            if (n == QLatin1String("map"))
                map = nullptr;
            else if (n == QLatin1String("loc"))
                loc = nullptr;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (name == QLatin1String("world")) {
            world.system = strAttr(a, "system");
            startText = strAttr(a, "start");
        } else if (name == QLatin1String("commodity")) {
            CommodityDef c{strAttr(a, "name"), intAttr(a, "price"), intAttr(a, "stock"), strAttr(a, "description")};
            if (c.name.isEmpty() || c.name.contains(QLatin1Char(' ')) || c.price <= 0)
                return fail(where() + QStringLiteral("a commodity needs a one-word name and a price"));
            world.commodities << c;
        } else if (name == QLatin1String("exchange")) {
            ExchangeDef e{strAttr(a, "id"), strAttr(a, "name"),
                strAttr(a, "commodities").split(QLatin1Char(' '), Qt::SkipEmptyParts),
                strAttr(a, "produces").split(QLatin1Char(' '), Qt::SkipEmptyParts)};
            world.exchanges[e.id] = e;
        } else if (name == QLatin1String("story")) {
            world.story << xml.readElementText().simplified();
        } else if (name == QLatin1String("bot")) {
            BotDef b{strAttr(a, "name"), intAttr(a, "rank"), strAttr(a, "species"), strAttr(a, "gender"),
                strAttr(a, "map"), {}};
            b.sayings = textLines(xml.readElementText());
            world.bots << b;
        } else if (name == QLatin1String("map")) {
            const QString id = strAttr(a, "id");
            if (id.isEmpty() || world.maps.count(id))
                return fail(where() + QStringLiteral("map without an id, or one used twice"));
            MapDef& m = world.maps[id];
            m.id = id;
            m.name = strAttr(a, "name");
            m.system = a.hasAttribute(QLatin1String("system")) ? strAttr(a, "system") : world.system;
            m.owner = strAttr(a, "owner");
            m.economy = strAttr(a, "economy");
            m.workers = intAttr(a, "workers");
            m.space = strAttr(a, "space") == QLatin1String("true");
            map = &m;
        } else if (name == QLatin1String("factory")) {
            if (!map)
                return fail(where() + QStringLiteral("factory outside a map"));
            map->factories[strAttr(a, "output")] += qMax(1, intAttr(a, "count", 1));
        } else if (name == QLatin1String("loc")) {
            if (!map)
                return fail(where() + QStringLiteral("location outside a map"));
            const int x = intAttr(a, "x", -1);
            const int y = intAttr(a, "y", -1);
            if (x < 0 || y < 0 || x >= kMapWidth || y >= kMapWidth)
                return fail(where() + QStringLiteral("location outside the 64 x 64 grid"));
            const int num = locNum(x, y);
            if (map->locations.count(num))
                return fail(where() + QStringLiteral("two locations at %1,%2").arg(x).arg(y));
            LocationDef& l = map->locations[num];
            l.num = num;
            l.name = strAttr(a, "name");
            l.exchange = strAttr(a, "exchange");
            l.customs = strAttr(a, "customs") == QLatin1String("true");
            l.hazard = qBound(0, intAttr(a, "hazard", 0), 1000);
            if (l.name.isEmpty())
                return fail(where() + QStringLiteral("location without a name"));
            for (const QString& d : strAttr(a, "exits").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const auto dir = dirFromName(d);
                if (!dir || *dir == Dir::U || *dir == Dir::D)
                    return fail(where() + QStringLiteral("bad exit '%1'").arg(d));
                const int i = static_cast<int>(*dir);
                const int nx = x + kOffsets[i][0];
                const int ny = y + kOffsets[i][1];
                if (nx < 0 || ny < 0 || nx >= kMapWidth || ny >= kMapWidth)
                    return fail(where() + QStringLiteral("exit '%1' leaves the grid").arg(d));
                l.exits[i] = Place{map->id, locNum(nx, ny)};
            }
            if (a.hasAttribute(QLatin1String("board")) && !parsePlace(strAttr(a, "board"), map->id, l.board))
                return fail(where() + QStringLiteral("bad boarding place"));
            loc = &l;
        } else if (name == QLatin1String("exit")) {
            if (!loc)
                return fail(where() + QStringLiteral("exit outside a location"));
            const auto dir = dirFromName(strAttr(a, "dir"));
            Place to;
            if (!dir || !parsePlace(strAttr(a, "to"), map->id, to))
                return fail(where() + QStringLiteral("bad exit"));
            loc->exits[static_cast<int>(*dir)] = to;
        } else if (name == QLatin1String("item")) {
            if (!loc)
                return fail(where() + QStringLiteral("item outside a location"));
            loc->items << xml.readElementText().simplified();
        } else if (name == QLatin1String("text")) {
            if (!loc)
                return fail(where() + QStringLiteral("text outside a location"));
            loc->description = textLines(xml.readElementText());
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
    if (!parsePlace(startText, QString(), world.start))
        return fail(QStringLiteral("the world needs a start place (map:x,y)"));
    return check(world);
}

bool WorldLoader::check(const World& world)
{
    if (!world.location(world.start))
        return fail(QStringLiteral("the start place does not exist"));
    for (const auto& [id, m] : world.maps) {
        for (const auto& [num, l] : m.locations) {
            const QString here = QStringLiteral("%1 (%2)").arg(l.name, id);
            for (int i = 0; i < kDirCount; ++i) {
                if (l.exits[i].valid() && !world.location(l.exits[i]))
                    return fail(here + QStringLiteral(": exit %1 leads nowhere").arg(dirName(Dir(i))));
            }
            if (l.board.valid() && !world.location(l.board))
                return fail(here + QStringLiteral(": boarding leads nowhere"));
            if (!l.exchange.isEmpty() && !world.exchanges.count(l.exchange))
                return fail(here + QStringLiteral(": unknown exchange ") + l.exchange);
        }
    }
    for (const auto& [id, e] : world.exchanges) {
        for (const QString& c : e.commodities) {
            if (!world.commodity(c))
                return fail(QStringLiteral("exchange %1 trades unknown %2").arg(id, c));
        }
    }
    for (const BotDef& b : world.bots) {
        const MapDef* m = world.map(b.map);
        if (b.name.isEmpty() || !m || m->locations.empty())
            return fail(QStringLiteral("simulated player %1 has no map to walk").arg(b.name));
    }
    return true;
}
