// Quorvex.ini as the user (or anything else) left it: reading it fails only with the
// program's own errors, which start-up skips.
#include "common/files.h"
#include "common/numbers.h"
#include "fuzz_support.h"
#include "settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  const Text folder = fuzz::ScratchFolder();
  ReplaceFileBytes(JoinPath(folder, u"Quorvex.ini"), std::string(fuzz::Bytes(data, size)));
  Settings settings;
  try {
    ReadSettings(folder, settings);
  } catch (const FileError&) {
  } catch (const ConversionError&) {
  } catch (const OverflowError&) {
  }
  return 0;
}
