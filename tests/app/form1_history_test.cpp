// The player history in the program: the history= line read at start-up, each answered list
// reply recorded at the time of day, the files written when a bucket ends and at Exit, old
// months deleted at start, "History…" in the popup, and nothing of it without the line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "history/utc_time.h"
#include "support/form1_fakes.h"
#include "tests/history/fake_history_folder.h"

namespace quorvex::testing {
namespace {

constexpr int64_t kDec8 = 1796688000000;  // 2026-12-08T00:00Z

std::vector<std::string> Names(const MenuItem& parent) {
  std::vector<std::string> names;
  for (const MenuItem& item : parent.children) names.push_back(item.name);
  return names;
}

std::vector<std::string> FilesIn(const Form1Rig& rig) {
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(ToUtf8(rig.Folder())))
    names.push_back(file.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Polls at 00:00:30, 00:02 (the list fails), 00:03 (an error page), 00:04:59 and 00:05:10,
// Exit at 00:06: the first bucket holds the highest of the two lists, the second is written
// at Exit.
TEST(Form1History, RecordsEachAnsweredListAndWritesABucketWhenTheNextBeginsAndAtExit) {
  Form1Rig rig;
  const std::string settings = SettingsFile(4, 20, 0, 0, 0) + "history = 30\r\n";
  rig.wallClockMs = kDec8 + 30'000;
  rig.Start(settings, WithPlayers({3, 0, 2}));
  rig.wallClockMs = kDec8 + 120'000;
  rig.Serve(WithPlayers({9, 9}));
  rig.replies.erase(Form1Rig::ListUrl(2));
  rig.Poll();
  rig.wallClockMs = kDec8 + 180'000;
  rig.Serve(WithPlayers({8, 8}));
  rig.httpStatus = 500;
  rig.Poll();
  rig.httpStatus = 200;
  rig.wallClockMs = kDec8 + 299'999;
  rig.Serve(WithPlayers({1, 4}));
  rig.Poll();
  EXPECT_EQ(rig.FileBytes("history-2026-12.csv"), "(none)");  // the bucket is still open
  rig.wallClockMs = kDec8 + 310'000;
  rig.Serve(WithPlayers({0, 5}));
  rig.Poll();
  const std::string first = "\xEF\xBB\xBFtime (UTC),address,port,name,players\n2026-12-08 00:00,*,0,,5\n"
                            "2026-12-08 00:00,127.0.0.1,27015,S1,3\n2026-12-08 00:00,127.0.0.3,27015,S3,2\n"
                            "2026-12-08 00:00,127.0.0.2,27015,S2,4\n";
  EXPECT_EQ(rig.FileBytes("history-2026-12.csv"), first);
  // What the window draws has the open bucket too.
  const HistoryChart chart = rig.Form().ChartHistory(ChartRange::Day);
  EXPECT_EQ(chart.series[0].segments, (std::vector<ChartSegment>{{kDec8, {5, 5}}}));
  rig.wallClockMs = kDec8 + 360'000;
  RunHandler([&] { rig.Form().menExit_Click(); });
  EXPECT_EQ(rig.FileBytes("history-2026-12.csv"),
            first + "2026-12-08 00:05,*,0,,5\n2026-12-08 00:05,127.0.0.2,27015,S2,5\n");
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), settings);  // the line is kept as typed
  EXPECT_TRUE(rig.Entries("error ").empty());
}

// The first usable history= line counts and a later one is told; "History…" follows the servers.
// At start the months wholly older than the days kept go, nothing else of the folder.
TEST(Form1History, PutsHistoryAfterTheServersAndOpensItsWindowOnAClick) {
  Form1Rig rig;
  for (const char* name : {"history-2026-10.csv", "history-2026-11.csv", "history-2026-12.csv", "history-2026-10.txt"})
    std::ofstream(std::filesystem::path(ToUtf8(rig.Folder())) / name) << "x";
  Form1& form = rig.Start(SettingsFile(4, 20, 0, 0, 0) + "history=2\r\nhistory=x\r\n", {});
  EXPECT_TRUE(form.KeepsHistory());
  EXPECT_EQ(FilesIn(rig), (std::vector<std::string>{"Quorvex.ini", "history-2026-10.txt", "history-2026-12.csv"}));
  EXPECT_EQ(rig.Entries("error "),
            Log{"Form_Load: Quorvex.ini line 7 \"history=x\" is a history= line after the first; it is ignored"});
  EXPECT_EQ(Names(form.Menu().Root()), (std::vector<std::string>{"menAbout", "menA", "menServer", "menHistory",
                                                                  "menPlayer", "menConfig", "menb", "menExit"}));
  EXPECT_EQ(form.Menu().Item("menHistory").caption, u"History\u2026");
  rig.log.clear();
  form.Click("menHistory", -1, form.Snapshot());
  EXPECT_EQ(rig.log, Log{"history window"});
}

// Without a usable history= line nothing of the history exists: no item, no file, no
// window, and the program's files are the ones it always wrote.
TEST(Form1History, WithoutAUsableLineNothingIsKeptAndAnUnusableOneIsToldOnce) {
  const auto told = [](int line, const std::string& text, const std::string& why = "is not a number of days from 1 to 366") {
    return "Form_Load: Quorvex.ini line " + std::to_string(line) + " \"" + text + "\" " + why + "; it is ignored";
  };
  const std::pair<std::string, Log> cases[] = {
      {"", {}}, {"histories=3\r\n", {}}, {"history=0\r\n", {told(6, "history=0")}},
      {"history=367\r\n", {told(6, "history=367")}}, {"history=\r\n", {told(6, "history=")}},
      {"History= 7 days\n", {told(6, "History= 7 days")}},
      {"history=-5\r\nhistory=30\r\n",
       {told(6, "history=-5"), told(7, "history=30", "is a history= line after the first")}},
  };
  for (const auto& [lines, errors] : cases) {
    Form1Rig rig;
    Form1& form = rig.Start(SettingsFile(4, 20, 0, 0, 0) + lines, WithPlayers({3}));
    rig.wallClockMs += 10 * kBucketMs;
    rig.Poll();
    form.Click("menHistory", -1, form.Snapshot());
    RunHandler([&] { form.menExit_Click(); });
    EXPECT_FALSE(form.KeepsHistory()) << lines;
    EXPECT_FALSE(form.Menu().Has("menHistory")) << lines;
    EXPECT_EQ(rig.Entries("error "), errors) << lines;
    EXPECT_EQ(FilesIn(rig), (std::vector<std::string>{"Quorvex.ini"})) << lines;
    EXPECT_TRUE(rig.Entries("history").empty());
    EXPECT_THROW(form.ChartHistory(ChartRange::Day), std::logic_error);
  }
}

// A folder that cannot be written: the first failure is told by the handler that met it,
// the program goes on polling, and nothing more is told.
TEST(Form1History, TellsAWriteThatFailsOnceAndGoesOn) {
  Form1Rig rig;
  HistoryFiles files;
  files.failWrites = "cannot write history-2026-12.csv: Read-only file system";
  rig.makeHistoryFolder = [&](const Text&) { return std::make_unique<FakeHistoryFolder>(files); };
  rig.Start(SettingsFile(4, 20, 0, 0, 0) + "history=30\r\n", WithPlayers({1}));
  for (int bucket = 1; bucket <= 3; ++bucket) {
    rig.wallClockMs = kDec8 + bucket * kBucketMs;
    rig.Poll();
    EXPECT_TRUE(rig.TimerOn(TimerId::Timer1));
  }
  RunHandler([&] { rig.Form().menExit_Click(); });
  EXPECT_EQ(files.appends, 4);
  EXPECT_EQ(rig.Entries("error "), Log{"Timer3_Timer: the player history cannot be kept: cannot write "
                                      "history-2026-12.csv: Read-only file system"});
}

}  // namespace
}  // namespace quorvex::testing
