#pragma once
// Numbers as the interpretation tables write and read them: velocities Vgr
// with at most two decimals and the operator's decimal separator, whole
// centimetres, and the velocity text rule of the hodograph column.

#include <optional>
#include <string>

namespace tesk {

// Vgr of a velocity code (code / 100) with at most two decimals and no
// trailing zeros: 500 -> "5", 455 -> "4.55" (with '.' as separator).
std::string formatVgr(int code, char separator);
// A value with at most `decimals` decimals and no trailing zeros.
std::string formatDecimal(double value, int decimals, char separator);

// The number a cell holds: digits with one decimal separator ('.' or ','),
// read up to the first other character; no digits read as 0. Never NaN.
double cellNumber(const std::string& text);

// The hodograph-velocity text rule: at most 5 characters; one decimal
// separator is kept at positions 2..4 (counted from 1), a separator at
// position 1 or 5, a second separator or any other character cuts the text
// just before it, and an empty result becomes "00"; every separator is
// written as `separator`; a value above 15 becomes "15". An empty cell is
// the caller's to fill.
std::string normaliseVelocityText(const std::string& text, char separator);

// Velocity code of a cell: Round(value x 100), ties to even.
int velocityCodeOfCell(const std::string& text);

// Keys a grid cell takes. Backspace is '\b', Enter '\r'.
inline constexpr char32_t KEY_BACKSPACE = U'\b';
inline constexpr char32_t KEY_ENTER = U'\r';
bool isDigitKey(char32_t key);
bool isSeparatorKey(char32_t key);

} // namespace tesk
