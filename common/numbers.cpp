#include "common/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace quorvex {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// std::stod throws std::out_of_range for a value too small for a double ("0." and 400
// zeros and "1"); strtod gives the nearest double, here 0, and never throws.
double TextToDouble(const std::string& number) { return std::strtod(number.c_str(), nullptr); }

// Parses [sign] digits [. digits] over the whole of `text` (blanks trimmed) into a rounded
// integer; nullopt when the text is not of that form or the value is too large to matter.
std::optional<int64_t> ParseDecimal(const Text& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  size_t i = begin;
  bool negative = false;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  std::string digits;
  size_t intDigits = 0, fracDigits = 0;
  while (i < end && IsDigit(text[i])) digits.push_back(static_cast<char>(text[i++])), ++intDigits;
  if (i < end && text[i] == u'.') {
    ++i;
    while (i < end && IsDigit(text[i])) digits.push_back(static_cast<char>(text[i++])), ++fracDigits;
  }
  if (i != end || intDigits + fracDigits == 0) return std::nullopt;
  // Leading zeros aside, anything longer than 12 integer digits is out of every range here.
  const size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero != std::string::npos && firstNonZero < intDigits && intDigits - firstNonZero > 12)
    return std::nullopt;
  const double value = TextToDouble("0" + digits.substr(0, intDigits) + "." + digits.substr(intDigits) + "0");
  const double rounded = RoundHalfEven(value);
  return static_cast<int64_t>(negative ? -rounded : rounded);
}

template <typename T>
T ConvertInRange(const Text& text, int64_t low, int64_t high, const char* what) {
  const auto value = ParseDecimal(text);
  if (!value || *value < low || *value > high)
    throw ConversionError(std::string("not a ") + what + ": \"" + ToUtf8(text) + "\"");
  return static_cast<T>(*value);
}

}  // namespace

double RoundHalfEven(double value) { return std::nearbyint(value); }  // default mode: to even

int16_t CheckedInt16(int64_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
    throw OverflowError("16-bit overflow: " + std::to_string(value));
  return static_cast<int16_t>(value);
}

int16_t AddInt16(int16_t a, int16_t b) { return CheckedInt16(int64_t{a} + b); }

int16_t ToInt16(const Text& text) { return ConvertInRange<int16_t>(text, INT16_MIN, INT16_MAX, "16-bit number"); }
int32_t ToInt32(const Text& text) { return ConvertInRange<int32_t>(text, INT32_MIN, INT32_MAX, "32-bit number"); }
uint16_t ToPort(const Text& text) { return ConvertInRange<uint16_t>(text, 0, 65535, "port"); }

double LeadingNumberValue(const Text& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::string number;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number.push_back(static_cast<char>(text[i++]));
  bool point = false, anyDigit = false;
  for (; i < text.size() && number.size() < 40; ++i) {
    if (IsDigit(text[i])) {
      anyDigit = true;
    } else if (text[i] == u'.' && !point) {
      point = true;
    } else {
      break;
    }
    number.push_back(static_cast<char>(text[i]));
  }
  return anyDigit ? TextToDouble(number) : 0.0;
}

Text FormatPlain(int64_t value) { return FromAscii(std::to_string(value)); }

Text FormatSignedBlank(int64_t value) { return value < 0 ? FormatPlain(value) : u" " + FormatPlain(value); }

}  // namespace quorvex
