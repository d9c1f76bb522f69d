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

// --- what only the file store has: its file ---

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

  std::filesystem::path folder_;
};

TEST_F(FileStoreTest, ValuesAreReadableLinesWithTheKeyPathAsWritten) {
  FileRegistry store(Folder());
  store.SetRegString(kHkeyCurrentUser, u"Software\\Valve\\Steam\\", u"SteamExe", u"C:\\Steam\\steam.exe");
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Valve\\Steam\\Apps\\270150", u"Installed", -1);
  store.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Escaped", Text(u"100%\ttab\r\nnul") + u'\0' + u"\u00e9");
  EXPECT_EQ(StoreBytes(), std::string(kHeader) +
                              "80000001\tSoftware\\Valve\\Steam\\\tSteamExe\t1\tC:\\Steam\\steam.exe\n"
                              "80000001\tSoftware\\Valve\\Steam\\Apps\\270150\tInstalled\t4\t4294967295\n"
                              "80000001\tSoftware\\Q\tEscaped\t1\t100%0025%0009tab%000D%000Anul%0000\xC3\xA9\n");
  EXPECT_EQ(FileRegistry(Folder()).GetRegDword(kHkeyCurrentUser, u"Software\\Valve\\Steam\\Apps\\270150", u"Installed", 0),
            -1)
      << "a second store over the same folder sees the values";
}

TEST_F(FileStoreTest, RootsAreSeparate) {
  FileRegistry store(Folder());
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 1);
  store.SetRegDword(0x80000002, u"Software\\Q", u"Value", 2);
  EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 0), 1);
  EXPECT_EQ(store.GetRegDword(0x80000002, u"Software\\Q", u"Value", 0), 2);
}

TEST_F(FileStoreTest, DamagedLinesAreNeverReadButSurviveARewrite) {
  const std::string damaged =
      "80000001\tSoftware\\Q\tTooFewFields\t4\n"
      "80000001\tSoftware\\Q\tBadEscape\t1\tx%zz\n"
      "80000001\tSoftware\\Q\tShortEscape\t1\tx%00\n"
      "80000001\tSoftware\\Q\tBadDword\t4\t12a\n"
      "80000001\tSoftware\\Q\tHugeDword\t4\t4294967296\n"
      "nothex\tSoftware\\Q\tBadRoot\t4\t1\n";
  PutStore(damaged + "80000001\tSoftware\\Q\tGood\t4\t7\r\n");
  FileRegistry store(Folder());
  for (const Text name : {u"TooFewFields", u"BadEscape", u"ShortEscape", u"BadDword", u"HugeDword", u"BadRoot"}) {
    EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", name, -5), -5) << ToUtf8(name);
    EXPECT_EQ(store.GetRegString(kHkeyCurrentUser, u"Software\\Q", name, u"def"), u"def") << ToUtf8(name);
  }
  EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Good", 0), 7) << "a CR before the LF is fine";

  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Good", 8);
  EXPECT_EQ(StoreBytes(), std::string(kHeader) + damaged + "80000001\tSoftware\\Q\tGood\t4\t8\n");
}

TEST_F(FileStoreTest, AHandEditedDuplicateIsReplacedByOneValue) {
  PutStore(std::string(kHeader) +
           "80000001\tSoftware\\Q\tValue\t4\t1\n"
           "80000001\tSoftware\\Other\tKept\t4\t2\n"
           "80000001\tsoftware\\q\\\tVALUE\t1\tsecond\n");
  FileRegistry store(Folder());
  EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 0), 1) << "the first line wins";
  store.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"new");
  EXPECT_EQ(StoreBytes(), std::string(kHeader) +
                              "80000001\tSoftware\\Q\tValue\t1\tnew\n"
                              "80000001\tSoftware\\Other\tKept\t4\t2\n");
}

TEST_F(FileStoreTest, AStoreThatCannotBeReadIsNeverReplaced) {
  // Over the size limit: none of its values can be trusted, none may be wiped by a write.
  const std::string big = "80000001\tSoftware\\Q\tValue\t4\t1\n# " + std::string(1024 * 1024, 'x') + "\n";
  PutStore(big);
  FileRegistry store(Folder());
  EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", -1), -1);
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_EQ(StoreBytes(), big);
#ifndef _WIN32
  // A link to a store that is not there (an unmounted home, say) is no missing store.
  std::filesystem::remove(StorePath());
  std::filesystem::create_symlink(folder_ / "elsewhere" / "registry.txt", StorePath());
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  EXPECT_TRUE(std::filesystem::is_symlink(StorePath()));
#endif
}

TEST_F(FileStoreTest, AFailedWriteIsSilentAndKeepsTheOldFile) {
  FileRegistry store(Folder());
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 1);
  const std::string before = StoreBytes();
  std::filesystem::create_directory(folder_ / "registry.txt.new");  // where the new file would go
  store.SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 2);
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_EQ(StoreBytes(), before);
  EXPECT_EQ(store.GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 0), 1);

  FileRegistry nowhere(Folder() + u"/no-such-folder");
  nowhere.SetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"x");
  EXPECT_EQ(nowhere.GetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"def"), u"def");
}

TEST_F(FileStoreTest, ReadingAndDeletingNothingCreatesNoFile) {
  FileRegistry store(Folder());
  EXPECT_EQ(store.GetRegString(kHkeyCurrentUser, u"Software\\Q", u"Value", u"def"), u"def");
  store.DeleteRegValue(kHkeyCurrentUser, u"Software\\Q", u"Value");
  EXPECT_FALSE(std::filesystem::exists(StorePath()));
}

#ifndef _WIN32
TEST_F(FileStoreTest, TheNativeRegistryIsTheFileStoreInTheGivenFolder) {
  const auto registry = MakeRegistry(Folder());
  registry->SetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 3);
  EXPECT_EQ(FileRegistry(Folder()).GetRegDword(kHkeyCurrentUser, u"Software\\Q", u"Value", 0), 3);
}
#endif

}  // namespace
}  // namespace quorvex
