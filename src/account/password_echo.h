#pragma once

class QLineEdit;

// Hides the edit's text behind one "*" per character, whatever mask the
// style would use.
void ShowAsterisks(QLineEdit* edit);
