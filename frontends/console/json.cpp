#include "frontends/console/json.h"

namespace quorvex {

namespace {

void AppendEscaped(std::string& out, char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\b':
      out += "\\b";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20) {
    out += "\\u00";
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0xF]);
    return;
  }
  out.push_back(c);
}

std::string QuotedValidUtf8(const std::string& utf8) {
  std::string out = "\"";
  out.reserve(utf8.size() + 2);
  for (const char c : utf8) AppendEscaped(out, c);
  out += '"';
  return out;
}

}  // namespace

// Going through UTF-16 and back replaces every invalid byte and unpaired surrogate.
std::string JsonString(std::string_view utf8) { return QuotedValidUtf8(ToUtf8(FromUtf8(utf8))); }

std::string JsonString(const Text& text) { return QuotedValidUtf8(ToUtf8(text)); }

void JsonObject::Key(std::string_view key) {
  if (body_.size() > 1) body_ += ',';
  body_ += JsonString(key);
  body_ += ':';
}

JsonObject& JsonObject::AddString(std::string_view key, std::string_view utf8) {
  Key(key);
  body_ += JsonString(utf8);
  return *this;
}

JsonObject& JsonObject::AddText(std::string_view key, const Text& text) {
  Key(key);
  body_ += JsonString(text);
  return *this;
}

JsonObject& JsonObject::AddBool(std::string_view key, bool value) {
  Key(key);
  body_ += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::AddNumber(std::string_view key, int64_t value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json) {
  Key(key);
  body_ += json;
  return *this;
}

}  // namespace quorvex
