// The registry behaviour against the file store, and what only the store has: its file.
#include "settings/registry_file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "settings/registry_behaviour.h"

namespace quorvex {
namespace {

// A store in a folder of its own, gone afterwards.
struct StoreFolder {
  StoreFolder() { std::filesystem::create_directories(path); }
  ~StoreFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("quorvex-registry-" + std::to_string(std::random_device{}()));
  FileRegistry store{FromUtf8(path.string())};
};

class FileStoreHarness : public RegistryHarness, StoreFolder {
 public:
  Registry& Store() override { return store; }
  Text TestKey() const override { return u"Software\\QuorvexTest"; }
  void PlantText(const Text& subkey, const Text& name, uint32_t type, const Text& data) override {
    store.SetRegText(kHkeyCurrentUser, subkey, name, type, data);
  }
};

std::unique_ptr<RegistryHarness> MakeFileStoreHarness() { return std::make_unique<FileStoreHarness>(); }

INSTANTIATE_TEST_SUITE_P(FileStore, RegistryBehaviour, ::testing::Values(&MakeFileStoreHarness));

constexpr char kHeader[] = "# Quorvex registry store: root, key, name, type, data; TAB separated, % escapes\n";

class FileStoreTest : public ::testing::Test, protected StoreFolder {
 protected:
  std::filesystem::path StorePath() const { return path / "registry.txt"; }
  void PutStore(const std::string& bytes) const { std::ofstream(StorePath(), std::ios::binary) << bytes; }
  std::string StoreBytes() const {
    std::ifstream in(StorePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int32_t Dword(const Text& name) { return store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", name, -5); }
};

TEST_F(FileStoreTest, ValuesAreReadableLinesWithTheKeyPathAsWrittenAndRootsApart) {
  EXPECT_EQ(Dword(u"Installed"), -5);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Installed");
  EXPECT_FALSE(std::filesystem::exists(StorePath())) << "reading and deleting nothing makes no file";
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q\\", u"Installed", -1);  // the key path as written
  store.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Escaped", Text(u"100%\ttab\r\nnul") + u'\0' + u"\u00e9");
  store.SetRegDword(0x80000002, u"Software\\Q", u"Installed", 2);
  EXPECT_EQ(StoreBytes(), std::string(kHeader) +
                              "80000001\tSoftware\\Q\\\tInstalled\t4\t4294967295\n"
                              "80000001\tSoftware\\Q\tEscaped\t1\t100%0025%0009tab%000D%000Anul%0000\xC3\xA9\n"
                              "80000002\tSoftware\\Q\tInstalled\t4\t2\n");
  EXPECT_EQ(Dword(u"Installed"), -1) << "all 32 bits read back";
  EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Xoftware\\Q", u"Installed", 0), 0) << "every letter of a key counts";
  PutStore(std::string(kHeader) + "80000001\tSoftware\\Q\tLower\t1\t%00e9%00ff\n");
  EXPECT_EQ(store.GetRegString(kHkeyCurrentUser, u"Software\\Q", u"Lower", u""), u"\u00e9\u00ff") << "hex in lower case";
}

// Damaged lines are never read but survive a rewrite; a rewritten value takes the place of its
// first line (the one read) and its duplicates go.
TEST_F(FileStoreTest, DamagedLinesSurviveAndARewrittenValueTakesThePlaceOfItsFirstLine) {
  const std::string damaged =
      "80000001\tSoftware\\Q\tTooFewFields\t4\n"
      "80000001\tSoftware\\Q\tBadEscape\t1\tx%00zz\n"
      "80000001\tSoftware\\Q\tShortEscape\t1\tx%00\n"
      "80000001\tSoftware\\Q\tBadDword\t4\t12a\n"
      "80000001\tSoftware\\Q\tHugeDword\t4\t4294967296\n"
      "80000001\tSoftware\\Q\tEmptyDword\t4\t\n"
      "80000001\tSoftware\\Q\tBad%zzName\t4\t1\n"
      "80000001\tSoftware\\Q\tBadType\t4x\t1\n"
      "nothex\tSoftware\\Q\tBadRoot\t4\t1\n";
  PutStore("80000001\tSoftware\\Q\tValue\t4\t1\r\n" + damaged + "80000001\tsoftware\\q\\\tVALUE\t1\tsecond\n");
  for (const Text name : {u"TooFewFields", u"BadEscape", u"ShortEscape", u"BadDword", u"HugeDword", u"EmptyDword",
                          u"BadType", u"BadRoot"}) {
    EXPECT_EQ(Dword(name), -5) << ToUtf8(name);
    EXPECT_EQ(store.GetRegString(kHkeyCurrentUser, u"Software\\Q", name, u"def"), u"def") << ToUtf8(name);
  }
  EXPECT_EQ(Dword(u"Value"), 1) << "the first line, a CR before its LF";
  store.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"new");
  EXPECT_EQ(StoreBytes(), kHeader + ("80000001\tSoftware\\Q\tValue\t1\tnew\n" + damaged));
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\q", u"value");
  EXPECT_EQ(StoreBytes(), kHeader + damaged);
}

TEST_F(FileStoreTest, AStoreThatCannotBeReadOrWrittenIsNeverReplaced) {
  // Over the size limit none of its values can be trusted, and none may be wiped by a write.
  const std::string big = "80000001\tSoftware\\Q\tValue\t4\t1\n# " + std::string(1024 * 1024, 'x') + "\n";
  PutStore(big);
  EXPECT_EQ(Dword(u"Value"), -5);
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_EQ(StoreBytes(), big);

  PutStore("80000001\tSoftware\\Q\tValue\t4\t1\n");
  std::filesystem::create_directory(path / "registry.txt.new");  // where the new file would go
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_EQ(Dword(u"Value"), 1) << "the failed writes were silent and left the old file";
}

}  // namespace
}  // namespace quorvex
