#pragma once
// Reads the world file (XML) into a World and checks that it hangs
// together: every exit, boarding point and start leads to a location that
// exists, and every exchange trades known commodities.

#include "world.h"

#include <QIODevice>
#include <QString>

class WorldLoader {
public:
    // False with a message naming the line on any fault.
    bool load(const QString& path, World& world);
    bool load(QIODevice& device, World& world);
    QString error() const { return error_; }

private:
    bool fail(const QString& message);
    bool check(const World& world);
    // "map:x,y" or "x,y" (the current map)
    bool parsePlace(const QString& text, const QString& currentMap, Place& place);

    QString error_;
};
