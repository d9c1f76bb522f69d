// JSON text for the console's events: one object a line, fields in the order they are added.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text.h"

namespace quorvex {

// `utf8` as a quoted JSON string. Quotes, backslashes and every control character are
// escaped; bytes that are no UTF-8 become U+FFFD, so the line is always valid UTF-8.
std::string JsonString(std::string_view utf8);
// UTF-16 text as a quoted JSON string, written as UTF-8 (a character beyond U+FFFF as its
// four bytes, not as an escaped surrogate pair).
std::string JsonString(const Text& text);

// Builds one object. The methods are named by type so that a string literal never turns
// into a boolean by accident.
class JsonObject {
 public:
  JsonObject& AddString(std::string_view key, std::string_view utf8);
  JsonObject& AddText(std::string_view key, const Text& text);
  JsonObject& AddBool(std::string_view key, bool value);
  JsonObject& AddNumber(std::string_view key, int64_t value);
  // A value already written as JSON (an array or an object).
  JsonObject& AddRaw(std::string_view key, std::string_view json);

  std::string Str() const { return body_ + "}"; }

 private:
  void Key(std::string_view key);
  std::string body_ = "{";
};

}  // namespace quorvex
