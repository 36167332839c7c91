// Puts the player's manual where Orvix finds it: copies the written pages
// into OUT_DIR/manual and draws the maps page from the game's world file.
//
//   orvix_manual OUT_DIR PAGES_DIR WORLD_FILE
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

namespace {

struct Place {
    int x = 0;
    int y = 0;
    QString name;
    QStringList notes; // exchange, customs, ways up, down and aboard
};

struct WorldMap {
    QString id;
    QString name;
    QString owner;
    QString economy;
    std::vector<Place> places;
};

QString Escape(const QString& text)
{
    return text.toHtmlEscaped();
}

bool ReadWorld(const QString& path, std::vector<WorldMap>& maps, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read " + path;
        return false;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == u"map") {
            maps.push_back({a.value("id").toString(), a.value("name").toString(), a.value("owner").toString(),
                a.value("economy").toString(), {}});
        } else if (xml.name() == u"loc" && !maps.empty()) {
            Place p;
            p.x = a.value("x").toInt();
            p.y = a.value("y").toInt();
            p.name = a.value("name").toString();
            if (!a.value("exchange").isEmpty())
                p.notes << "commodity exchange";
            if (a.value("customs") == u"true")
                p.notes << "customs house";
            if (!a.value("board").isEmpty())
                p.notes << "board:" + a.value("board").toString();
            maps.back().places.push_back(p);
        } else if (xml.name() == u"exit" && !maps.empty() && !maps.back().places.empty()) {
            maps.back().places.back().notes << a.value("dir").toString() + ":" + a.value("to").toString();
        }
    }
    if (xml.hasError()) {
        error = path + ": " + xml.errorString() + " at line " + QString::number(xml.lineNumber());
        return false;
    }
    if (maps.empty()) {
        error = path + ": no maps";
        return false;
    }
    return true;
}

// "kyrnos:30,29" as the reader sees it: the place there and its map.
QString Target(const QString& to, const std::vector<WorldMap>& maps)
{
    const QString mapId = to.section(':', 0, 0);
    const QStringList xy = to.section(':', 1).split(',');
    for (const WorldMap& m : maps) {
        if (m.id != mapId)
            continue;
        for (const Place& p : m.places)
            if (xy.size() == 2 && p.x == xy[0].toInt() && p.y == xy[1].toInt())
                return p.name + " (" + m.name + ")";
        return m.name;
    }
    return mapId;
}

QString Note(const QString& note, const std::vector<WorldMap>& maps)
{
    if (note.startsWith("board:"))
        return "<code>board</code> lifts off to " + Escape(Target(note.mid(6), maps));
    const QString dir = note.section(':', 0, 0);
    const QString to = note.section(':', 1);
    if (dir.isEmpty() || to.isEmpty())
        return Escape(note);
    const QString way = dir == "u" ? "up " : dir == "d" ? "down " : "";
    return "<code>" + Escape(dir) + "</code> leads " + way + "to " + Escape(Target(to, maps));
}

// The map's economy and owner as a player would say them.
QString Economy(const WorldMap& m)
{
    QString said;
    if (m.economy.isEmpty() || m.economy == u"None")
        said = "Nobody lives or works here.";
    else if (m.economy == u"Vacuum")
        said = "Open space: nothing is made or traded here.";
    else
        said = m.economy + " economy.";
    if (!m.owner.isEmpty())
        said += " Owned by " + m.owner + ".";
    return said;
}

// Places two squares apart or closer, in chains, form one area: each area is
// drawn on its own, so far-flung corners of a map do not make one vast table.
std::vector<std::vector<const Place*>> Areas(const std::vector<Place>& places)
{
    std::vector<std::vector<const Place*>> areas;
    std::vector<bool> placed(places.size(), false);
    for (std::size_t first = 0; first < places.size(); ++first) {
        if (placed[first])
            continue;
        placed[first] = true;
        std::vector<const Place*> area{&places[first]};
        for (std::size_t i = 0; i < area.size(); ++i)
            for (std::size_t j = 0; j < places.size(); ++j)
                if (!placed[j] && std::abs(places[j].x - area[i]->x) <= 2 && std::abs(places[j].y - area[i]->y) <= 2) {
                    placed[j] = true;
                    area.push_back(&places[j]);
                }
        areas.push_back(std::move(area));
    }
    return areas;
}

// One area cropped to its places; named after its first place when the map
// has several.
QString AreaTable(const std::vector<const Place*>& area, bool named)
{
    const auto byX = [](const Place* a, const Place* b) { return a->x < b->x; };
    const auto byY = [](const Place* a, const Place* b) { return a->y < b->y; };
    const int left = (*std::min_element(area.begin(), area.end(), byX))->x;
    const int right = (*std::max_element(area.begin(), area.end(), byX))->x;
    const int top = (*std::min_element(area.begin(), area.end(), byY))->y;
    const int bottom = (*std::max_element(area.begin(), area.end(), byY))->y;
    QString html = "<table class=\"map\">\n";
    if (named)
        html += "<caption>Around " + Escape(area.front()->name) + "</caption>\n";
    for (int y = top; y <= bottom; ++y) {
        html += "<tr>";
        for (int x = left; x <= right; ++x) {
            const auto p
                = std::find_if(area.begin(), area.end(), [&](const Place* q) { return q->x == x && q->y == y; });
            if (p == area.end()) {
                html += "<td class=\"empty\"></td>";
                continue;
            }
            html += "<td>" + Escape((*p)->name) + ((*p)->notes.isEmpty() ? "" : " &#9650;") + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

QString MapsPage(const std::vector<WorldMap>& maps)
{
    QString html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                   "<title>Maps of the Kyrn system</title>\n"
                   "<link rel=\"stylesheet\" href=\"manual.css\">\n</head>\n<body>\n"
                   "<p class=\"nav\"><a href=\"index.html\">Orvix Manual</a> | "
                   "<a href=\"game.html\">Game Manual</a> | <a href=\"quickstart.html\">Quick "
                   "Start</a></p>\n<h1>Maps of the Kyrn system</h1>\n"
                   "<p>Every place in the game world, drawn from the world the bundled server "
                   "runs. North is up. Move with <code>n ne e se s sw w nw</code>; places marked "
                   "&#9650; have a way up, down or aboard your ship.</p>\n<ul>\n";
    for (const WorldMap& m : maps)
        html += "<li><a href=\"#" + Escape(m.id) + "\">" + Escape(m.name) + "</a></li>\n";
    html += "</ul>\n";

    for (const WorldMap& m : maps) {
        html += "<h2 id=\"" + Escape(m.id) + "\">" + Escape(m.name) + "</h2>\n<p>" + Escape(Economy(m)) + "</p>\n";
        const std::vector<std::vector<const Place*>> areas = Areas(m.places);
        for (const auto& area : areas)
            html += AreaTable(area, areas.size() > 1);
        html += "<ul class=\"places\">\n";
        for (const Place& p : m.places) {
            if (p.notes.isEmpty())
                continue;
            QStringList said;
            for (const QString& note : p.notes)
                said << Note(note, maps);
            html += "<li><b>" + Escape(p.name) + "</b>: " + said.join("; ") + "</li>\n";
        }
        html += "</ul>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: orvix_manual OUT_DIR PAGES_DIR WORLD_FILE\n");
        return 2;
    }
    const QDir out(QDir(QFile::decodeName(argv[1])).filePath("manual"));
    const QDir pages(QFile::decodeName(argv[2]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    const QStringList files = pages.entryList({"*.html", "*.css"}, QDir::Files);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no pages in %s\n", qPrintable(pages.path()));
        return 1;
    }
    for (const QString& name : files) {
        QFile::remove(out.filePath(name));
        if (!QFile::copy(pages.filePath(name), out.filePath(name))) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(name));
            return 1;
        }
    }

    std::vector<WorldMap> maps;
    QString error;
    if (!ReadWorld(QFile::decodeName(argv[3]), maps, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QFile page(out.filePath("maps.html"));
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) || page.write(MapsPage(maps).toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(page.fileName()));
        return 1;
    }
    return 0;
}
