// UTF-16 text as the program keeps it, with the conversions and searches the rest relies on.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

using Text = std::u16string;

// Decodes UTF-8; every invalid or truncated sequence becomes U+FFFD.
Text FromUtf8(std::string_view bytes);
// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const Text& text);
// Widens ASCII (tests, fixed texts written as plain literals).
Text FromAscii(std::string_view ascii);

// 1-based position of the first `needle` at or after `start` (1-based), 0 when none.
// Positions are signed 16-bit: a match starting beyond 32,767 throws OverflowError,
// exactly as the list parser needs. An empty needle matches at `start`.
int16_t InStr(int32_t start, const Text& haystack, const Text& needle);

// The number of characters: a surrogate pair counts as one, any other unit as one.
size_t CountCharacters(std::u16string_view text);
// The code units of the character at `index`: 2 for a whole surrogate pair, else 1. Inline:
// the wildcard matcher asks it for every character of tens of thousands of names.
inline size_t CharacterUnits(std::u16string_view text, size_t index) {
  const bool pair = (text[index] & 0xFC00) == 0xD800 && index + 1 < text.size() && (text[index + 1] & 0xFC00) == 0xDC00;
  return pair ? 2 : 1;
}

// The first `maxUnits` code units, one less when the cut would split a surrogate pair.
Text CutUnits(const Text& text, size_t maxUnits);
// The last `maxUnits` code units, one less when the cut would split a surrogate pair.
Text LastUnits(const Text& text, size_t maxUnits);

// Every occurrence of `from` replaced by `to`, scanning left to right.
Text ReplaceAll(const Text& text, const Text& from, const Text& to);

// The text with A-Z as a-z, every other unit as it is: the letter case that the keys of
// Quorvex.ini, the watch= patterns and a program's extension on Windows do not tell apart.
Text FoldAsciiCase(std::u16string_view text);
// The same into `folded`, whose memory a loop over many names can reuse.
void FoldAsciiCaseInto(std::u16string_view text, Text& folded);

}  // namespace quorvex
