#pragma once
// Rounding, integer powers, the ISO week, byte order and byte buffers, and
// elapsed-time tests.

#include "Platform/Base/Types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// Rounds half away from zero; `decimals` may be negative (1234 to -2 is 1200).
// Zero, infinities and NaN come back unchanged.
double RoundToDecimals(double value, int decimals);
// Decimals are 0..8; counts outside are taken as the nearest end.
double RoundToFixedDecimals(double value, int decimals);
// One unit of the 17th significant digit of the value; 0 for infinities and NaN.
double RoundingEpsilon(double value);
double IntPower(double base, int exponent);

// The ISO 8601 week-numbering year and week (1..53) of a date.
std::pair<WORD, WORD> GetIsoWeek(int year, int month, int day);

WORD SwapBytes16(WORD value);
WORD SwapBytes16InPlace(WORD* value);
BYTE HighByte(WORD value);
BYTE LowByte(WORD value);
WORD MakeWord(const BYTE* high, const BYTE* low);
void ReverseBytes(BYTE* buffer, std::size_t length);
std::size_t XorBuffer(BYTE* buffer, std::size_t length, BYTE key);
// A new[] array of the characters without a terminator; the caller frees it.
wchar_t* CopyToCharArray(std::wstring text);

// True when the whole seconds since `start` (seconds since 1970) reach
// milliseconds / 1000.
bool IsTimeElapsed(std::int64_t start, DWORD milliseconds);
