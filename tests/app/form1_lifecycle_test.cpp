// Start-up and shutdown: the order of their effects, the settings normalised into the menu,
// what each way of ending leaves, and Exit or a command chosen inside any yield.
#include <gtest/gtest.h>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

TEST(Form1Startup, EffectsComeInTheWrittenOrderAndTheListWaitsForTimer3) {
  Form1Rig rig;
  rig.values = {{kInstalledValue, int32_t{1}}, {kSteamExeValue, Text(u"C:\\Steam\\steam.exe")}};
  rig.Form().Form_Load();  // no reply is scripted: every download fails, and nothing is reported
  const std::string version = ToUtf8(Form1Rig::kLatestVersionUrl), count = ToUtf8(Form1Rig::kCountUrl);
  EXPECT_EQ(rig.log,
            (Log{"single-instance",
                 "registry SetRegDword Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\|SyncMode5=3",
                 "hide", "tray delete ", "tray add Current max players: N/A", "timer Timer1 off 19750",
                 "http open " + version, "http send " + version, "timer Timer1 off 19750", "http open " + count,
                 "http send " + count, "http open " + ToUtf8(Form1Rig::ListUrl(0)), "timer Timer3 on 250"}));
  EXPECT_EQ(rig.trayData, (std::vector<TrayIconData>{{}, {.hWnd = Form1Rig::kWindow, .uID = 1, .uFlags = 7,
                                                           .uCallbackMessage = 0x200, .hIcon = Form1Rig::kNormalIcon,
                                                           .szTip = u"Current max players: N/A"}}));
  EXPECT_EQ(rig.Form().SteamExePath(), u"C:\\Steam\\steam.exe");
}

TEST(Form1Startup, StoredSettingsAreNormalisedIntoTheMenu) {
  const std::pair<std::string, Settings> cases[] = {  // as stored, as used
      {SettingsFile(2, 5, 1, 0, 9), {1, 10, 1, 0, 5}},   {SettingsFile(7, 11, 5, -1, -1), {1, 20, 5, -1, 5}},
      {SettingsFile(8, 30, 0, 0, 0), {2, 20, 0, 0, 0}},   {SettingsFile(16, 39, 1, 1, 3), {3, 20, 1, 1, 3}},
      {SettingsFile(31, 40, 1, 1, 6), {3, 40, 1, 1, 5}},  {SettingsFile(32, 100, 1, 1, 2), {4, 40, 1, 1, 2}},
      {SettingsFile(64, -3, 1, 1, 1), {5, 10, 1, 1, 1}},  {SettingsFile(200, 20, 1, 1, 0), {5, 20, 1, 1, 0}},
      {"minPlayers= 32\r\ncheckTime=abc\r\nsound=1\r\nsort=3\r\n", {4, 10, 0, 0, 0}}};  // damaged: the rest is 0
  for (const auto& [stored, used] : cases) {
    Form1Rig rig;
    const MenuTree& menu = rig.Start(stored, {}, false).Menu();
    SCOPED_TRACE(stored);
    EXPECT_EQ(rig.Form().CurrentSettings(), used);
    EXPECT_EQ(Checked(menu, "men"), std::vector<int>{used.minPlayers});
    EXPECT_EQ(menu.Item("menPlayer").caption, u"Player-Limit (" + FormatPlain(2 << used.minPlayers) + u")");
    EXPECT_EQ(Checked(menu, "menRate"), std::vector<int>{used.checkTime / 10});
    EXPECT_EQ(Checked(menu, "menSort"), std::vector<int>{used.sort});
    EXPECT_EQ(menu.Item("menSound").checked, used.sound != 0);
    EXPECT_EQ(menu.Item("menAutostart").checked, used.autostart != 0);
    EXPECT_EQ(rig.Entries("timer Timer1 off ").back(), std::to_string(used.checkTime * 1000 - 250));
  }
}

// Quorvex.ini's master lines (wine-e2e finds mastersim through them) do not replace what options
// gave; a line of the wrong form is reported and the built-in value used. Exit writes them back.
TEST(Form1Startup, TheSettingsFileCanNameTheMasterServer) {
  using Case = std::tuple<std::string, bool, size_t>;  // the lines, whether options gave both, errors
  for (const auto& [lines, optionsGiven, errors] :
       {Case{"master=10.1.2.3:8080\r\nlatestVersionUrl=http://10.1.2.3/v.txt\r\n", true, 0},
        Case{"master=10.1.2.3:99999\r\nlatestVersionUrl=https://10.1.2.3/v.txt\r\n", false, 2}}) {
    Form1Rig rig;
    rig.config.masterHostGiven = rig.config.latestVersionUrlGiven = optionsGiven;
    rig.Start(SettingsFile(8, 20, 1, 0, 0) + lines, {}, false);
    EXPECT_EQ(rig.Entries("http send "), (Log{ToUtf8(Form1Rig::kLatestVersionUrl), ToUtf8(Form1Rig::kCountUrl)}));
    EXPECT_EQ(rig.Entries("error Form_Load: Quorvex.ini line").size(), errors) << lines;
    rig.Form().menExit_Click();
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(8, 20, 1, 0, 0) + lines);
  }
}

// Exit, or the unload at log-off and then Exit, saves the settings and the Run value once. What
// start-up could not read may hold the user's values and is left as it is. A second instance, or
// one that cannot take the lock (no telling whether another runs), touches nothing.
TEST(Form1Exit, EachWayOfEndingSavesOnceOrNotAtAll) {
  const std::string odd = SettingsFile(16, 40, 5, 0, 3), tooLarge = odd + std::string(64 * 1024, 'x');
  enum Before { kNothing, kFolder, kUnwritable, kOtherInstance, kNoLock };
  // What is there, the bytes stored, an unload first; Quorvex.ini after, the Run value ('S' set, 'D' deleted).
  const std::tuple<Before, std::string, bool, std::string, char> cases[] = {
      {kNothing, odd, false, odd, 'D'},  // an odd boolean is kept
      {kNothing, SettingsFile(4, 20, 1, -1, 0), true, SettingsFile(4, 20, 1, 1, 0), 'S'},  // on is stored as 1
      {kFolder, "", false, "(folder)", 'D'},  {kNothing, tooLarge, false, tooLarge, 'D'},
      {kUnwritable, "", true, "(none)", 'S'}, {kOtherInstance, odd, true, odd, '-'},
      {kNoLock, "", false, "(none)", '-'}};
  for (const auto& [before, stored, unloadFirst, saved, runValue] : cases) {
    Form1Rig rig;
    if (before == kFolder) std::filesystem::create_directory(ToUtf8(rig.Folder()) + "/Quorvex.ini");
    if (before == kUnwritable) rig.config.programFolder = JoinPath(rig.Folder(), u"missing");
    rig.otherInstanceRuns = before == kOtherInstance;
    if (before == kNoLock) rig.lockFailure = "the lock is a folder";
    rig.Start(stored, {}, false);
    if (unloadFirst) rig.Form().Form_Unload();
    for (int twice = 0; twice < 2; ++twice) {
      rig.Form().menExit_Click();
      rig.Form().Form_Unload();
      rig.Form().TaskbarCreated();
    }
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), saved) << before << stored.substr(0, 30);
    const Text exe = JoinPath(rig.config.programFolder, u"quorvex.exe");
    const Log runSet = {ToUtf8(kRunValue + u"=\"" + exe + u"\"")};
    EXPECT_EQ(rig.Entries("registry SetRegString "), runValue == 'S' ? runSet : Log{});
    EXPECT_EQ(rig.Entries("registry DeleteRegValue ").size(), runValue == 'D' ? 1u : 0u);
    EXPECT_EQ(rig.Entries("end").size(), 1u);
    if (before == kNoLock) {  // it reads nothing either, and says why it ends
      EXPECT_EQ(rig.log[1], "msgbox Quorvex|Quorvex cannot make sure it runs only once: the lock is a folder");
      EXPECT_EQ(rig.log.size(), 3u);
    }
  }
}

// A command during start-up's version download acts on the settings as used (stored: 100
// players, 30 s, sort 9; used: 64, 20 s, sort 5). An Exit there starts no poll.
TEST(Form1Startup, ACommandDuringTheVersionDownloadActsOnTheNormalisedSettings) {
  using Case = std::tuple<std::string, int, std::string>;  // the command, its index, what Exit saves
  for (const auto& [command, index, saved] :
       {Case{"menExit", -1, SettingsFile(64, 20, 1, 0, 5)}, Case{"men", 4, SettingsFile(32, 20, 1, 0, 5)}}) {
    Form1Rig rig;
    rig.onYield = [&](int n) {
      if (n == 1) rig.Form().Click(command, index, rig.Form().Snapshot());
    };
    rig.Start(SettingsFile(100, 30, 1, 0, 9), {Server(u"Busy", u"127.0.0.2", 10)}, false);
    EXPECT_EQ(rig.Entries("http send ").size(), command == "men" ? 2u : 1u);
    EXPECT_EQ(rig.TimerOn(TimerId::Timer3), command == "men");
    rig.Form().menExit_Click();
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), saved) << command;
  }
}

// Exit inside any yield of a poll (the waits for the count, the list and the pings included) or
// of the sort's rebuild ends it there: nothing more is shown, pinged, played or requested, and
// neither queued ticks nor the unload change anything (a poll going on would alert: limit 4).
TEST(Form1Exit, InsideAnyYieldOfAPollOrOfTheSortCommandsRebuildEverythingStops) {
  const std::vector<ServerRecord> busy = {Server(u"Bravo", u"127.0.0.2", 10), Server(u"Alpha", u"127.0.0.1", 6)};
  size_t logAtExit = 0, pingsAtExit = 0;
  uint64_t menuAtExit = 0;
  const auto exit = [&](Form1Rig& rig) {  // the timers stop, the icon goes as it stands, then the saving
    const TrayIconData shown = rig.Form().Tray().Data();
    rig.Form().Click("menExit", -1, rig.Form().Snapshot());
    const Text runValue = kRunValue + u"=\"" + JoinPath(rig.Folder(), u"quorvex.exe") + u"\"";
    EXPECT_EQ(Log(rig.log.end() - 6, rig.log.end()),
              (Log{"timer Timer1 off 19750", "timer Timer2 off 4000", "timer Timer3 off 250",
                   "tray delete " + ToUtf8(shown.szTip), "registry SetRegString " + ToUtf8(runValue), "end"}));
    EXPECT_EQ(rig.trayData.back(), shown);
    logAtExit = rig.log.size();
    pingsAtExit = rig.pinged;
    menuAtExit = rig.Form().MenuRevision();
  };
  const auto check = [&](Form1Rig& rig) {
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer3, TimerId::Timer2}) rig.Form().TimerTick(timer);
    rig.Form().Form_Unload();
    EXPECT_EQ(rig.log.size(), logAtExit);  // no timer, tray, sound, box, request or file after Exit's own
    EXPECT_EQ(rig.pinged, pingsAtExit);
    EXPECT_EQ(rig.Form().MenuRevision(), menuAtExit);
  };
  EXPECT_GT(AtEachYield([&](Form1Rig& rig) { rig.Start(SettingsFile(4, 20, 1, 1, 0), busy, false); },
                        [](Form1Rig& rig) { rig.Poll(); }, exit, check),
            2 + 12 * 2 + 2 + 2 + 1 + 2 * 16);
  EXPECT_GT(AtEachYield([&](Form1Rig& rig) { rig.Start("", busy); }, [](Form1Rig& rig) { rig.Form().menSort_Click(3); },
                        exit, check),
            2 * 16);
}

}  // namespace
}  // namespace quorvex::testing
