// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Plain helpers on UTF-8 strings with 0-based indexes; positions and counts are characters. None of them
// throws or reads outside its input.

#include <cstddef>
#include <string>
#include <string_view>

namespace vb {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The part of `path` before its last separator; each further level strips one more component.
// A path without a separator comes back unchanged.
std::string ParentDir(const std::string& path, int levels = 1);

// The part after the last separator; without the extension it stops at the first dot ("a.b.c" gives "a").
std::string FileNameOnly(const std::string& path, bool withExtension);

// `count` characters from `start`, clipped at the end; empty when start or count is negative.
std::string SubStr0(std::string_view s, int start, int count);

std::string ReplaceChar(std::string s, char from, char to);

// Character index of the n-th occurrence of the ASCII `ch` at or after character `start`; -1 when the
// string ends first.
int FindCharN(std::string_view s, char ch, int start, int n);

// Removes every part in parentheses (nested ones too; an unclosed "(" removes the rest), then any stray ")",
// then trims bytes of 32 and below at both ends.
std::string StripParens(std::string_view s);

// Removes all "[" and "]" and encloses the rest in one pair; an empty string stays empty.
std::string BracketTranscription(std::string_view s);

// Punctuation becomes a space, or is dropped before more punctuation, a space or the end. Punctuation is
// ASCII punctuation and the numero sign among the characters 1251 has, Unicode punctuation and symbols
// among the others.
std::string CleanPunctuation(std::string_view s);
// The same rule on a UTF-8 text, for names the user types: the ASCII punctuation and the numero sign
// "№"; other characters are never split.
std::string CleanPunctuationUtf8(std::string_view s);

// From character `start` on, every letter-like character becomes one `mask`; a NUL mask ends the result
// at the first masked position. Kept are space, digits, ASCII punctuation and the numero sign, and of the
// characters 1251 lacks Unicode's digits, spaces, punctuation and symbols.
std::string MaskLetters(std::string_view s, int start, char mask);

// Cuts every byte of 32 and below from both ends.
std::string TrimControl(std::string_view s);

// How long speaking a text of `chars` characters is expected to take, in milliseconds:
// chars * 90 + 300, or + 1300 after an answer or a translation.
int SpeakingTimeMs(std::size_t chars, bool afterAnswer);

// The delay used when nothing will be spoken.
inline constexpr int kSilentFollowUpMs = 100;

} // namespace vb
