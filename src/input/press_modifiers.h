#pragma once
// The modifiers held when each key was pressed, for handlers that act on the
// key's release: Ctrl let go before F5 itself still means Ctrl+F5.

#include <QHash>
#include <QKeyEvent>

class PressModifiers {
public:
    void Pressed(const QKeyEvent& press)
    {
        if (!press.isAutoRepeat())
            held.insert(press.key(), press.modifiers());
    }
    // Those of the key's press; the release's own for a key pressed elsewhere.
    Qt::KeyboardModifiers Released(const QKeyEvent& release)
    {
        const auto found = held.constFind(release.key());
        if (found == held.constEnd())
            return release.modifiers();
        const Qt::KeyboardModifiers modifiers = *found;
        held.erase(found);
        return modifiers;
    }
    void Clear() { held.clear(); }

private:
    QHash<int, Qt::KeyboardModifiers> held;
};
