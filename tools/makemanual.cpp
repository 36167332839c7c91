// Puts the player's manual where Orvix finds it: copies the written pages
// into OUT_DIR/manual and draws the maps page from the game's world file.
//
//   orvix_manual OUT_DIR PAGES_DIR WORLD_FILE
#include <algorithm>
#include <cstdio>
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
            maps.push_back({a.value("id").toString(), a.value("name").toString(),
                            a.value("owner").toString(), a.value("economy").toString(), {}});
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
            maps.back().places.back().notes
                << a.value("dir").toString() + ":" + a.value("to").toString();
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
        html += "<h2 id=\"" + Escape(m.id) + "\">" + Escape(m.name) + "</h2>\n<p>";
        html += Escape(m.economy.isEmpty() ? QString("Unknown") : m.economy) + " economy";
        if (!m.owner.isEmpty())
            html += ", owned by " + Escape(m.owner);
        html += ".</p>\n";
        if (m.places.empty())
            continue;
        const auto [minX, maxX] = std::minmax_element(
            m.places.begin(), m.places.end(), [](const Place& a, const Place& b) { return a.x < b.x; });
        const auto [minY, maxY] = std::minmax_element(
            m.places.begin(), m.places.end(), [](const Place& a, const Place& b) { return a.y < b.y; });
        html += "<table class=\"map\">\n";
        for (int y = minY->y; y <= maxY->y; ++y) {
            html += "<tr>";
            for (int x = minX->x; x <= maxX->x; ++x) {
                const auto p = std::find_if(m.places.begin(), m.places.end(),
                                            [&](const Place& q) { return q.x == x && q.y == y; });
                if (p == m.places.end()) {
                    html += "<td class=\"empty\"></td>";
                    continue;
                }
                html += "<td>" + Escape(p->name);
                if (!p->notes.isEmpty())
                    html += " &#9650;";
                html += "</td>";
            }
            html += "</tr>\n";
        }
        html += "</table>\n<ul class=\"places\">\n";
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
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || page.write(MapsPage(maps).toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(page.fileName()));
        return 1;
    }
    return 0;
}
