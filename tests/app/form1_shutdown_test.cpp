// Shutdown: a second instance that saves nothing, Exit and the unload's file and Run value,
// and Exit chosen inside any yield of a running poll or sort.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

const char kSavedSettings[] = "minPlayers= 16\r\ncheckTime= 40\r\nsound=1\r\nautostart=0\r\nsort=3\r\n";

std::vector<ServerRecord> ThreeBusyServers() {
  return {Server(u"Bravo", u"127.0.0.2", 10), Server(u"Alpha", u"127.0.0.1", 6), Server(u"Charlie", u"127.0.0.3", 2)};
}

// ---- a second instance ----------------------------------------------------------------

TEST(Form1SecondInstance, ShowsItsBoxEndsAndTouchesNothing) {
  Form1Rig rig;
  rig.desktop.otherInstanceRuns = true;
  rig.PutSettingsFile(kSavedSettings);
  rig.registry.values[{kRunKey, u"Quorvex"}] = Text(u"\"elsewhere\"");
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers(ThreeBusyServers());
  rig.Load();

  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"Quorvex");
  EXPECT_EQ(rig.desktop.messageBoxes[0].text, u"Already running....");
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_TRUE(AppearInOrder(rig.log.entries, {"single-instance", "msgbox Quorvex|Already running....", "end"}));

  // Whatever the platform does next, this instance writes nothing and shows nothing.
  rig.Form().Form_Unload();
  rig.Form().menExit_Click();
  rig.Form().Form_Unload();
  EXPECT_TRUE(rig.trayShell.calls.empty());
  EXPECT_TRUE(rig.http.opened.empty());
  EXPECT_EQ(rig.registry.writes, 0);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), kSavedSettings);
  EXPECT_EQ(std::get<Text>(*rig.registry.Find(kRunKey, u"Quorvex")), u"\"elsewhere\"");
  for (const TimerChange& change : rig.desktop.timerChanges) EXPECT_FALSE(change.enabled) << TimerName(change.timer);
  EXPECT_EQ(rig.desktop.messageBoxes.size(), 1u);
}

TEST(Form1SecondInstance, ALockThatCannotBeTakenEndsTheStartSayingWhyBeforeAnythingIsTouched) {
  Form1Rig rig;
  rig.desktop.lockFailure = "the lock is a folder";
  rig.PutSettingsFile(kSavedSettings);
  rig.Load();
  rig.Form().menExit_Click();
  ASSERT_EQ(rig.desktop.messageBoxes.size(), 1u);
  EXPECT_EQ(rig.desktop.messageBoxes[0].caption, u"Quorvex");
  EXPECT_EQ(rig.desktop.messageBoxes[0].text, u"Quorvex cannot make sure it runs only once: the lock is a folder");
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_TRUE(rig.registry.calls.empty());
  EXPECT_TRUE(rig.trayShell.calls.empty());
  EXPECT_TRUE(rig.http.opened.empty());
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), kSavedSettings);
}

TEST(Form1SecondInstance, WritesNoSettingsFileWhenThereWasNone) {
  Form1Rig rig;
  rig.desktop.otherInstanceRuns = true;
  rig.Load();
  rig.Form().menExit_Click();
  rig.Form().Form_Unload();
  EXPECT_FALSE(rig.FileExists("Quorvex.ini"));
  EXPECT_EQ(rig.registry.writes, 0);
  EXPECT_TRUE(rig.trayShell.calls.empty());
}

// ---- Exit and the unload --------------------------------------------------------------

class Form1Exit : public ::testing::Test {
 protected:
  void Start(const std::string& settings) {
    rig.PutSettingsFile(settings);
    rig.ServeLatestVersion(u"1.80");
    rig.ServeServers(ThreeBusyServers());
    rig.Load();
    rig.Form().Timer3_Timer();
  }
  Text QuotedExecutable() const { return u"\"" + JoinPath(rig.Folder(), u"quorvex.exe") + u"\""; }

  Form1Rig rig;
};

TEST_F(Form1Exit, StopsTheTimersInOrderThenRemovesTheIconAsItStands) {
  Start(kSavedSettings);
  const TrayIconData shown = rig.Form().Tray().Data();
  const size_t timersBefore = rig.desktop.timerChanges.size();
  const size_t trayBefore = rig.trayShell.calls.size();
  rig.Form().menExit_Click();

  ASSERT_EQ(rig.desktop.timerChanges.size(), timersBefore + 3);
  const TimerId order[] = {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rig.desktop.timerChanges[timersBefore + i].timer, order[i]);
    EXPECT_FALSE(rig.desktop.timerChanges[timersBefore + i].enabled);
  }
  for (TimerId timer : order) EXPECT_FALSE(rig.Form().GetTimer(timer).Enabled);
  ASSERT_EQ(rig.trayShell.calls.size(), trayBefore + 1);
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimDelete);
  EXPECT_EQ(rig.trayShell.calls.back().data, shown);
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_TRUE(rig.Form().Exited());
  EXPECT_TRUE(AppearInOrder(rig.log.entries, {"timer Timer1 off 39750", "timer Timer2 off 4000", "timer Timer3 off 250",
                                              "tray delete " + ToUtf8(shown.szTip),
                                              "registry DeleteRegValue " + ToUtf8(kRunKey) + "|Quorvex", "end"}));
}

TEST_F(Form1Exit, WritesTheSettingsFileAsFiveLines) {
  Start(kSavedSettings);
  rig.RemoveFile("Quorvex.ini");
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), kSavedSettings);
}

TEST_F(Form1Exit, KeepsAnOddBooleanAndStoresAMenuOnAsOne) {
  Start("minPlayers= 8\r\ncheckTime= 10\r\nsound=5\r\nautostart=-1\r\nsort=0\r\n");
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 8\r\ncheckTime= 10\r\nsound=5\r\nautostart=1\r\nsort=0\r\n");
}

TEST_F(Form1Exit, WithAutostartOnTheRunValueHoldsTheQuotedExecutable) {
  Start("minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
  rig.Form().menExit_Click();
  const auto run = rig.registry.Find(kRunKey, u"Quorvex");
  ASSERT_TRUE(run.has_value());
  ASSERT_TRUE(std::holds_alternative<Text>(*run));
  EXPECT_EQ(std::get<Text>(*run), QuotedExecutable());
  EXPECT_EQ(std::get<Text>(*run).front(), u'"');
  EXPECT_EQ(std::get<Text>(*run).back(), u'"');
}

TEST_F(Form1Exit, WithAutostartOffTheRunValueIsGone) {
  rig.registry.values[{kRunKey, u"Quorvex"}] = Text(u"\"old\"");
  Start(kSavedSettings);
  rig.Form().menExit_Click();
  EXPECT_FALSE(rig.registry.Find(kRunKey, u"Quorvex").has_value());
}

TEST_F(Form1Exit, TheUnloadAfterExitSavesNothingMore) {
  Start(kSavedSettings);
  rig.Form().menExit_Click();
  const int writes = rig.registry.writes;
  rig.PutSettingsFile("left alone");
  // The platform unloads the form once more when the last handler has returned.
  rig.Form().Form_Unload();
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "left alone");
  EXPECT_EQ(rig.registry.writes, writes);
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimDelete);
}

TEST_F(Form1Exit, AnUnloadAtLogOffSavesOnceEvenIfExitFollows) {
  Start("minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
  rig.Form().Form_Unload();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
  EXPECT_EQ(std::get<Text>(*rig.registry.Find(kRunKey, u"Quorvex")), QuotedExecutable());
  const int writes = rig.registry.writes;
  rig.PutSettingsFile("left alone");
  rig.Form().Form_Unload();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "left alone");
  EXPECT_EQ(rig.registry.writes, writes);
}

TEST(Form1ExitUnwritable, ASettingsFileThatCannotBeWrittenStillLeavesTheRunValue) {
  Form1Rig rig;
  rig.config.programFolder = JoinPath(rig.Folder(), u"missing");
  rig.Load();
  rig.Form().menExit_Click();
  const auto run = rig.registry.Find(kRunKey, u"Quorvex");
  ASSERT_TRUE(run.has_value());
  EXPECT_EQ(std::get<Text>(*run), u"\"" + JoinPath(rig.config.programFolder, u"quorvex.exe") + u"\"");
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
}

// Something at Quorvex.ini that start-up could not read may hold the user's values.
TEST(Form1ExitUnreadable, LeavesWhatCouldNotBeReadAndStillSetsTheRunValue) {
  const std::string tooLarge = kSavedSettings + std::string(64 * 1024, 'x');
  for (const bool asFolder : {true, false}) {
    SCOPED_TRACE(asFolder ? "a folder" : "a file over 64 KiB");
    Form1Rig rig;
    const std::filesystem::path ini = std::filesystem::path(ToUtf8(rig.Folder())) / "Quorvex.ini";
    if (asFolder) {
      std::filesystem::create_directory(ini);
    } else {
      rig.PutSettingsFile(tooLarge);
    }
    rig.Load();
    rig.Form().menExit_Click();
    EXPECT_EQ(std::filesystem::is_directory(ini), asFolder);
    if (!asFolder) {
      EXPECT_EQ(rig.FileBytes("Quorvex.ini"), tooLarge);
    }
    EXPECT_EQ(rig.registry.calls.back(), "DeleteRegValue " + ToUtf8(kRunKey) + "|Quorvex");
  }
}

// ---- Exit inside a yield --------------------------------------------------------------

// What the program had done when Exit returned inside a yield.
struct AtExit {
  bool fired = false;
  size_t timerChanges = 0, trayCalls = 0, sounds = 0, pings = 0, httpOpens = 0;
  std::vector<std::string> menu;
};

// Exit runs inside yield number `target` of whatever `handler` does; the record tells
// what stood then.
AtExit ExitAtYield(Form1Rig& rig, int target, const std::function<void()>& handler) {
  AtExit at;
  const int base = rig.desktop.yields;
  rig.desktop.onYield = [&](int n) {
    if (n - base != target) return;
    rig.Form().Click("menExit", -1, rig.Form().Snapshot());
    at.fired = true;
    at.timerChanges = rig.desktop.timerChanges.size();
    at.trayCalls = rig.trayShell.calls.size();
    at.sounds = rig.desktop.sounds.size();
    at.pings = rig.pinger.pinged.size();
    at.httpOpens = rig.http.opened.size();
    at.menu = MenuLines(rig.Form().Menu());
  };
  handler();
  rig.desktop.onYield = nullptr;
  return at;
}

// After Exit: no timer on again, no tray call after the delete, the menu as Exit left it,
// nothing pinged, played or requested, the end asked for once.
void ExpectNothingCameBack(Form1Rig& rig, const AtExit& at, int target) {
  SCOPED_TRACE("Exit at yield " + std::to_string(target));
  for (size_t i = at.timerChanges; i < rig.desktop.timerChanges.size(); ++i)
    EXPECT_FALSE(rig.desktop.timerChanges[i].enabled) << TimerName(rig.desktop.timerChanges[i].timer);
  for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3})
    EXPECT_FALSE(rig.Form().GetTimer(timer).Enabled) << TimerName(timer);
  ASSERT_GE(at.trayCalls, 1u);
  EXPECT_EQ(rig.trayShell.calls.size(), at.trayCalls);
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimDelete);
  EXPECT_EQ(MenuLines(rig.Form().Menu()), at.menu);
  EXPECT_EQ(rig.desktop.sounds.size(), at.sounds);
  EXPECT_EQ(rig.pinger.pinged.size(), at.pings);
  EXPECT_EQ(rig.http.opened.size(), at.httpOpens);
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
  EXPECT_TRUE(rig.Form().Exited());
}

TEST(Form1ExitDuringPoll, AtEveryYieldThePollStopsAndNothingComesBack) {
  // Limit 4 and a busy up-to-date server: a poll that went on would balloon, play, start
  // Timer2 and Timer1, ping, change the tooltip and the menu. The yields include the waits
  // for the count, the list and the pings.
  const int atLeast = 2 + 12 * 3 + 3 + 3 + 1 + 2 * 16;  // + parse, two server loops, the rebuild's slots
  int target = 1;
  for (;; ++target) {
    Form1Rig rig;
    rig.PutSettings(4, 20, 1, 1, 0);
    rig.ServeLatestVersion(u"1.80");
    rig.ServeServers(ThreeBusyServers());
    rig.Load();
    const AtExit at = ExitAtYield(rig, target, [&] {
      rig.Form().TimerTick(TimerId::Timer1);
      rig.Form().TimerTick(TimerId::Timer3);
    });
    if (!at.fired) break;
    ExpectNothingCameBack(rig, at, target);
    // Ticks already queued when Exit stopped the timers, and the platform's unload.
    rig.Form().TimerTick(TimerId::Timer1);
    rig.Form().TimerTick(TimerId::Timer3);
    rig.Form().TimerTick(TimerId::Timer2);
    rig.Form().Form_Unload();
    ExpectNothingCameBack(rig, at, target);
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n")
        << target;
    if (::testing::Test::HasFailure()) break;  // one broken yield tells enough
  }
  EXPECT_GT(target, atLeast);
}

// A command chosen while start-up downloads the latest version leaves what it would leave
// right after start-up: the settings are already read and normalised.
TEST(Form1DuringStartUpDownload, ACommandActsOnTheNormalisedSettings) {
  struct Case {
    const char* command;
    int index;
    const char* saved;
  };
  // Stored: 100 players, 30 s, sort 9; normalised: limit 64 (index 5), 20 s, sort 5.
  for (const Case& c : {Case{"menExit", -1, "minPlayers= 64\r\ncheckTime= 20\r\nsound=1\r\nautostart=0\r\nsort=5\r\n"},
                        Case{"men", 4, "minPlayers= 32\r\ncheckTime= 20\r\nsound=1\r\nautostart=0\r\nsort=5\r\n"}}) {
    SCOPED_TRACE(c.command);
    Form1Rig rig;
    rig.PutSettings(100, 30, 1, 0, 9);
    rig.ServeLatestVersion(u"1.80");
    rig.ServeServers(ThreeBusyServers());
    rig.desktop.onYield = [&](int n) {
      if (n == 1) rig.Form().Click(c.command, c.index, rig.Form().Snapshot());
    };
    rig.Load();
    rig.desktop.onYield = nullptr;
    ASSERT_EQ(rig.http.sentUrls.front(), Form1Rig::kLatestVersionUrl);
    if (rig.Form().Exited()) {
      EXPECT_EQ(rig.http.opened.size(), 1u);  // no poll started
      EXPECT_EQ(rig.trayShell.calls.back().message, kNimDelete);
      for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3})
        EXPECT_FALSE(rig.Form().GetTimer(timer).Enabled) << TimerName(timer);
    } else {
      EXPECT_EQ(CheckedItems(rig.Form().Menu(), "men"), std::vector<std::string>{"men[4]"});
      EXPECT_EQ(rig.Form().Menu().Item("menPlayer").caption, u"Player-Limit (32)");
      rig.Form().Timer3_Timer();
      rig.Form().menExit_Click();
    }
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), c.saved);
  }
}

TEST(Form1ExitDuringPoll, AtEveryYieldOfTheSortCommandsRebuildNothingComesBack) {
  int target = 1;
  for (;; ++target) {
    Form1Rig rig;
    rig.ServeLatestVersion(u"1.80");
    rig.ServeServers(ThreeBusyServers());
    rig.Load();
    rig.Form().Timer3_Timer();
    const AtExit at = ExitAtYield(rig, target, [&] { rig.Form().menSort_Click(3); });
    if (!at.fired) break;
    ExpectNothingCameBack(rig, at, target);
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_GT(target, 2 * 16);
}

}  // namespace
}  // namespace quorvex::testing
