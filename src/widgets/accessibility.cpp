#include "widgets/accessibility.h"

#include <algorithm>
#include <climits>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

#include "widgets/textpane.h"

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
        {"HistoryListBox",
            {"Exchange history",
                "The exchange's quotes, newest first; double-click one to buy or sell that commodity"}},
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
        // Labels that only ever show a picture have no text to read.
        {"MapImage", {"No map picture", "Shown while no map of this place is known"}},
        {"SpynetImage", {"Report picture", "The picture of the latest report"}},
        {"ExchImage", {"Commodity picture", "The commodity last quoted"}},
        {"TBImage", {"Tight beam picture", "The player in the tight-beam conversation"}},
        {"ScoreImage", {"Avatar picture", "Your avatar"}},
        {"ShipImage", {"Ship picture", "Your ship's class"}},
        {"LogonImage", {"Logon picture", "Decoration"}},
        {"AboutImage", {"About picture", "Decoration"}},
        {"PictureImage", {"Command window picture", "Decoration"}},
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
            w->setAccessibleDescription(
                known ? QString::fromLatin1(role->description) : QStringLiteral("Part of ") + Place(w));
    }
}

namespace {

// Qt's word and sentence rules over a few lines of a pane, so finding a
// boundary never builds the pane's whole text.
class StringText : public QAccessibleTextInterface {
public:
    explicit StringText(QString text)
        : whole(std::move(text))
    {
    }
    QString text(int start, int end) const override { return whole.mid(start, end - start); }
    int characterCount() const override { return int(whole.size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int* start, int* end) const override
    {
        *start = *end = 0;
        return {};
    }

private:
    QString whole;
};

int Clamped(qint64 offset)
{
    return int(std::clamp<qint64>(offset, 0, INT_MAX));
}

class TextPaneText : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextPaneText(TextPane* pane)
        : QAccessibleWidget(pane, QAccessible::EditableText)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    using QAccessibleWidget::text;
    QString text(int start, int end) const override
    {
        start = std::max(start, 0);
        end = std::min<qint64>(end, Pane()->TextLength());
        QString out;
        for (int line = Pane()->LineAtOffset(start); line < Pane()->LineCount() && Pane()->LineStart(line) < end;
             ++line) {
            const qint64 at = Pane()->LineStart(line);
            const QString withEnd = Pane()->LineAt(line) + QLatin1Char('\n');
            out += withEnd.mid(std::max<qint64>(start - at, 0), end - std::max<qint64>(start, at));
        }
        return out;
    }
    int characterCount() const override { return Clamped(Pane()->TextLength()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        return Around(
            offset, [&](StringText& lines, int local) { return lines.textBeforeOffset(local, type, start, end); },
            start, end, type);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        return Around(
            offset, [&](StringText& lines, int local) { return lines.textAfterOffset(local, type, start, end); }, start,
            end, type);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        return Around(
            offset, [&](StringText& lines, int local) { return lines.textAtOffset(local, type, start, end); }, start,
            end, type);
    }

    int selectionCount() const override { return Pane()->HasSelection() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index != 0 || !Pane()->HasSelection())
            return;
        const qint64 a = Offset(Pane()->SelectionAnchor());
        const qint64 b = Offset(Pane()->SelectionCursor());
        *start = Clamped(std::min(a, b));
        *end = Clamped(std::max(a, b));
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            Pane()->Select(Pane()->SelectionCursor(), Pane()->SelectionCursor());
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            Pane()->Select(At(start), At(end));
    }
    int cursorPosition() const override { return Clamped(Offset(Pane()->SelectionCursor())); }
    void setCursorPosition(int position) override { Pane()->Select(At(position), At(position)); }

    QRect characterRect(int offset) const override
    {
        const QRect local = Pane()->CharacterRect(At(offset));
        if (local.isEmpty())
            return {};
        return QRect(Pane()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint local = Pane()->viewport()->mapFromGlobal(point);
        if (!Pane()->viewport()->rect().contains(local))
            return -1;
        return Clamped(Offset(Pane()->PositionAt(local)));
    }
    void scrollToSubstring(int start, int end) override { Pane()->Select(At(start), At(end)); }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    TextPane* Pane() const { return static_cast<TextPane*>(widget()); }

    qint64 Offset(TextPane::Pos at) const
    {
        return Pane()->LineStart(at.line) + std::clamp<qint64>(at.column, 0, Pane()->LineAt(at.line).size());
    }
    TextPane::Pos At(int offset) const
    {
        const int line = Pane()->LineAtOffset(offset);
        const qint64 column = std::clamp<qint64>(offset - Pane()->LineStart(line), 0, Pane()->LineAt(line).size());
        return {line, int(column)};
    }

    // Runs a boundary search over the line holding `offset` and its two
    // neighbours, then moves the result back into the pane's offsets.
    template <class Search>
    QString Around(int offset, Search search, int* start, int* end, QAccessible::TextBoundaryType type) const
    {
        *start = *end = -1;
        if (type == QAccessible::NoBoundary) {
            *start = 0;
            *end = characterCount();
            return text(*start, *end);
        }
        const int line = Pane()->LineAtOffset(offset);
        const int first = std::max(line - 1, 0);
        const int last = std::min(line + 1, Pane()->LineCount() - 1);
        const qint64 base = Pane()->LineStart(first);
        StringText lines(text(Clamped(base), Clamped(Pane()->LineStart(last + 1))));
        const QString found = search(lines, int(offset - base));
        if (*start >= 0) {
            *start = Clamped(*start + base);
            *end = Clamped(*end + base);
        }
        return found;
    }
};

QAccessibleInterface* TextPaneFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TextPane") && object && object->isWidgetType())
        return new TextPaneText(static_cast<TextPane*>(object));
    return nullptr;
}

} // namespace

void InstallTextPaneAccessibility()
{
    // Qt keeps each factory once, however often it is installed.
    QAccessible::installFactory(TextPaneFactory);
}

bool AnnouncesNewLines(const QString& objectName)
{
    return objectName == QLatin1String("OutputEdit");
}
