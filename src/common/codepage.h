// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows-1251 is the code page of all dictionary and lesson data; DOS texts use code page 866.
// Inside, text is UTF-8 (common/unicode.h); these conversions serve the files that keep a code page.

#include <string>
#include <string_view>

namespace vb {

// The character a 1251 byte stands for (U+FFFD for 0x98, which 1251 leaves unassigned).
char32_t Cp1251ToCodePoint(unsigned char c);

// Upper-casing "with the system locale" of a Russian Windows: Latin and Cyrillic letters, Ё/ё included.
unsigned char UpperCase1251(unsigned char c);
std::string UpperCase1251(std::string_view s);
unsigned char LowerCase1251(unsigned char c);
std::string LowerCase1251(std::string_view s);

// A UTF-8 text lower-cased by the same table: Latin letters and the Cyrillic letters of 1251 fold, every
// other character and any malformed byte stays as it is. Folding keeps the byte length. For comparing
// names (pupils, settings keys, folders) without regard to letter case.
std::string LowerCaseUtf8(std::string_view s);

// Case-insensitive comparison used by every sort of the system: upper-cased, then byte by byte (unsigned).
// Returns <0, 0 or >0.
int CompareUpper1251(std::string_view a, std::string_view b);

// 1251 -> UTF-8. Every byte maps to a character (0x98, undefined in 1251, becomes U+FFFD).
std::string Cp1251ToUtf8(std::string_view s);
// UTF-8 -> 1251; characters the code page lacks, and malformed sequences, become "?".
std::string Utf8ToCp1251(std::string_view s);

bool IsValidUtf8(std::string_view s);

// DOS (866) <-> Windows (1251). Characters without a counterpart become "?".
std::string Cp866ToCp1251(std::string_view s);
std::string Cp1251ToCp866(std::string_view s);

} // namespace vb
