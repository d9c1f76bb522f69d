// What the writer writes, the reader reads: any settings Form1 can hold at Exit (a player
// limit index 1..5, a sort column 0..5, any update rate and any flag values, which come
// from the file unchanged) are written and read back to the same values, a flag as on or
// off.
#include <cstring>

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
  return 0;
}
