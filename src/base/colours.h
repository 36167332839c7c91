#pragma once
// Colours keep the settings file's encoding: 0x00BBGGRR for a plain colour;
// with the high bit set, a system colour number.

#include <cstdint>

#include <QColor>

inline constexpr int32_t kSystemWindowColour = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kSystemWindowTextColour = static_cast<int32_t>(0x80000008u);

bool IsSystemColour(int32_t code);
// A system colour gives an invalid QColor: the caller keeps the palette's own.
QColor ColourFromCode(int32_t code);
int32_t CodeFromColour(const QColor& colour);
