// The history's folder on the real file system (natively, and under Wine for Windows): files
// made by appending, one write adding to the end, only regular files listed, failures thrown.
#include "history/history_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>


namespace quorvex {
namespace {

class HistoryFolderTest : public ::testing::Test {
 protected:
  HistoryFolderTest() { std::filesystem::create_directories(path_); }
  ~HistoryFolderTest() override { std::filesystem::remove_all(path_); }

  std::string Bytes(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  const std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / ("quorvex history " + std::to_string(std::random_device{}()));
  const std::unique_ptr<HistoryFolder> folder_ = MakeHistoryFolder(FromUtf8(path_.string()));
};

TEST_F(HistoryFolderTest, AppendsToTheEndCreatingTheFileAndReadsItBack) {
  EXPECT_EQ(folder_->LastByte("history-2026-12.csv"), std::nullopt);
  EXPECT_EQ(folder_->Read("history-2026-12.csv", 100), std::nullopt);
  folder_->Append("history-2026-12.csv", "time\n");
  folder_->Append("history-2026-12.csv", "a,b");
  EXPECT_EQ(Bytes("history-2026-12.csv"), "time\na,b");
  EXPECT_EQ(folder_->LastByte("history-2026-12.csv"), 'b');
  EXPECT_EQ(folder_->Read("history-2026-12.csv", 100), "time\na,b");
  EXPECT_THROW(folder_->Read("history-2026-12.csv", 7), FileError);
  std::ofstream(path_ / "empty.csv").flush();
  EXPECT_EQ(folder_->LastByte("empty.csv"), std::nullopt);
  folder_->Remove("history-2026-12.csv");
  folder_->Remove("history-2026-12.csv");  // gone already: nothing happens
  EXPECT_FALSE(std::filesystem::exists(path_ / "history-2026-12.csv"));
}

TEST_F(HistoryFolderTest, ListsOnlyItsRegularFilesAndCannotAppendToAFolder) {
  std::filesystem::create_directories(path_ / "history-2026-11.csv");
  std::ofstream(path_ / "Quorvex.ini") << "x";
  std::ofstream(path_ / "history-2026-10.csv") << "x";
  std::vector<std::string> names = folder_->FileNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Quorvex.ini", "history-2026-10.csv"}));
  EXPECT_THROW(folder_->Append("history-2026-11.csv", "x"), FileError);
  EXPECT_THROW(folder_->Read("history-2026-11.csv", 100), FileError);
  folder_->Remove("history-2026-11.csv");  // a folder is not removed
  EXPECT_TRUE(std::filesystem::is_directory(path_ / "history-2026-11.csv"));
  EXPECT_TRUE(MakeHistoryFolder(FromUtf8((path_ / "none").string()))->FileNames().empty());
}

#ifndef _WIN32
// A full disk, for real: the file is a link to /dev/full.
TEST_F(HistoryFolderTest, AFullDiskIsAFailedAppend) {
  std::filesystem::create_symlink("/dev/full", path_ / "history-2026-12.csv");
  EXPECT_THROW(folder_->Append("history-2026-12.csv", "2026-12-08T00:00Z,*,0,,1\n"), FileError);
}
#endif

}  // namespace
}  // namespace quorvex
