#pragma once
// What a screen reader calls each control: a short name from its role in the
// window ("Output", "Input line", "Players") and a description of what it
// holds or does. Controls without an entry of their own get a name made from
// their object name, so none is left unnamed.

class QString;
class QWidget;

// Names every named widget under `root` that has no accessible name yet.
void NameControlsForScreenReaders(QWidget* root);

// Lets a screen reader read text panes: their text, the selection, and
// where each character is on screen. Installing it again does nothing.
void InstallTextPaneAccessibility();

// Whether the pane of this name tells a screen reader of each new line. Only
// the output does: the Story, Scrollback and map copies would repeat it.
bool AnnouncesNewLines(const QString& objectName);
