// registry.txt as anything may have left it: reading never fails, and a value written
// into it reads back, whatever the other lines hold.
#include <algorithm>
#include <cstring>

#include "common/files.h"
#include "fuzz_support.h"
#include "settings/registry_file_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  const Text folder = fuzz::ScratchFolder(), key = u"Software\\Fuzz";
  ReplaceFileBytes(JoinPath(folder, u"registry.txt"), std::string(fuzz::Bytes(data, size)));
  FileRegistry store(folder);
  store.GetRegString(kHkeyCurrentUser, key, u"Text", u"");
  store.GetRegDword(kHkeyCurrentUser, key, u"Number", 0);

  const Text value = FromUtf8(fuzz::Bytes(data, std::min<size_t>(size, 64)));
  store.SetRegString(kHkeyCurrentUser, key, u"Text", value);
  fuzz::Require(store.GetRegString(kHkeyCurrentUser, key, u"text", u"") == value.substr(0, value.find(u'\0')),
                "a string written reads back up to its first NUL");
  int32_t number = 0;
  std::memcpy(&number, data, std::min(size, sizeof number));
  store.SetRegDword(kHkeyCurrentUser, u"software\\FUZZ\\", u"Number", number);
  fuzz::Require(store.GetRegDword(kHkeyCurrentUser, key, u"Number", ~number) == number, "a number reads back");
  store.DeleteRegValue(kHkeyCurrentUser, key, u"TEXT");
  fuzz::Require(store.GetRegString(kHkeyCurrentUser, key, u"Text", u"gone") == u"gone", "a deleted value is gone");
  return 0;
}
