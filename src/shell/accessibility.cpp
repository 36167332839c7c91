#include "shell/accessibility.h"

#include <QAccessible>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

namespace {

struct Role {
    const char* name;
    const char* description;
};

const QHash<QString, Role>& Roles()
{
    static const QHash<QString, Role> roles{
        {"OutputEdit", {"Output", "The game's text as it arrives"}},
        {"InputEdit", {"Input line", "Type a command and press Enter to send it"}},
        {"StoryMemo", {"Story", "The story of this session, without your commands"}},
        {"ScrollBackMemo", {"Scrollback", "Everything received in this session"}},
        {"PlayerListBox", {"Players", "Players in the game; Ctrl+Space starts a tell"}},
        {"FriendsListBox", {"Friends", "Your friends who are in the game"}},
        {"LocListBox", {"Location contents", "What and who is at your location"}},
        {"MapGrid", {"Map", "The map of the planet around your location"}},
        {"DetailGrid", {"Detail map", "The map close up around your location"}},
        {"MapMemo", {"Planet information", "The planet's owner, workforce and factories"}},
        {"MapRepeater", {"Map output", "The game's latest text, beside the map"}},
        {"TBMemo", {"Tight beam", "Your private tight-beam conversation"}},
        {"TBEndBtn", {"End tight beam", "Ends the tight-beam conversation"}},
        {"SpynetOutput", {"Report", "The latest spynet or examine report"}},
        {"HistoryListBox", {"Trade history", "Your trades; double-click one to trade again"}},
        {"StatBox", {"Avatar statistics", "Your avatar's figures; click one to show its bar"}},
        {"ShipBox", {"Ship statistics", "Your ship's figures; click one to show its bar"}},
        {"StatBar", {"Avatar figure bar", "The selected avatar figure against its maximum"}},
        {"ShipBar", {"Ship figure bar", "The selected ship figure against its maximum"}},
        {"MainNotebook", {"Main pages", "Main, Map, Story and Scrollback pages"}},
        {"TopNotebook", {"Report pages", "Examine and spynet, exchange and tight-beam pages"}},
        {"PlayersNotebook", {"Player lists", "Players and friends"}},
        {"StatusBar", {"Status", "Connection, logging, players and the location under the mouse"}},
        {"Command", {"Command window", "Opens a window for several commands at once"}},
        {"CommandBtn", {"Command window", "Opens a window for several commands at once"}},
        {"BoardBtn", {"Board or leave ship", "Boards your ship or leaves it"}},
        {"UpBtn", {"Up", "Moves up"}},
        {"DownBtn", {"Down", "Moves down"}},
    };
    return roles;
}

// "CommodNameLabel" -> "Commod name label"
QString Humanised(const QString& objectName)
{
    static const QRegularExpression boundary(QStringLiteral("(?<=[a-z0-9])(?=[A-Z])"));
    QString words = objectName;
    words.replace(boundary, QStringLiteral(" "));
    return words.left(1) + words.mid(1).toLower();
}

// The page or group a control sits on, for the description of the rest.
QString Place(const QWidget* widget)
{
    for (const QWidget* p = widget->parentWidget(); p; p = p->parentWidget()) {
        const QString name = p->objectName();
        if (Roles().contains(name))
            return QString::fromLatin1(Roles().value(name).name);
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && p->isWindow())
            return p->windowTitle();
    }
    return QStringLiteral("Orvix");
}

} // namespace

void NameControlsForScreenReaders(QWidget* root)
{
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        const auto role = Roles().constFind(name);
        const bool known = role != Roles().cend();
        // A label reads its own text, and a button or group its caption: a
        // name made up here would only hide it.
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const bool speaksForItself = qobject_cast<QLabel*>(w) || (face && !face->text(QAccessible::Name).isEmpty());
        if (w->accessibleName().isEmpty() && (known || !speaksForItself))
            w->setAccessibleName(known ? QString::fromLatin1(role->name) : Humanised(name));
        if (w->accessibleDescription().isEmpty())
            w->setAccessibleDescription(known ? QString::fromLatin1(role->description)
                                                               : QStringLiteral("Part of ") + Place(w));
    }
}
