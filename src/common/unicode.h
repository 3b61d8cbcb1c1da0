// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Characters of UTF-8 text. The program's text is UTF-8 inside; every rule it states on Windows-1251 bytes
// applies to the character the byte stands for, and characters 1251 lacks follow Unicode: its classes
// (letters and combining marks are letters), its simple case mappings, and for sorting the base letter of
// its canonical decomposition. The Unicode data comes from tables generated at build time from the Unicode
// Character Database.
//
// No function here throws or reads outside its input; a malformed byte counts as one character
// (U+FFFD for classes and sorting) and is kept as it is where text is copied.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vb {

enum class CharClass : unsigned char { Letter, Digit, Space, Punctuation, Other };

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Unicode's own view of a code point, 1251 aside.
CharClass UnicodeClass(char32_t cp);
char32_t UnicodeUpper(char32_t cp);
char32_t UnicodeLower(char32_t cp);
// The first character of the full canonical decomposition ("ä" -> "a", "ǖ" -> "u"); cp itself without one.
char32_t UnicodeBase(char32_t cp);

// The character at byte `pos` (pos < s.size()): its length in bytes (at least 1) and its code point.
std::size_t DecodeChar(std::string_view s, std::size_t pos, char32_t& cp);
// The length of a well-formed character at `pos`, 0 for a malformed one.
std::size_t WellFormedCharLength(std::string_view s, std::size_t pos);
void AppendChar(std::string& out, char32_t cp);

// The 1251 byte of a character, -1 when 1251 lacks it. U+0098 stands for the byte 0x98, which 1251 leaves
// unassigned, so that any 1251 file survives a round trip through UTF-8.
int Cp1251ByteOf(char32_t cp);
char32_t Cp1251CharOf(unsigned char b);
// Every character of the text has a 1251 byte (malformed bytes have none).
bool FitsCp1251(std::string_view text);
// 1251 bytes of a text that fits (anything else becomes "?"); and back.
std::string Utf8ToCp1251Exact(std::string_view text);
std::string Cp1251ToUtf8Exact(std::string_view bytes);

// Length and positions in characters.
std::size_t CharCount(std::string_view s);
// The byte offset of character `index`, s.size() when the text is shorter.
std::size_t CharOffset(std::string_view s, std::size_t index);

// Case: the 1251 rule (Latin and Cyrillic letters of the code page) for characters 1251 has, Unicode's
// simple mapping for the others.
char32_t UpperChar(char32_t cp);
char32_t LowerChar(char32_t cp);
std::string UpperCaseText(std::string_view s);
std::string LowerCaseText(std::string_view s);
// Equal character by character after upper-casing.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Sorting: the 1251 byte order between characters 1251 has, a character it lacks right after its base
// letter, the rest by code point after all of them. CompareText orders as written, CompareTextUpper after
// upper-casing. Both return <0, 0 or >0.
std::uint32_t SortWeight(char32_t cp);
int CompareText(std::string_view a, std::string_view b);
int CompareTextUpper(std::string_view a, std::string_view b);
// A key whose plain comparison gives CompareTextUpper's order.
std::u32string UpperSortKey(std::string_view s);

} // namespace vb
