// Start-up and shutdown: the order of their effects, the settings normalised into the menu,
// a second instance, Exit and the unload, and Exit or a command chosen inside any yield.
#include <gtest/gtest.h>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

const Text kSteamExe = u"C:\\Steam\\steam.exe";

TEST(Form1Startup, EffectsComeInTheWrittenOrderAndTheListWaitsForTimer3) {
  Form1Rig rig;
  rig.values[kInstalledValue] = int32_t{1};
  rig.values[kSteamExeValue] = kSteamExe;
  // What the tray shows while the version file downloads is what the user sees meanwhile.
  std::vector<TrayIconData> trayWhileDownloading;
  rig.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kLatestVersionUrl) trayWhileDownloading = rig.trayData;
  };
  rig.Start("", {}, /*firstPoll=*/false);
  EXPECT_EQ(rig.log.front(), "single-instance");
  EXPECT_TRUE(AppearInOrder(
      rig.log, {"registry SetRegDword Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\|SyncMode5=3",
                "registry GetRegDword " + ToUtf8(kInstalledValue), "registry GetRegString " + ToUtf8(kSteamExeValue),
                "hide", "tray delete ", "tray add Current max players: N/A",
                "http open " + ToUtf8(Form1Rig::kLatestVersionUrl), "timer Timer1 off 19750",
                "http send " + ToUtf8(Form1Rig::kCountUrl), "http open " + ToUtf8(Form1Rig::ListUrl(0))}));
  EXPECT_EQ(rig.log.back(), "timer Timer3 on 250");
  ASSERT_EQ(trayWhileDownloading.size(), 2u);
  EXPECT_EQ(trayWhileDownloading[0], TrayIconData{});  // nothing was shown yet
  EXPECT_EQ(trayWhileDownloading[1], (TrayIconData{.hWnd = Form1Rig::kWindow, .uID = 1, .uFlags = 7, .uCallbackMessage = 0x200,
                                                   .hIcon = Form1Rig::kNormalIcon, .szTip = u"Current max players: N/A"}));
  EXPECT_EQ(rig.Form().LatestVersion(), u"1.80");
  EXPECT_TRUE(rig.Entries("msgbox").empty());
  // SteamExe is read only when the game is installed.
  for (const auto& [installed, read] : {std::pair<std::optional<std::variant<int32_t, Text>>, bool>{int32_t{7}, true},
                                        {int32_t{0}, false}, {std::nullopt, false}, {Text(u"1"), false}}) {
    Form1Rig other;
    if (installed) other.values[kInstalledValue] = *installed;
    other.values[kSteamExeValue] = kSteamExe;
    other.Start("", {}, false);
    EXPECT_EQ(other.Form().SteamExePath(), read ? kSteamExe : u"") << read;
    EXPECT_EQ(other.Entries("registry GetRegString").size(), read ? 1u : 0u);
  }
}

TEST(Form1Startup, StoredSettingsAreNormalisedIntoTheMenu) {
  struct Case {
    int limit, checkTime, sound, autostart, sort;  // as stored
    int16_t index, rate, shownSort;                // as used
  };
  for (const Case& c : {Case{2, 5, 1, 0, 9, 1, 1, 5}, Case{4, 10, 0, 1, -1, 1, 1, 5}, Case{7, 11, 5, -1, 6, 1, 2, 5},
                        Case{8, 30, 0, 0, 0, 2, 2, 0}, Case{16, 39, 1, 1, 3, 3, 2, 3}, Case{31, 40, 1, 1, 5, 3, 4, 5},
                        Case{32, 100, 1, 1, 2, 4, 4, 2}, Case{64, -3, 1, 1, 1, 5, 1, 1}, Case{100, 20, 1, 1, 0, 5, 2, 0},
                        Case{-20, 20, 1, 1, 0, 1, 2, 0}}) {
    Form1Rig rig;
    const Form1& form = rig.Start(SettingsFile(c.limit, c.checkTime, c.sound, c.autostart, c.sort), {}, false);
    const MenuTree& menu = form.Menu();
    SCOPED_TRACE(SettingsFile(c.limit, c.checkTime, c.sound, c.autostart, c.sort));
    EXPECT_EQ(form.CurrentSettings(), (Settings{c.index, c.rate * 10, static_cast<int16_t>(c.sound),
                                                static_cast<int16_t>(c.autostart), c.shownSort}));
    EXPECT_EQ(Checked(menu, "men"), std::vector<int>{c.index});
    EXPECT_EQ(menu.Item("menPlayer").caption, u"Player-Limit (" + FormatPlain(2 << c.index) + u")");
    EXPECT_EQ(Checked(menu, "menRate"), std::vector<int>{c.rate});
    EXPECT_EQ(Checked(menu, "menSort"), std::vector<int>{c.shownSort});
    EXPECT_EQ(menu.Item("menSound").checked, c.sound != 0);
    EXPECT_EQ(menu.Item("menAutostart").checked, c.autostart != 0);
    EXPECT_EQ(rig.Entries("timer Timer1 off ").back(), std::to_string(c.rate * 10000 - 250));
  }
}

TEST(Form1Startup, AMissingOrDamagedSettingsFileOrNoNetworkStillStartsThePoll) {
  Form1Rig fresh;  // the defaults are written by the read itself, before the version download
  std::string fileAtVersionDownload;
  fresh.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kLatestVersionUrl) fileAtVersionDownload = fresh.FileBytes("Quorvex.ini");
  };
  fresh.Form().Form_Load();  // and no reply is scripted: every send fails, and nothing is reported
  EXPECT_EQ(fileAtVersionDownload, SettingsFile(4, 20, 1, 1, 0));
  EXPECT_EQ(fresh.Form().CurrentSettings(), (Settings{1, 20, 1, 1, 0}));
  EXPECT_EQ(fresh.Entries("http open ").back(), ToUtf8(Form1Rig::ListUrl(0)));
  EXPECT_TRUE(fresh.Entries("msgbox").empty());
  fresh.Form().Timer3_Timer();
  EXPECT_TRUE(fresh.TimerOn(TimerId::Timer1));

  Form1Rig unwritable;  // a folder that takes no file: the defaults stay in memory
  unwritable.config.programFolder = JoinPath(unwritable.Folder(), u"missing");
  unwritable.Start("", {}, false);
  EXPECT_EQ(unwritable.Form().CurrentSettings(), (Settings{1, 20, 1, 1, 0}));
  EXPECT_EQ(unwritable.Form().LatestVersion(), u"1.80");

  Form1Rig damaged;  // letters on the second line: the limit is read, the rest stays 0
  damaged.Start("minPlayers= 32\r\ncheckTime=abc\r\nsound=1\r\nautostart=1\r\nsort=3\r\n", {}, false);
  EXPECT_EQ(damaged.Form().CurrentSettings(), (Settings{4, 10, 0, 0, 0}));
  EXPECT_TRUE(damaged.TimerOn(TimerId::Timer3));
}

// Quorvex.ini's master lines replace the built-in addresses, not the command line's; a line
// of the wrong form is reported, the built-in value is used, and Exit writes the line back.
TEST(Form1Startup, TheSettingsFileCanNameTheMasterServer) {
  const std::string chosen = "master=10.1.2.3:8080\r\nlatestVersionUrl=http://10.1.2.3:8080/v.txt\r\n";
  const std::string invalid = "master=10.1.2.3:99999\r\nlatestVersionUrl=https://10.1.2.3/v.txt\r\n";
  const std::string builtIn = "http://127.0.0.1:28780";
  for (const auto& [lines, optionsGiven, latestUrl, master, errors] :
       {std::tuple<std::string, bool, std::string, std::string, size_t>{chosen, false, "http://10.1.2.3:8080/v.txt",
                                                                        "http://10.1.2.3:8080", 0},
        {chosen, true, builtIn + "/latest_version.txt", builtIn, 0},
        {invalid, false, builtIn + "/latest_version.txt", builtIn, 2}}) {
    Form1Rig rig;
    rig.config.masterHostGiven = rig.config.latestVersionUrlGiven = optionsGiven;
    rig.PutFile("Quorvex.ini", SettingsFile(8, 20, 1, 0, 0) + lines);
    rig.Form().Form_Load();
    EXPECT_EQ(rig.Entries("http send "), (Log{latestUrl, master + "/rwr_server_list/get_server_count.php"})) << lines;
    EXPECT_EQ(rig.Entries("error Form_Load: Quorvex.ini line").size(), errors) << lines;
    rig.Form().menExit_Click();
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(8, 20, 1, 0, 0) + lines);
  }
}

// Another instance runs, or the lock cannot be taken (no telling whether one runs): a box,
// the end, and nothing read or written, even by the unload and Exit that may follow.
TEST(Form1SecondInstance, ShowsItsBoxEndsAndTouchesNothingEvenAtExit) {
  for (const bool lockFails : {false, true}) {
    for (const std::string& saved : {SettingsFile(16, 40, 1, 0, 3), std::string()}) {
      Form1Rig rig;
      rig.otherInstanceRuns = !lockFails;
      if (lockFails) rig.lockFailure = "the lock is a folder";
      rig.Start(saved, {Server(u"Busy", u"127.0.0.2", 10)}, false);
      rig.Form().Form_Unload();
      rig.Form().menExit_Click();
      rig.Form().TaskbarCreated();
      EXPECT_EQ(rig.log, (Log{"single-instance",
                              lockFails ? "msgbox Quorvex|Quorvex cannot make sure it runs only once: the lock is a folder"
                                        : "msgbox Quorvex|Already running....",
                              "end"}));
      EXPECT_EQ(rig.FileBytes("Quorvex.ini"), saved.empty() ? "(none)" : saved);
    }
  }
}

TEST(Form1Exit, StopsTheTimersRemovesTheIconAsItStandsThenSavesOnce) {
  Form1Rig rig;
  rig.Start(SettingsFile(16, 40, 5, 0, 3), {Server(u"Busy", u"127.0.0.2", 10)});
  const TrayIconData shown = rig.Form().Tray().Data();
  rig.log.clear();
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.log, (Log{"timer Timer1 off 39750", "timer Timer2 off 4000", "timer Timer3 off 250",
                          "tray delete " + ToUtf8(shown.szTip), "registry DeleteRegValue " + ToUtf8(kRunValue), "end"}));
  EXPECT_EQ(rig.trayData.back(), shown);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(16, 40, 5, 0, 3));  // an odd boolean is kept
  for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_FALSE(rig.TimerOn(timer));
  // The platform unloads the form once more when the last handler has returned.
  rig.PutFile("Quorvex.ini", "left alone");
  rig.Form().Form_Unload();
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "left alone");
  EXPECT_EQ(rig.log.size(), 6u);
}

TEST(Form1Exit, AnUnloadAtLogOffSavesOnceWithTheRunValueEvenWithoutAWritableFolder) {
  Form1Rig rig;
  rig.Start(SettingsFile(4, 20, 1, -1, 0), {});
  rig.Form().Form_Unload();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(4, 20, 1, 1, 0));  // on is stored as 1
  EXPECT_EQ(rig.values[kRunValue], (std::variant<int32_t, Text>(u"\"" + JoinPath(rig.Folder(), u"quorvex.exe") + u"\"")));
  rig.PutFile("Quorvex.ini", "left alone");
  const size_t entries = rig.log.size();
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "left alone");
  EXPECT_EQ(rig.Entries("registry Set").size(), 2u);  // SyncMode5 at start-up and the Run value, once
  EXPECT_EQ(rig.log.size(), entries + 5);          // the timers, the icon, the end

  Form1Rig unwritable;
  unwritable.config.programFolder = JoinPath(unwritable.Folder(), u"missing");
  unwritable.Start("", {});
  unwritable.Form().menExit_Click();
  EXPECT_EQ(unwritable.Entries("registry SetRegString").size(), 1u);
}

// Something at Quorvex.ini that start-up could not read may hold the user's values: Exit
// leaves it as it is and still sets the Run value.
TEST(Form1Exit, LeavesASettingsFileItCouldNotReadAndStillSetsTheRunValue) {
  const std::string tooLarge = SettingsFile(16, 40, 1, 0, 3) + std::string(64 * 1024, 'x');
  for (const bool asFolder : {true, false}) {
    Form1Rig rig;
    const std::filesystem::path ini = std::filesystem::path(ToUtf8(rig.Folder())) / "Quorvex.ini";
    if (asFolder) std::filesystem::create_directory(ini);
    rig.Start(asFolder ? "" : tooLarge, {}, false);
    rig.Form().menExit_Click();
    EXPECT_EQ(std::filesystem::is_directory(ini), asFolder);
    if (!asFolder) EXPECT_EQ(rig.FileBytes("Quorvex.ini"), tooLarge);
    EXPECT_EQ(rig.log[rig.log.size() - 2], "registry DeleteRegValue " + ToUtf8(kRunValue)) << asFolder;
  }
}

// A command chosen while start-up downloads the latest version leaves what it would leave
// right after start-up: the settings are already read and normalised (100 players, 30 s and
// sort 9 are stored; limit 64, 20 s and sort 5 are used).
TEST(Form1Startup, ACommandDuringTheVersionDownloadActsOnTheNormalisedSettings) {
  for (const auto& [command, index, saved] : {std::tuple<std::string, int, std::string>{"menExit", -1, SettingsFile(64, 20, 1, 0, 5)},
                                              {"men", 4, SettingsFile(32, 20, 1, 0, 5)}}) {
    Form1Rig rig;
    rig.onYield = [&](int n) {
      if (n == 1) rig.Form().Click(command, index, rig.Form().Snapshot());
    };
    rig.Start(SettingsFile(100, 30, 1, 0, 9), {Server(u"Busy", u"127.0.0.2", 10)}, false);
    rig.onYield = nullptr;
    ASSERT_EQ(rig.Entries("http send ").front(), ToUtf8(Form1Rig::kLatestVersionUrl));
    if (rig.Form().Exited()) {
      EXPECT_EQ(rig.Entries("http open").size(), 1u);  // no poll started
      for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_FALSE(rig.TimerOn(timer));
    } else {
      EXPECT_EQ(rig.Form().Menu().Item("menPlayer").caption, u"Player-Limit (32)");
      rig.Form().Timer3_Timer();
      rig.Form().menExit_Click();
    }
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), saved) << command;
  }
}

// Exit inside any yield of a poll (its waits for the count, the list and the pings included)
// or of the sort command's rebuild: no timer comes on again, no tray call follows the delete,
// nothing is pinged, played or requested, the menu stays as Exit left it, and neither the
// ticks already queued nor the unload change anything.
TEST(Form1Exit, InsideAnyYieldOfAPollOrOfTheSortCommandsRebuildEverythingStops) {
  // Limit 4 and busy up-to-date servers: a poll that went on would balloon, play, start
  // Timer2 and Timer1, ping, change the tooltip and the menu.
  const std::vector<ServerRecord> busy = {Server(u"Bravo", u"127.0.0.2", 10), Server(u"Alpha", u"127.0.0.1", 6)};
  size_t logAtExit = 0, pingsAtExit = 0;
  Log menuAtExit;
  const auto exit = [&](Form1Rig& rig) {
    rig.Form().Click("menExit", -1, rig.Form().Snapshot());
    logAtExit = rig.log.size();
    pingsAtExit = rig.pinged;
    menuAtExit = rig.MenuLines();
  };
  const auto check = [&](Form1Rig& rig) {
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer3, TimerId::Timer2}) rig.Form().TimerTick(timer);
    rig.Form().Form_Unload();
    EXPECT_EQ(rig.log.size(), logAtExit);
    EXPECT_EQ(rig.log.back(), "end");
    EXPECT_EQ(rig.pinged, pingsAtExit);
    EXPECT_EQ(rig.MenuLines(), menuAtExit);
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_FALSE(rig.TimerOn(timer));
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
