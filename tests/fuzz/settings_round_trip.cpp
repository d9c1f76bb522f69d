// What the writer writes, the reader reads: any settings Form1 can hold at Exit (a player
// limit index 1..5, a sort column 0..5, any update rate and any flag values, which come
// from the file unchanged) are written and read back to the same values, a flag as on or
// off; so are the optional master and latest-version lines.
#include <cstring>
#include <optional>

#include "fuzz_support.h"
#include "settings/ini_file.h"

namespace {

template <typename Number>
Number Take(const uint8_t*& data) {
  Number value;
  std::memcpy(&value, data, sizeof value);
  data += sizeof value;
  return value;
}

// The rest of the input as an optional line's value, as a read can give it: decoded, no
// CR LF pair, no blank at either end. Nothing when it cannot be such a value.
std::optional<quorvex::Text> OptionalValue(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  const quorvex::Text value = quorvex::FromUtf8(bytes);
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  if (value.find(u"\r\n") != quorvex::Text::npos || blank(value.front()) || blank(value.back())) return std::nullopt;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  if (size < 10) return 0;
  Settings held;
  held.minPlayers = static_cast<int16_t>(1 + Take<uint8_t>(data) % 5);
  held.checkTime = Take<int32_t>(data);
  held.sound = Take<int16_t>(data);
  held.autostart = Take<int16_t>(data);
  held.sort = static_cast<int16_t>(Take<uint8_t>(data) % 6);
  const std::string_view rest = quorvex::fuzz::Bytes(data, size - 10);
  const size_t split = rest.find('\0');
  held.master = OptionalValue(rest.substr(0, split));
  if (split != std::string_view::npos) held.latestVersionUrl = OptionalValue(rest.substr(split + 1));

  const Text folder = fuzz::ScratchFolder();
  WriteSettings(folder, held);
  Settings read;
  ReadSettings(folder, read);  // throws, and so fails, if the file does not read back
  fuzz::Require(read.minPlayers == PlayerLimit(held.minPlayers), "the limit reads back");
  fuzz::Require(read.checkTime == held.checkTime, "the update rate reads back");
  fuzz::Require((read.sound != 0) == (held.sound != 0) && read.sound >= 0, "sound reads back as on or off");
  fuzz::Require((read.autostart != 0) == (held.autostart != 0) && read.autostart >= 0,
                "autostart reads back as on or off");
  fuzz::Require(read.sort == held.sort, "the sort column reads back");
  fuzz::Require(read.master == held.master && read.latestVersionUrl == held.latestVersionUrl,
                "the optional lines read back");
  return 0;
}
