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

std::filesystem::path FreshFolder() {
  const auto folder =
      std::filesystem::temp_directory_path() / ("quorvex-registry-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  return folder;
}

class FileStoreHarness : public RegistryHarness {
 public:
  FileStoreHarness() : folder_(FreshFolder()), store_(FromUtf8(folder_.string())) {}
  ~FileStoreHarness() override { std::filesystem::remove_all(folder_); }

  Registry& Store() override { return store_; }
  Text TestKey() const override { return u"Software\\QuorvexTest"; }
  void PlantText(const Text& subkey, const Text& name, uint32_t type, const Text& data) override {
    store_.SetRegText(kHkeyCurrentUser, subkey, name, type, data);
  }

 private:
  std::filesystem::path folder_;
  FileRegistry store_;
};

std::unique_ptr<RegistryHarness> MakeFileStoreHarness() { return std::make_unique<FileStoreHarness>(); }

INSTANTIATE_TEST_SUITE_P(FileStore, RegistryBehaviour, ::testing::Values(&MakeFileStoreHarness));

constexpr char kHeader[] = "# Quorvex registry store: root, key, name, type, data; TAB separated, % escapes\n";

class FileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = FreshFolder(); }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  Text Folder() const { return FromUtf8(folder_.string()); }
  std::filesystem::path StorePath() const { return folder_ / "registry.txt"; }
  void PutStore(const std::string& bytes) const { std::ofstream(StorePath(), std::ios::binary) << bytes; }
  std::string StoreBytes() const {
    std::ifstream in(StorePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int32_t Dword(const Text& name, int32_t def = -5) { return store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", name, def); }

  std::filesystem::path folder_;
  FileRegistry store{u""};
};

TEST_F(FileStoreTest, ValuesAreReadableLinesWithTheKeyPathAsWrittenAndRootsApart) {
  store = FileRegistry(Folder());
  store.SetRegString(kHkeyCurrentUser, u"Software\\Valve\\Steam\\", u"SteamExe", u"C:\\Steam\\steam.exe");
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Installed", -1);
  store.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Escaped", Text(u"100%\ttab\r\nnul") + u'\0' + u"\u00e9");
  store.SetRegDword(0x80000002, u"Software\\Q", u"Installed", 2);
  EXPECT_EQ(StoreBytes(), std::string(kHeader) +
                              "80000001\tSoftware\\Valve\\Steam\\\tSteamExe\t1\tC:\\Steam\\steam.exe\n"
                              "80000001\tSoftware\\Q\tInstalled\t4\t4294967295\n"
                              "80000001\tSoftware\\Q\tEscaped\t1\t100%0025%0009tab%000D%000Anul%0000\xC3\xA9\n"
                              "80000002\tSoftware\\Q\tInstalled\t4\t2\n");
  EXPECT_EQ(FileRegistry(Folder()).GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Installed", 0), -1)
      << "a second store over the same folder sees the values";
}

TEST_F(FileStoreTest, DamagedLinesAreNeverReadButSurviveARewrite) {
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
  PutStore(damaged + "80000001\tSoftware\\Q\tGood\t4\t7\r\n");
  store = FileRegistry(Folder());
  for (const Text name : {u"TooFewFields", u"BadEscape", u"ShortEscape", u"BadDword", u"HugeDword", u"EmptyDword", u"BadType", u"BadRoot"}) {
    EXPECT_EQ(Dword(name), -5) << ToUtf8(name);
    EXPECT_EQ(store.GetRegString(kHkeyCurrentUser, u"Software\\Q", name, u"def"), u"def") << ToUtf8(name);
  }
  EXPECT_EQ(Dword(u"Good"), 7) << "a CR before the LF is fine";
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Good", 8);
  EXPECT_EQ(StoreBytes(), std::string(kHeader) + damaged + "80000001\tSoftware\\Q\tGood\t4\t8\n");
}

TEST_F(FileStoreTest, ARewrittenValueTakesThePlaceOfItsFirstLineAndDropsDuplicates) {
  // Hand-made, without the header: the value stands on the very first line.
  PutStore("80000001\tSoftware\\Q\tValue\t4\t1\n"
           "80000001\tSoftware\\Other\tKept\t4\t2\n"
           "80000001\tsoftware\\q\\\tVALUE\t1\tsecond\n");
  store = FileRegistry(Folder());
  EXPECT_EQ(Dword(u"Value"), 1) << "the first line wins";
  store.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"new");
  EXPECT_EQ(StoreBytes(), std::string(kHeader) +
                              "80000001\tSoftware\\Q\tValue\t1\tnew\n"
                              "80000001\tSoftware\\Other\tKept\t4\t2\n");
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\q", u"value");
  EXPECT_EQ(StoreBytes(), std::string(kHeader) + "80000001\tSoftware\\Other\tKept\t4\t2\n");
}

TEST_F(FileStoreTest, AStoreThatCannotBeReadOrWrittenIsNeverReplaced) {
  // Over the size limit: none of its values can be trusted, none may be wiped by a write.
  const std::string big = "80000001\tSoftware\\Q\tValue\t4\t1\n# " + std::string(1024 * 1024, 'x') + "\n";
  PutStore(big);
  store = FileRegistry(Folder());
  EXPECT_EQ(Dword(u"Value"), -5);
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_EQ(StoreBytes(), big);
#ifndef _WIN32
  // A link to a store that is not there (an unmounted home, say) is no missing store.
  std::filesystem::remove(StorePath());
  std::filesystem::create_symlink(folder_ / "elsewhere" / "registry.txt", StorePath());
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  EXPECT_TRUE(std::filesystem::is_symlink(StorePath()));
  std::filesystem::remove(StorePath());
#endif

  PutStore("80000001\tSoftware\\Q\tValue\t4\t1\n");
  std::filesystem::create_directory(folder_ / "registry.txt.new");  // where the new file would go
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_EQ(Dword(u"Value"), 1) << "the failed writes were silent and left the old file";

  FileRegistry nowhere(Folder() + u"/no-such-folder");
  nowhere.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"x");
  EXPECT_EQ(nowhere.GetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"def"), u"def");
}

TEST_F(FileStoreTest, ReadingAndDeletingNothingCreatesNoFile) {
  store = FileRegistry(Folder());
  EXPECT_EQ(Dword(u"Value"), -5);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_FALSE(std::filesystem::exists(StorePath()));
#ifndef _WIN32
  MakeRegistry(Folder())->SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 3);
  EXPECT_EQ(Dword(u"Value"), 3) << "natively the registry is the file store in the given folder";
#endif
}

}  // namespace
}  // namespace quorvex
