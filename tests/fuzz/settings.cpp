// Quorvex.ini as anything may have left it (the input) fails to read only with the program's
// own errors. What the writer writes, the reader reads: settings Form1 can hold at Exit (from
// the first 10 bytes a limit index 1..5, any update rate and flags, a sort column 0..5; from
// the rest the optional lines) read back to the same values, a flag as on or off.
#include <cstring>
#include <optional>

#include "common/files.h"
#include "common/numbers.h"
#include "fuzz_support.h"
#include "settings/ini_file.h"

namespace quorvex::fuzz {
namespace {

// The bytes as an optional line's value, as a read can give it: decoded, no CR LF pair, no
// blank at either end. Nothing when they cannot be such a value.
std::optional<Text> OptionalValue(std::string_view bytes) {
  const Text value = FromUtf8(bytes);
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  if (value.empty() || value.find(u"\r\n") != Text::npos || blank(value.front()) || blank(value.back()))
    return std::nullopt;
  return value;
}

bool SameFlag(int16_t read, int16_t held) { return (read != 0) == (held != 0) && read >= 0; }

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  const Text folder = fuzz::ScratchFolder();
  ReplaceFileBytes(JoinPath(folder, u"Quorvex.ini"), std::string(fuzz::Bytes(data, size)));
  try {
    Settings left;
    ReadSettings(folder, left);
  } catch (const FileError&) {
  } catch (const ConversionError&) {
  } catch (const OverflowError&) {
  }
  if (size < 10) return 0;
  const auto take = [&data](auto value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    return value;
  };
  Settings held{.minPlayers = static_cast<int16_t>(1 + take(uint8_t{}) % 5), .checkTime = take(int32_t{}),
                .sound = take(int16_t{}), .autostart = take(int16_t{}),
                .sort = static_cast<int16_t>(take(uint8_t{}) % 6)};
  const std::string_view rest = fuzz::Bytes(data, size - 10);
  const size_t split = rest.find('\0');
  held.master = fuzz::OptionalValue(rest.substr(0, split));
  if (split != std::string_view::npos) held.latestVersionUrl = fuzz::OptionalValue(rest.substr(split + 1));
  WriteSettings(folder, held);
  Settings read;
  ReadSettings(folder, read);  // throws, and so fails, if the file does not read back
  fuzz::Require(read.minPlayers == PlayerLimit(held.minPlayers) && read.checkTime == held.checkTime &&
                    read.sort == held.sort,
                "the limit, the update rate and the sort column read back");
  fuzz::Require(fuzz::SameFlag(read.sound, held.sound) && fuzz::SameFlag(read.autostart, held.autostart),
                "sound and autostart read back as on or off");
  fuzz::Require(read.master == held.master && read.latestVersionUrl == held.latestVersionUrl,
                "the optional lines read back");
  return 0;
}
