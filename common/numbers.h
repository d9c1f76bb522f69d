// Checked 16- and 32-bit arithmetic and the number conversions and formats used in texts.
#pragma once
#include <cstdint>
#include <stdexcept>

#include "common/text.h"

namespace quorvex {

// A text that is no number of the wanted kind.
struct ConversionError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A result outside the declared width; values never wrap.
struct OverflowError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

int16_t CheckedInt16(int64_t value);
int16_t AddInt16(int16_t a, int16_t b);

// Decimal text to an integer: blanks around it allowed, an optional sign, digits and an
// optional fraction that rounds half to even. Empty text, anything else, or a value outside
// the target range throws ConversionError.
int16_t ToInt16(const Text& text);
int32_t ToInt32(const Text& text);
// A network port: the same notation, 0 to 65535.
uint16_t ToPort(const Text& text);

// The value of the number a text starts with (blanks before it skipped); 0 when it starts
// with none. "1abc" gives 1, "x1" gives 0.
double LeadingNumberValue(const Text& text);

// "16", "-3".
Text FormatPlain(int64_t value);
// " 16", "-3": a blank stands in the sign position of a number that is not negative.
Text FormatSignedBlank(int64_t value);

}  // namespace quorvex
