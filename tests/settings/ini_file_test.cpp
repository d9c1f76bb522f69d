#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "common/files.h"
#include "common/numbers.h"

namespace quorvex {
namespace {

constexpr char kDefaultBytes[] = "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n";

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("quorvex-ini-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  Text Folder() const { return FromUtf8(folder_.string()); }
  std::filesystem::path IniPath() const { return folder_ / "Quorvex.ini"; }
  void PutFile(const std::string& bytes) const { std::ofstream(IniPath(), std::ios::binary) << bytes; }
  std::string FileBytes() const {
    std::ifstream in(IniPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Reads the file into `held`, swallowing the error a damaged file gives; true when it threw.
  bool ReadThrew(Settings& held) const {
    try {
      ReadSettings(Folder(), held);
      return false;
    } catch (const std::exception&) {
      return true;
    }
  }

  std::filesystem::path folder_;
};

Settings Made(int16_t minPlayers, int32_t checkTime, int16_t sound, int16_t autostart, int16_t sort) {
  Settings settings;
  settings.minPlayers = minPlayers;
  settings.checkTime = checkTime;
  settings.sound = sound;
  settings.autostart = autostart;
  settings.sort = sort;
  return settings;
}

TEST(PlayerLimit, IsTwoToTheIndexPlusOneWithoutWrapping) {
  EXPECT_EQ(PlayerLimit(1), 4);
  EXPECT_EQ(PlayerLimit(3), 16);
  EXPECT_EQ(PlayerLimit(5), 64);
  EXPECT_EQ(PlayerLimit(0), 2);
  EXPECT_EQ(PlayerLimit(-1), 1);
  EXPECT_EQ(PlayerLimit(29), 1 << 30);
  // 2^-1 and smaller round half to even to 0; 2^31 and up do not fit in 32 bits.
  EXPECT_EQ(PlayerLimit(-2), 0);
  EXPECT_EQ(PlayerLimit(INT16_MIN), 0);
  EXPECT_THROW(PlayerLimit(30), OverflowError);
  EXPECT_THROW(PlayerLimit(INT16_MAX), OverflowError);
}

TEST_F(IniFileTest, AMissingFileGivesTheDefaultsAndIsWrittenAtOnce) {
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(4, 20, 1, 1, 0));  // minPlayers as a count, like a file value
  EXPECT_EQ(FileBytes(), kDefaultBytes);

  Settings again;
  ReadSettings(Folder(), again);
  EXPECT_EQ(again, settings) << "the new file reads back as the defaults in memory";
}

TEST_F(IniFileTest, TheDefaultsKeepTheSortColumnAsHeld) {
  Settings settings = Made(0, 0, 0, 0, 3);
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(4, 20, 1, 1, 3));
  EXPECT_EQ(FileBytes(), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=3\r\n");
}

TEST_F(IniFileTest, DefaultsThatCannotBeWrittenStayInMemoryAndTheErrorReachesTheCaller) {
  const Text missingFolder = JoinPath(Folder(), u"no-such-folder");
  Settings settings;
  EXPECT_THROW(ReadSettings(missingFolder, settings), FileError);
  EXPECT_EQ(settings, Made(4, 20, 1, 1, 0));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "no-such-folder"));
}

TEST_F(IniFileTest, EveryLimitRoundTrips) {
  for (int16_t index = 1; index <= 5; ++index) {
    const int32_t limit = int32_t{1} << (index + 1);
    WriteSettings(Folder(), Made(index, 40, -1, 0, 5));
    EXPECT_EQ(FileBytes(), "minPlayers= " + std::to_string(limit) + "\r\ncheckTime= 40\r\nsound=1\r\nautostart=0\r\nsort=5\r\n");
    Settings read;
    ReadSettings(Folder(), read);
    EXPECT_EQ(read, Made(static_cast<int16_t>(limit), 40, 1, 0, 5)) << "limit " << limit;
  }
}

TEST_F(IniFileTest, NegativeNumbersTakeTheBlankPositionOrLoseTheirSign) {
  WriteSettings(Folder(), Made(-1, -20, 5, -1, -3));
  EXPECT_EQ(FileBytes(), "minPlayers= 1\r\ncheckTime=-20\r\nsound=5\r\nautostart=1\r\nsort=3\r\n");
  // 32768 would not read back: a flag that is on stays on as 1.
  WriteSettings(Folder(), Made(1, 20, INT16_MIN, INT16_MIN, 0));
  EXPECT_EQ(FileBytes(), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
}

TEST_F(IniFileTest, SoundFiveReadsAsFiveAndIsWrittenBackAsFive) {
  PutFile("minPlayers= 8\r\ncheckTime= 10\r\nsound=5\r\nautostart=0\r\nsort=1\r\n");
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(8, 10, 5, 0, 1));
  settings.minPlayers = 2;  // start-up turns the count into the index
  WriteSettings(Folder(), settings);
  EXPECT_EQ(FileBytes(), "minPlayers= 8\r\ncheckTime= 10\r\nsound=5\r\nautostart=0\r\nsort=1\r\n");
}

TEST_F(IniFileTest, LinesAreMatchedByPositionNotByKey) {
  PutFile("sort=3\r\nsound=0\r\ncheckTime= 40\r\nminPlayers= 16\r\nautostart=1\r\nanything at all\r\n");
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(3, 0, 40, 16, 1));
}

TEST_F(IniFileTest, TheValueIsBetweenTheFirstAndTheNextEquals) {
  PutFile("minPlayers= 8\r\ncheckTime= 20\r\nsound=1=0\r\nautostart==7\r\nsort=2\r\n");
  Settings settings;
  EXPECT_TRUE(ReadThrew(settings)) << "autostart's value is the empty text before its second \"=\"";
  EXPECT_EQ(settings, Made(8, 20, 1, 0, 0));
}

TEST_F(IniFileTest, NumbersAllowBlanksAndRoundFractionsHalfToEven) {
  PutFile("minPlayers= 2.5\r\ncheckTime= 3.5 \r\nsound=  0.5\r\nautostart=1.5\r\nsort=-0\r\n");
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(2, 4, 0, 2, 0));
}

TEST_F(IniFileTest, AFileWithoutTheLastLineEndStillHasFiveLines) {
  PutFile("minPlayers= 32\r\ncheckTime= 10\r\nsound=0\r\nautostart=0\r\nsort=4");
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(32, 10, 0, 0, 4));
}

// A damaged file stops the read at the bad line: earlier fields hold their file values, the
// others what the caller held, and the error reaches the caller.
TEST_F(IniFileTest, ABadLineEndsTheReadWithTheEarlierFieldsStored) {
  struct Case {
    const char* what;
    std::string bytes;
    Settings expected;
  };
  const Settings held = Made(-7, -7, -7, -7, -7);
  const Case cases[] = {
      {"letters on line 2", "minPlayers= 16\r\ncheckTime=abc\r\nsound=1\r\nautostart=1\r\nsort=2\r\n",
       Made(16, -7, -7, -7, -7)},
      {"an empty first line", "\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=2\r\n", held},
      {"three lines only", "minPlayers= 8\r\ncheckTime= 40\r\nsound=0\r\n", Made(8, 40, 0, -7, -7)},
      {"a line without =", "minPlayers= 8\r\ncheckTime 40\r\nsound=0\r\nautostart=1\r\nsort=2\r\n",
       Made(8, -7, -7, -7, -7)},
      {"an empty value", "minPlayers= 8\r\ncheckTime= 40\r\nsound=\r\nautostart=1\r\nsort=2\r\n",
       Made(8, 40, -7, -7, -7)},
      {"sound beyond 16 bits", "minPlayers= 8\r\ncheckTime= 40\r\nsound=32768\r\nautostart=1\r\nsort=2\r\n",
       Made(8, 40, -7, -7, -7)},
      {"lines split at LF only", "minPlayers= 8\ncheckTime= 40\nsound=0\nautostart=1\nsort=2\n", held},
      {"an empty file", "", held},
  };
  for (const Case& c : cases) {
    PutFile(c.bytes);
    Settings settings = held;
    EXPECT_TRUE(ReadThrew(settings)) << c.what;
    EXPECT_EQ(settings, c.expected) << c.what;
    EXPECT_EQ(FileBytes(), c.bytes) << c.what << ": the damaged file stays as it was";
  }
}

TEST_F(IniFileTest, AFileOver64KiBIsNotRead) {
  const std::string lines = "minPlayers= 8\r\ncheckTime= 40\r\nsound=0\r\nautostart=1\r\nsort=2\r\n";
  PutFile(lines + std::string(64 * 1024 - lines.size(), 'x'));
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, Made(8, 40, 0, 1, 2)) << "exactly 64 KiB is still read";

  PutFile(lines + std::string(64 * 1024 - lines.size() + 1, 'x'));
  settings = Settings{};
  EXPECT_THROW(ReadSettings(Folder(), settings), UnreadableSettingsFile);
  EXPECT_EQ(settings, Settings{});
}

TEST_F(IniFileTest, AFailedWriteLeavesThePreviousFileWhole) {
  PutFile(kDefaultBytes);
  std::filesystem::create_directory(folder_ / "Quorvex.ini.new");  // where the new file would go
  EXPECT_THROW(WriteSettings(Folder(), Made(3, 40, 0, 0, 2)), FileError);
  EXPECT_EQ(FileBytes(), kDefaultBytes);

  EXPECT_THROW(WriteSettings(JoinPath(Folder(), u"no-such-folder"), Made(3, 40, 0, 0, 2)), FileError);
}

TEST_F(IniFileTest, AnIndexWhoseLimitDoesNotFitWritesNothing) {
  PutFile(kDefaultBytes);
  EXPECT_THROW(WriteSettings(Folder(), Made(30, 20, 1, 1, 0)), OverflowError);
  EXPECT_EQ(FileBytes(), kDefaultBytes);
}

// The optional lines after the five: found by key (letter case and blanks aside, the first
// of a key wins), kept as written, written back after the five in a fixed order.
TEST_F(IniFileTest, TheMasterLinesAreReadByKeyAndWrittenAfterTheFive) {
  struct Case {
    const char* what;
    std::string after;
    std::optional<std::string> master, url;
    std::string rewritten;
  };
  const Case cases[] = {
      {"none", "", std::nullopt, std::nullopt, ""},
      {"both, in either order", "latestVersionUrl=http://h/v.txt?a=b\r\nmaster=h:8\r\n", "h:8",
       "http://h/v.txt?a=b", "master=h:8\r\nlatestVersionUrl=http://h/v.txt?a=b\r\n"},
      {"blanks and case", " Master = h \r\nLATESTVERSIONURL=\r\n", "h", "",
       "master=h\r\nlatestVersionUrl=\r\n"},
      {"the first wins, invalid is kept", "master=not a host\r\nmaster=h\r\n", "not a host", std::nullopt,
       "master=not a host\r\n"},
      {"other lines are dropped", "hello\r\nmasters=h\r\n", std::nullopt, std::nullopt, ""},
  };
  const std::string five = "minPlayers= 8\r\ncheckTime= 40\r\nsound=0\r\nautostart=1\r\nsort=2\r\n";
  for (const Case& c : cases) {
    PutFile(five + c.after);
    Settings settings;
    ReadSettings(Folder(), settings);
    const auto text = [](const std::optional<Text>& value) {
      return value ? std::optional<std::string>(ToUtf8(*value)) : std::nullopt;
    };
    EXPECT_EQ(text(settings.master), c.master) << c.what;
    EXPECT_EQ(text(settings.latestVersionUrl), c.url) << c.what;
    settings.minPlayers = 2;
    WriteSettings(Folder(), settings);
    EXPECT_EQ(FileBytes(), five + c.rewritten) << c.what;
  }
}

TEST_F(IniFileTest, TheMasterLineSurvivesADamagedLineAmongTheFive) {
  PutFile("minPlayers= 8\r\ncheckTime=abc\r\nsound=0\r\nautostart=1\r\nsort=2\r\nmaster=h:8\r\n");
  Settings settings;
  EXPECT_TRUE(ReadThrew(settings));
  EXPECT_EQ(settings.master, u"h:8");
  // A line among the five is never taken for a keyed line.
  PutFile("minPlayers= 8\r\nmaster=h:8\r\n");
  settings = Settings{};
  EXPECT_TRUE(ReadThrew(settings));
  EXPECT_FALSE(settings.master);
}

}  // namespace
}  // namespace quorvex
