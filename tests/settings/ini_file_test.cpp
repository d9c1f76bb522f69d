// Quorvex.ini: five lines by position, then optional lines by key; the defaults of a missing
// file, what a damaged one leaves, and a failed write. (A missing folder is Form1's test.)
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/numbers.h"

namespace quorvex {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(folder_); }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  Text Folder() const { return FromUtf8(folder_.string()); }
  void PutFile(const std::string& bytes) const { std::ofstream(folder_ / "Quorvex.ini", std::ios::binary) << bytes; }
  std::string FileBytes() const {
    std::ifstream in(folder_ / "Quorvex.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("quorvex-ini-" + std::to_string(std::random_device{}()));
};

const std::string kFiveLines = "minPlayers= 8\r\ncheckTime= 40\r\nsound=0\r\nautostart=1\r\nsort=2\r\n";

// The message naming a line the reader left out.
std::string Ignored(int line, const std::string& text, const std::string& why) {
  return "Quorvex.ini line " + std::to_string(line) + " \"" + text + "\" " + why + "; it is ignored";
}

TEST(PlayerLimit, IsTwoToTheIndexPlusOneWithoutWrapping) {
  for (const auto& [index, limit] : {std::pair<int16_t, int32_t>{1, 4}, {5, 64}, {-1, 1}, {29, 1 << 30}, {-2, 0}})
    EXPECT_EQ(PlayerLimit(index), limit) << index;  // 2^-1 and less round half to even to 0
  EXPECT_THROW(PlayerLimit(30), OverflowError);
}

// A missing file gets the defaults, written at once: the five lines alone. The file holds the
// limit of the index and the flags without sign (-32768, whose absolute value would not read
// back, as 1), then the lines after the five as held, byte for byte.
TEST_F(IniFileTest, AMissingFileGetsTheDefaultsAndFlagsAreWrittenWithoutSign) {
  Settings settings{0, 0, 0, 0, 3, "watch=x\r\n"};
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, (Settings{4, 20, 1, 1, 3}));  // the limit as a count, like a file value; the sort as held
  EXPECT_EQ(FileBytes(), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=3\r\n");
  WriteSettings(Folder(), Settings{-1, -20, INT16_MIN, -INT16_MAX, -3, " master = x\r\n\r\n;\xF6", u"unused"});
  EXPECT_EQ(FileBytes(), "minPlayers= 1\r\ncheckTime=-20\r\nsound=1\r\nautostart=32767\r\nsort=3\r\n"
                         " master = x\r\n\r\n;\xF6");
  const std::string written = FileBytes();
  EXPECT_THROW(WriteSettings(Folder(), Settings{30, 20, 1, 1, 0}), OverflowError);  // 2^31 does not fit
  std::filesystem::create_directory(folder_ / "Quorvex.ini.new");  // where the new file would go
  EXPECT_ANY_THROW(WriteSettings(Folder(), Settings{3, 40, 0, 0, 2}));
  EXPECT_EQ(FileBytes(), written) << "the old file survives a failed write";
}

// Each field is stored as soon as it converts: a bad line ends the read with the earlier
// fields from the file, the others as held, and the error reaches the caller. The optional
// lines after the five are found by key (letter case and blanks aside, the first of a key
// wins), and read even when a line among the five is bad; a line among the five is none.
TEST_F(IniFileTest, LinesAreReadByPositionUpToTheFirstBadOneAndTheOptionalOnesByKey) {
  const Settings held{-7, -7, -7, -7, -7};
  const std::pair<std::string, Settings> cases[] = {
      {"sort=3\r\nsound=0\r\ncheckTime= 40\r\nminPlayers= 16\r\nautostart=5\r\nmore\r\n", {3, 0, 40, 16, 5, "more\r\n"}},
      {"minPlayers= 2.5\r\ncheckTime= 3.5 \r\nsound=  0.5\r\nautostart=1.5\r\nsort=-0", {2, 4, 0, 2, 0}},  // no last CR LF
      {"=8\r\nb=20\r\nc=1=0\r\nd==7\r\ne=2\r\n", {8, 20, 1, -7, -7}},  // the value ends at the next "="
      {"minPlayers= 8\r\ncheckTime= 40\r\nsound=0", {8, 40, 0, -7, -7}},  // three lines only
      {"minPlayers= 8\r\ncheckTime 40\r\nsound=0\r\nautostart=1\r\nsort=2\r\n", {8, -7, -7, -7, -7}},
      {"a=8\r\nb=40\r\nsound=32768\r\nd=1\r\ne=2\r\n", {8, 40, -7, -7, -7}},
      {"minPlayers= 8\ncheckTime= 40\nsound=0\nautostart=1\nsort=2\n", held},  // LF alone ends no line
      {kFiveLines + "latestVersionUrl=http://h/v.txt?a=b\r\n Master = h \r\nmaster=x\r\n",
       {8, 40, 0, 1, 2, "latestVersionUrl=http://h/v.txt?a=b\r\n Master = h \r\nmaster=x\r\n", u"h",
        u"http://h/v.txt?a=b"}},
      {kFiveLines + "LATESTVERSIONURL=\r\nhello\r\nmasters=h", {8, 40, 0, 1, 2, "LATESTVERSIONURL=\r\nhello\r\nmasters=h",
                                                                  std::nullopt, u""}},
      {"minPlayers= 16\r\ncheckTime=abc\r\nsound=0\r\nautostart=1\r\nsort=2\r\nmaster=h\r\n",
       {16, -7, -7, -7, -7, "master=h\r\n", u"h"}},
      {"minPlayers= 8\r\nmaster=h:8\r\n", {8, -7, -7, -7, -7}},
  };
  for (const auto& [bytes, expected] : cases) {
    PutFile(bytes);
    Settings settings = held;
    if (expected.sort == -7) {
      EXPECT_ANY_THROW(ReadSettings(Folder(), settings)) << bytes;
    } else {
      ReadSettings(Folder(), settings);
    }
    EXPECT_EQ(settings, expected) << bytes;
    EXPECT_EQ(FileBytes(), bytes) << "the file stays as it was";
  }
}

// A file over 64 KiB is not ours: the caller learns that it could not be read, so that it is
// never replaced.
TEST_F(IniFileTest, AFileOver64KiBIsUnreadable) {
  PutFile(kFiveLines + std::string(64 * 1024 - kFiveLines.size(), 'x'));
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_EQ(settings, (Settings{8, 40, 0, 1, 2, std::string(64 * 1024 - kFiveLines.size(), 'x')}))
      << "exactly 64 KiB is still read";
  PutFile(FileBytes() + "x");
  EXPECT_THROW(ReadSettings(Folder(), settings), UnreadableSettingsFile);
}

// Every line after the five goes back as the player typed it, in its order: known keys,
// unknown ones, comments, blank lines, bytes that are no UTF-8, a last line without CR LF.
// Without such lines the file is the five lines, as it always was.
TEST_F(IniFileTest, ARewriteKeepsEveryLineAfterTheFiveByteForByte) {
  const std::string fiveLinesWritten = "minPlayers= 16\r\ncheckTime= 40\r\nsound=1\r\nautostart=1\r\nsort=2\r\n";
  for (const std::string& after : {std::string(), std::string("\r\n"),
                                  std::string(" Watch = Bob* \r\nmaster=h\r\n; friends\r\n\r\nwatch=J\xF6rg\r\n"
                                              "foo=bar\nwatch=baz\r\n\twatch=x\r")}) {
    PutFile(kFiveLines + after);
    Settings settings;
    ReadSettings(Folder(), settings);
    EXPECT_EQ(settings.linesAfterFive, after);
    settings.minPlayers = 3;  // the index of 16
    settings.sound = 1;
    WriteSettings(Folder(), settings);
    EXPECT_EQ(FileBytes(), fiveLinesWritten + after);
  }
  Settings settings;
  ReadSettings(Folder(), settings);
  // An LF alone ends a line after the five too, and a last CR without LF is no part of it.
  EXPECT_EQ(settings.watchPatterns, (std::vector<Text>{u"Bob*", u"J\uFFFDrg", u"baz", u"x"}));
}

// watch=, alert= and notifyCommand= lines are read by key like master=, whether a line ends
// with CR LF or LF alone. An empty pattern, one over 64 characters, a bad rule and every watch=
// or alert= line after the 32nd (whatever it holds) are left out; the first non-empty
// notifyCommand= wins. Every line left out is named once, in the order of the file.
TEST_F(IniFileTest, WatchAndAlertLinesGiveUpTo32EachAndTheFirstNotifyCommandWins) {
  const std::string badCount = "does not start with a player count from 1 to 999 and a blank";
  const std::string overLong = "has a pattern over 64 characters";
  Text smiles;
  for (int i = 0; i < 64; ++i) smiles += u"\U0001F600";
  std::string watch34 = "watch=\r\n", alert34;
  std::vector<Text> watch31;
  std::vector<AlertRule> alert32;
  for (int i = 1; i <= 33; ++i) {
    if (i >= 2) watch34 += "watch=p" + std::to_string(i) + "\r\n";
    if (i >= 2 && i <= 32) watch31.push_back(u"p" + FromAscii(std::to_string(i)));
    alert34 += "alert=" + std::to_string(i) + " s\r\n";
    if (i <= 32) alert32.push_back({i, u"s"});
  }
  const std::string over = "watch=" + std::string(65, 'a'), farOver = " watch = " + std::string(200, 'b');
  using Lines = std::tuple<std::string, std::vector<Text>, std::vector<AlertRule>, std::optional<Text>,
                           std::vector<std::string>>;
  const Lines cases[] = {
      {"watch=bob\r\n WATCH\t= *[FR]* \r\nwatched=x\r\nwatch\r\n;watch=y\r\nwatch==z\r\nwatch=bob\r\n",
       {u"bob", u"*[FR]*", u"=z", u"bob"}, {}, std::nullopt, {}},
      {"watch=\r\nwatch= \t\r\nwatch=" + std::string(64, 'a') + "\r\n" + over + "\r\n" + farOver +
           "\r\nwatch=" + ToUtf8(smiles) + "\r\nwatch=" + ToUtf8(smiles) + "x\r\n",
       {Text(64, u'a'), smiles}, {}, std::nullopt,
       {Ignored(6, "watch=", "has an empty pattern"), Ignored(7, "watch= \t", "has an empty pattern"),
        Ignored(9, over, overLong), Ignored(10, farOver.substr(0, 80) + "...", overLong),
        Ignored(12, "watch=" + ToUtf8(smiles.substr(0, 74)) + "...", overLong)}},
      {watch34 + "watch=\r\n", watch31, {}, std::nullopt,
       {Ignored(6, "watch=", "has an empty pattern"), Ignored(38, "watch=p33", "is a watch= line after the 32nd"),
        Ignored(39, "watch=", "is a watch= line after the 32nd")}},
      {"alert=12 Our *\n ALERT \t= 5\tx \r\nalert=0 x\nalert=12\r\nalert=12x\nalerts=3 y\nnotifyCommand= \r\n"
       "notifyCommand = curl -d \"a b\" \nnotifyCommand=second\nwatch=bob\n",
       {u"bob"}, {{12, u"Our *"}, {5, u"x"}}, u"curl -d \"a b\"",
       {Ignored(8, "alert=0 x", badCount), Ignored(9, "alert=12", "has no server-name pattern after its player count"),
        Ignored(10, "alert=12x", badCount), Ignored(12, "notifyCommand= ", "has no command"),
        Ignored(14, "notifyCommand=second", "is a notifyCommand= line after the first")}},
      {alert34 + "alert=\n", {}, alert32, std::nullopt,
       {Ignored(38, "alert=33 s", "is an alert= line after the 32nd"),
        Ignored(39, "alert=", "is an alert= line after the 32nd")}},
  };
  for (const auto& [after, patterns, rules, command, messages] : cases) {
    PutFile(kFiveLines + after + "master=h");
    Settings settings;
    ReadSettings(Folder(), settings);
    EXPECT_EQ(settings.watchPatterns, patterns) << after;
    EXPECT_EQ(settings.alertRules, rules) << after;
    EXPECT_EQ(settings.notifyCommand, command) << after;
    EXPECT_EQ(settings.ignoredLines, messages) << after;
    EXPECT_EQ(settings.master, u"h") << "a last line without CR LF, after one ended by LF alone";
  }
  // Read before the five, so a damaged line among them (here an empty first line) does not
  // lose them; a second read does not add to the first.
  PutFile("\r\nb\r\nc\r\nd\r\ne\r\nwatch=\r\nwatch=a");
  Settings settings{
      .watchPatterns = {u"old"}, .ignoredLines = {"old"}, .alertRules = {{1, u"old"}}, .notifyCommand = u"old"};
  EXPECT_THROW(ReadSettings(Folder(), settings), FileError);
  EXPECT_EQ(settings.linesAfterFive, "watch=\r\nwatch=a");
  EXPECT_EQ(settings.watchPatterns, std::vector<Text>{u"a"});
  EXPECT_EQ(settings.ignoredLines, std::vector<std::string>{Ignored(6, "watch=", "has an empty pattern")});
  EXPECT_TRUE(settings.alertRules.empty());
  EXPECT_EQ(settings.notifyCommand, std::nullopt);
}

// Only the value 1 switches quiet while playing on (any such line does); another value is named.
TEST_F(IniFileTest, QuietWhilePlayingIsOnlyOne) {
  PutFile(kFiveLines + "quietWhilePlaying=0\r\n QUIETWHILEPLAYING = 1 \r\nquietWhilePlaying=yes\r\n");
  Settings settings;
  ReadSettings(Folder(), settings);
  EXPECT_TRUE(settings.quietWhilePlaying);
  EXPECT_EQ(settings.ignoredLines, (std::vector<std::string>{Ignored(6, "quietWhilePlaying=0", "is not quietWhilePlaying=1"),
                                                             Ignored(8, "quietWhilePlaying=yes", "is not quietWhilePlaying=1")}));
  PutFile(kFiveLines + "quietWhilePlaying=10\r\n");
  ReadSettings(Folder(), settings);
  EXPECT_FALSE(settings.quietWhilePlaying) << "a second read starts afresh";
}

TEST_F(IniFileTest, TheFirstUsableIconNumberLineSetsWhatTheIconShows) {
  const std::string neither = "is neither \"busiest\" nor \"watched\"";
  const std::string later = "is an iconNumber= line after the first";
  using Lines = std::tuple<std::string, std::optional<IconNumber>, std::vector<std::string>>;
  const Lines cases[] = {
      {"", std::nullopt, {}},
      {"iconNumber=busiest\r\n", IconNumber::kBusiest, {}},
      {" ICONNUMBER \t= Watched \n", IconNumber::kWatched, {}},
      {"iconNumber=\r\niconNumber=most\r\niconNumbers=watched\r\niconNumber=watched\r\niconNumber=busiest\r\n"
       "iconNumber=x\r\n",
       IconNumber::kWatched,
       {Ignored(6, "iconNumber=", neither), Ignored(7, "iconNumber=most", neither),
        Ignored(10, "iconNumber=busiest", later), Ignored(11, "iconNumber=x", neither)}},
  };
  for (const auto& [after, number, messages] : cases) {
    PutFile(kFiveLines + after);
    Settings settings{.iconNumber = IconNumber::kBusiest};
    ReadSettings(Folder(), settings);
    EXPECT_EQ(settings.iconNumber, number) << after;
    EXPECT_EQ(settings.ignoredLines, messages) << after;
    EXPECT_EQ(settings.linesAfterFive, after);
  }
}

}  // namespace
}  // namespace quorvex
