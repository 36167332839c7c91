#pragma once
// The game stream as a person at a plain terminal reads it. A client that
// never says hello as Orvix gets only the text in the element lines: the
// location's name and description, what is there and the exits, prose, said
// and beamed text and reports, with the entities written out. Figures,
// maps, quotes, sounds and keep-alives have no text and are left out.

#include <QStringList>

namespace plaintext {

// Whole lines as elements.h builds them (a block with its start and end).
QStringList fromElements(const QStringList& lines);

} // namespace plaintext
