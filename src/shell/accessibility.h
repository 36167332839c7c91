#pragma once
// What a screen reader calls each control: a short name from its role in the
// window ("Output", "Input line", "Players") and a description of what it
// holds or does. Controls without an entry of their own get a name made from
// their object name, so none is left unnamed.

class QWidget;

// Names every named widget under `root` that has no accessible name yet.
void NameControlsForScreenReaders(QWidget* root);
