#pragma once
// The small picture that stands beside the account dialogs' fields.

#include <QPixmap>

QPixmap AccountPicture(int width, int height);
