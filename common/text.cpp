#include "common/text.h"

#include "common/numbers.h"

namespace quorvex {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendCodePoint(Text& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length of the sequence a lead byte announces, 0 for a byte that cannot start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

Text FromUtf8(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int length = SequenceLength(lead);
    if (length == 1) {
      out.push_back(lead);
      ++i;
      continue;
    }
    if (length == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t cp = lead & (0x7F >> length);
    int taken = 1;
    // The second byte's range also rules out overlong forms and surrogates.
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    while (taken < length && i + taken < bytes.size()) {
      const auto next = static_cast<unsigned char>(bytes[i + taken]);
      const bool ok = taken == 1 ? (next >= low && next <= high) : (next >= 0x80 && next <= 0xBF);
      if (!ok) break;
      cp = (cp << 6) | (next & 0x3F);
      ++taken;
    }
    if (taken == length) {
      AppendCodePoint(out, cp);
    } else {
      out.push_back(kReplacement);  // one replacement per maximal invalid subpart
    }
    i += taken;
  }
  return out;
}

std::string ToUtf8(const Text& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

Text FromAscii(std::string_view ascii) {
  Text text;
  text.reserve(ascii.size());
  for (const unsigned char byte : ascii) text.push_back(byte);  // a byte above 0x7F stays positive
  return text;
}

int16_t InStr(int32_t start, const Text& haystack, const Text& needle) {
  if (start < 1) throw ConversionError("search start below 1");
  if (static_cast<size_t>(start) > haystack.size() + 1) return 0;
  const size_t found = haystack.find(needle, static_cast<size_t>(start) - 1);
  if (found == Text::npos) return 0;
  return CheckedInt16(static_cast<int64_t>(found) + 1);
}

size_t CountCharacters(std::u16string_view text) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); i += CharacterUnits(text, i)) ++characters;
  return characters;
}

Text CutUnits(const Text& text, size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  size_t keep = maxUnits;
  if (keep > 0 && IsHighSurrogate(text[keep - 1]) && IsLowSurrogate(text[keep])) --keep;
  return text.substr(0, keep);
}

Text LastUnits(const Text& text, size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  size_t from = text.size() - maxUnits;
  if (IsLowSurrogate(text[from]) && IsHighSurrogate(text[from - 1])) ++from;
  return text.substr(from);
}

Text ReplaceAll(const Text& text, const Text& from, const Text& to) {
  if (from.empty()) return text;
  Text out;
  size_t pos = 0;
  for (size_t hit; (hit = text.find(from, pos)) != Text::npos; pos = hit + from.size()) {
    out.append(text, pos, hit - pos);
    out.append(to);
  }
  out.append(text, pos, Text::npos);
  return out;
}

void FoldAsciiCaseInto(std::u16string_view text, Text& folded) {
  folded.assign(text);
  for (char16_t& unit : folded) {
    if (unit >= u'A' && unit <= u'Z') unit = char16_t(unit - u'A' + u'a');
  }
}

Text FoldAsciiCase(std::u16string_view text) {
  Text folded;
  FoldAsciiCaseInto(text, folded);
  return folded;
}

}  // namespace quorvex
