// Start-up and shutdown: the order of their effects, the settings normalised into the menu,
// a second instance, Exit and the unload, and Exit chosen inside any yield.
#include <gtest/gtest.h>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

TEST(Form1Startup, EffectsComeInTheWrittenOrderAndTheListWaitsForTimer3) {
  Form1Rig rig;
  rig.InstallSteam(u"C:\\Steam\\steam.exe");
  // What the tray shows while the version file downloads is what the user sees meanwhile.
  std::vector<TrayCall> trayWhileDownloading;
  rig.http.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kLatestVersionUrl) trayWhileDownloading = rig.trayShell.calls;
  };
  rig.Start("", {}, /*firstPoll=*/false);
  EXPECT_EQ(rig.log.front(), "single-instance");
  EXPECT_TRUE(AppearInOrder(
      rig.log, {"single-instance",
                "registry SetRegDword Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\|SyncMode5=3",
                "registry GetRegDword Software\\Valve\\Steam\\Apps\\270150|Installed",
                "registry GetRegString Software\\Valve\\Steam\\|SteamExe", "hide", "tray delete ",
                "tray add Current max players: N/A", "http open " + ToUtf8(Form1Rig::kLatestVersionUrl),
                "timer Timer1 off 19750", "http send " + ToUtf8(Form1Rig::kCountUrl),
                "http open " + ToUtf8(Form1Rig::ListUrl(0)), "timer Timer3 on 250"}));
  EXPECT_EQ(rig.log.back(), "timer Timer3 on 250");
  EXPECT_EQ(rig.http.sentUrls.back(), Form1Rig::kCountUrl);
  ASSERT_EQ(trayWhileDownloading.size(), 2u);
  EXPECT_EQ(trayWhileDownloading[0].data, TrayIconData{});  // nothing was shown yet
  EXPECT_EQ(trayWhileDownloading[1].data, (TrayIconData{.hWnd = FakeDesktop::kWindow, .uID = 1, .uFlags = 7,
                                                        .uCallbackMessage = 0x200, .hIcon = FakeDesktop::kNormalIcon,
                                                        .szTip = u"Current max players: N/A"}));
  EXPECT_EQ(rig.Form().SteamExePath(), u"C:\\Steam\\steam.exe");
  EXPECT_EQ(rig.Form().LatestVersion(), u"1.80");
  EXPECT_TRUE(rig.desktop.messageBoxes.empty());
}

TEST(Form1Startup, SteamExeIsReadOnlyWhenTheGameIsInstalled) {
  for (const auto& [installed, read] : {std::pair<std::optional<FakeRegistry::Value>, bool>{int32_t{7}, true},
                                        {int32_t{0}, false}, {std::nullopt, false}, {Text(u"1"), false}}) {
    Form1Rig rig;
    if (installed) rig.registry.values[{kGameKey, u"Installed"}] = *installed;
    rig.registry.values[{kSteamKey, u"SteamExe"}] = Text(u"C:\\Steam\\steam.exe");
    rig.Start("", {}, false);
    EXPECT_EQ(rig.Form().SteamExePath(), read ? u"C:\\Steam\\steam.exe" : u"") << read;
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "registry GetRegString Software\\Valve\\Steam\\|SteamExe"),
              read ? 1 : 0);
  }
}

TEST(Form1Startup, StoredSettingsAreNormalisedIntoTheMenu) {
  struct Case {
    int limit, checkTime, sound, autostart, sort;     // as stored
    int16_t index, rate, shownSort;                   // as used
    int caption;
  };
  for (const Case& c : {Case{2, 5, 1, 0, 9, 1, 1, 5, 4}, Case{4, 10, 0, 1, -1, 1, 1, 5, 4}, Case{7, 11, 5, -1, 6, 1, 2, 5, 4},
                        Case{8, 30, 0, 0, 0, 2, 2, 0, 8}, Case{16, 39, 1, 1, 3, 3, 2, 3, 16}, Case{31, 40, 1, 1, 5, 3, 4, 5, 16},
                        Case{32, 100, 1, 1, 2, 4, 4, 2, 32}, Case{64, -3, 1, 1, 1, 5, 1, 1, 64},
                        Case{100, 20, 1, 1, 0, 5, 2, 0, 64}, Case{-20, 20, 1, 1, 0, 1, 2, 0, 4}}) {
    Form1Rig rig;
    const Form1& form = rig.Start(SettingsFile(c.limit, c.checkTime, c.sound, c.autostart, c.sort), {}, false);
    const MenuTree& menu = form.Menu();
    SCOPED_TRACE(SettingsFile(c.limit, c.checkTime, c.sound, c.autostart, c.sort));
    EXPECT_EQ(form.CurrentSettings(), (Settings{c.index, c.rate * 10, static_cast<int16_t>(c.sound),
                                                static_cast<int16_t>(c.autostart), c.shownSort}));
    EXPECT_EQ(Checked(menu, "men"), std::vector<int>{c.index});
    EXPECT_EQ(menu.Item("menPlayer").caption, u"Player-Limit (" + FormatPlain(c.caption) + u")");
    EXPECT_EQ(Checked(menu, "menRate"), std::vector<int>{c.rate});
    EXPECT_EQ(Checked(menu, "menSort"), std::vector<int>{c.shownSort});
    EXPECT_EQ(menu.Item("menSound").checked, c.sound != 0);
    EXPECT_EQ(menu.Item("menAutostart").checked, c.autostart != 0);
    EXPECT_EQ(form.GetTimer(TimerId::Timer1).Interval, c.rate * 10000 - 250);
    EXPECT_EQ(rig.LastChange(TimerId::Timer1)->intervalMs, c.rate * 10000 - 250);
  }
}

TEST(Form1Startup, AMissingOrDamagedSettingsFileOrNoNetworkStillStartsThePoll) {
  Form1Rig fresh;  // the defaults are written by the read itself, before the version download
  bool fileThereAtVersionDownload = false;
  fresh.http.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kLatestVersionUrl) fileThereAtVersionDownload = fresh.FileExists("Quorvex.ini");
  };
  fresh.Form().Form_Load();  // and no reply is scripted: every send fails
  EXPECT_TRUE(fileThereAtVersionDownload);
  EXPECT_EQ(fresh.FileBytes("Quorvex.ini"), SettingsFile(4, 20, 1, 1, 0));
  EXPECT_EQ(fresh.Form().CurrentSettings(), (Settings{1, 20, 1, 1, 0}));
  EXPECT_EQ(fresh.Tip(), u"Current max players: N/A");
  EXPECT_EQ(fresh.http.opened.back(), u"GET " + Form1Rig::ListUrl(0));
  EXPECT_TRUE(fresh.desktop.messageBoxes.empty());  // nothing is reported
  fresh.Form().Timer3_Timer();
  EXPECT_TRUE(fresh.Form().GetTimer(TimerId::Timer1).Enabled);

  Form1Rig unwritable;  // a folder that takes no file: the defaults stay in memory
  unwritable.config.programFolder = JoinPath(unwritable.Folder(), u"missing");
  unwritable.Start("", {}, false);
  EXPECT_EQ(unwritable.Form().CurrentSettings(), (Settings{1, 20, 1, 1, 0}));
  EXPECT_EQ(unwritable.Form().LatestVersion(), u"1.80");

  Form1Rig damaged;  // letters on the second line: the limit is read, the rest stays 0
  damaged.Start("minPlayers= 32\r\ncheckTime=abc\r\nsound=1\r\nautostart=1\r\nsort=3\r\n", {}, false);
  EXPECT_EQ(damaged.Form().CurrentSettings(), (Settings{4, 10, 0, 0, 0}));
  EXPECT_TRUE(damaged.Form().GetTimer(TimerId::Timer3).Enabled);
}

// Quorvex.ini's master lines replace the built-in addresses, not the command line's; a line
// of the wrong form is reported, the built-in value is used, and Exit writes the line back.
TEST(Form1Startup, TheSettingsFileCanNameTheMasterServer) {
  const std::string chosen = "master=10.1.2.3:8080\r\nlatestVersionUrl=http://10.1.2.3:8080/v.txt\r\n";
  const std::string invalid = "master=10.1.2.3:99999\r\nlatestVersionUrl=https://10.1.2.3/v.txt\r\n";
  const Text builtIn = u"http://127.0.0.1:28780";
  struct Case {
    std::string lines;
    bool optionsGiven;
    Text latestUrl, countUrl;
    std::vector<std::string> errors;
  };
  for (const Case& c : {Case{chosen, false, u"http://10.1.2.3:8080/v.txt", u"http://10.1.2.3:8080", {}},
                        Case{chosen, true, builtIn + u"/latest_version.txt", builtIn, {}},
                        Case{invalid, false, builtIn + u"/latest_version.txt", builtIn,
                             {"Form_Load: Quorvex.ini line \"master=10.1.2.3:99999\" is not a host with an optional "
                              "port; using 127.0.0.1:28780",
                              "Form_Load: Quorvex.ini line \"latestVersionUrl=https://10.1.2.3/v.txt\" is not an "
                              "http:// URL; using http://127.0.0.1:28780/latest_version.txt"}}}) {
    Form1Rig rig;
    rig.config.masterHostGiven = rig.config.latestVersionUrlGiven = c.optionsGiven;
    rig.PutFile("Quorvex.ini", SettingsFile(8, 20, 1, 0, 0) + c.lines);
    rig.Form().Form_Load();
    ASSERT_GE(rig.http.sentUrls.size(), 2u);
    EXPECT_EQ(rig.http.sentUrls[0], c.latestUrl) << c.lines;
    EXPECT_EQ(rig.http.sentUrls[1], c.countUrl + u"/rwr_server_list/get_server_count.php") << c.lines;
    EXPECT_EQ(rig.desktop.errors, c.errors) << c.lines;
    rig.Form().menExit_Click();
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(8, 20, 1, 0, 0) + c.lines);
  }
}

TEST(Form1SecondInstance, ShowsItsBoxEndsAndTouchesNothingEvenAtExit) {
  Form1Rig rig;
  rig.desktop.otherInstanceRuns = true;
  const std::string saved = SettingsFile(16, 40, 1, 0, 3);
  rig.registry.values[{kRunKey, u"Quorvex"}] = Text(u"\"elsewhere\"");
  rig.Start(saved, {Server(u"Busy", u"127.0.0.2", 10)}, false);
  EXPECT_EQ(rig.log, (Log{"single-instance", "msgbox Quorvex|Already running....", "end"}));
  rig.Form().Form_Unload();  // whatever the platform does next
  rig.Form().menExit_Click();
  rig.Form().TaskbarCreated();
  EXPECT_EQ(rig.log.size(), 3u);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), saved);
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);

  Form1Rig unsure;  // a lock that cannot be taken: no telling whether another instance runs
  unsure.desktop.lockFailure = "the lock is a folder";
  unsure.Start(saved, {}, false);
  unsure.Form().menExit_Click();
  EXPECT_EQ(unsure.log, (Log{"single-instance", "msgbox Quorvex|Quorvex cannot make sure it runs only once: the lock is a folder",
                             "end"}));
  EXPECT_EQ(unsure.FileBytes("Quorvex.ini"), saved);

  Form1Rig none;  // and with no settings file, none is made
  none.desktop.otherInstanceRuns = true;
  none.Form().Form_Load();
  none.Form().menExit_Click();
  EXPECT_FALSE(none.FileExists("Quorvex.ini"));
}

TEST(Form1Exit, StopsTheTimersRemovesTheIconAsItStandsThenSavesOnce) {
  Form1Rig rig;
  rig.registry.values[{kRunKey, u"Quorvex"}] = Text(u"\"old\"");
  rig.Start(SettingsFile(16, 40, 5, 0, 3), {Server(u"Busy", u"127.0.0.2", 10)});
  const TrayIconData shown = rig.Form().Tray().Data();
  rig.log.clear();
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.log, (Log{"timer Timer1 off 39750", "timer Timer2 off 4000", "timer Timer3 off 250",
                          "tray delete " + ToUtf8(shown.szTip), "registry DeleteRegValue " + ToUtf8(kRunKey) + "|Quorvex",
                          "end"}));
  EXPECT_EQ(rig.trayShell.calls.back().data, shown);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(16, 40, 5, 0, 3));  // an odd boolean is kept
  for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_FALSE(rig.Form().GetTimer(timer).Enabled);
  // The platform unloads the form once more when the last handler has returned.
  rig.PutFile("Quorvex.ini", "left alone");
  rig.Form().Form_Unload();
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "left alone");
  EXPECT_EQ(rig.log.back(), "end");
  EXPECT_EQ(rig.desktop.endProgramCalls, 1);
}

TEST(Form1Exit, AnUnloadAtLogOffSavesOnceWithTheRunValueEvenWithoutASettingsFile) {
  Form1Rig rig;
  rig.Start(SettingsFile(4, 20, 1, -1, 0), {});
  rig.Form().Form_Unload();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), SettingsFile(4, 20, 1, 1, 0));  // on is stored as 1
  EXPECT_EQ(rig.registry.Find(kRunKey, u"Quorvex"), FakeRegistry::Value(u"\"" + JoinPath(rig.Folder(), u"quorvex.exe") + u"\""));
  rig.PutFile("Quorvex.ini", "left alone");
  const int writes = rig.registry.writes;
  rig.Form().menExit_Click();
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "left alone");
  EXPECT_EQ(rig.registry.writes, writes);

  Form1Rig unwritable;
  unwritable.config.programFolder = JoinPath(unwritable.Folder(), u"missing");
  unwritable.Start("", {});
  unwritable.Form().menExit_Click();
  EXPECT_TRUE(unwritable.registry.Find(kRunKey, u"Quorvex"));
}

// Something at Quorvex.ini that start-up could not read may hold the user's values: Exit
// leaves it as it is and still sets the Run value.
TEST(Form1Exit, LeavesASettingsFileItCouldNotReadAndStillSetsTheRunValue) {
  const std::string tooLarge = SettingsFile(16, 40, 1, 0, 3) + std::string(64 * 1024, 'x');
  for (const bool asFolder : {true, false}) {
    SCOPED_TRACE(asFolder ? "a folder" : "a file over 64 KiB");
    Form1Rig rig;
    const std::filesystem::path ini = std::filesystem::path(ToUtf8(rig.Folder())) / "Quorvex.ini";
    if (asFolder) std::filesystem::create_directory(ini);
    rig.Start(asFolder ? "" : tooLarge, {}, false);
    rig.Form().menExit_Click();
    EXPECT_EQ(std::filesystem::is_directory(ini), asFolder);
    if (!asFolder) {
      EXPECT_EQ(rig.FileBytes("Quorvex.ini"), tooLarge);
    }
    EXPECT_EQ(rig.log[rig.log.size() - 2], "registry DeleteRegValue " + ToUtf8(kRunKey) + "|Quorvex");
  }
}

// A command chosen while start-up downloads the latest version leaves what it would leave
// right after start-up: the settings are already read and normalised.
TEST(Form1Startup, ACommandDuringTheVersionDownloadActsOnTheNormalisedSettings) {
  // Stored: 100 players, 30 s, sort 9; normalised: limit 64 (index 5), 20 s, sort 5.
  for (const auto& [command, index, saved] : {std::tuple<std::string, int, std::string>{"menExit", -1, SettingsFile(64, 20, 1, 0, 5)},
                                              {"men", 4, SettingsFile(32, 20, 1, 0, 5)}}) {
    SCOPED_TRACE(command);
    Form1Rig rig;
    rig.desktop.onYield = [&](int n) {
      if (n == 1) rig.Form().Click(command, index, rig.Form().Snapshot());
    };
    rig.Start(SettingsFile(100, 30, 1, 0, 9), {Server(u"Busy", u"127.0.0.2", 10)}, false);
    rig.desktop.onYield = nullptr;
    ASSERT_EQ(rig.http.sentUrls.front(), Form1Rig::kLatestVersionUrl);
    if (rig.Form().Exited()) {
      EXPECT_EQ(rig.http.opened.size(), 1u);  // no poll started
      for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_FALSE(rig.Form().GetTimer(timer).Enabled);
    } else {
      EXPECT_EQ(Checked(rig.Form().Menu(), "men"), std::vector<int>{4});
      EXPECT_EQ(rig.Form().Menu().Item("menPlayer").caption, u"Player-Limit (32)");
      rig.Form().Timer3_Timer();
      rig.Form().menExit_Click();
    }
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), saved);
  }
}

// Exit inside yield number `target` of `handler`; afterwards no timer comes on again, no tray
// call follows the delete, nothing is pinged, played or requested, the menu stays as Exit
// left it, and neither the ticks already queued nor the unload change anything.
void ExpectExitAtEveryYieldStopsEverything(const std::function<void(Form1Rig&)>& start,
                                           const std::function<void(Form1&)>& handler, int atLeast) {
  int target = 1;
  for (;; ++target) {
    Form1Rig rig;
    start(rig);
    const int base = rig.desktop.yields;
    bool fired = false;
    size_t logAtExit = 0, pingsAtExit = 0;
    Log menuAtExit;
    rig.desktop.onYield = [&](int n) {
      if (n - base != target) return;
      rig.Form().Click("menExit", -1, rig.Form().Snapshot());
      fired = true;
      logAtExit = rig.log.size();
      pingsAtExit = rig.pinger.pinged.size();
      menuAtExit = MenuLines(rig.Form().Menu());
    };
    handler(rig.Form());
    if (!fired) break;
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer3, TimerId::Timer2}) rig.Form().TimerTick(timer);
    rig.Form().Form_Unload();
    SCOPED_TRACE("Exit at yield " + std::to_string(target));
    EXPECT_EQ(rig.log.size(), logAtExit);
    EXPECT_EQ(rig.log.back(), "end");
    EXPECT_EQ(rig.pinger.pinged.size(), pingsAtExit);
    EXPECT_EQ(MenuLines(rig.Form().Menu()), menuAtExit);
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_FALSE(rig.Form().GetTimer(timer).Enabled);
    if (::testing::Test::HasFailure()) break;  // one broken yield tells enough
  }
  EXPECT_GT(target, atLeast);
}

TEST(Form1Exit, InsideAnyYieldOfAPollOrOfTheSortCommandsRebuildEverythingStops) {
  // Limit 4 and busy up-to-date servers: a poll that went on would balloon, play, start
  // Timer2 and Timer1, ping, change the tooltip and the menu.
  const std::vector<ServerRecord> busy = {Server(u"Bravo", u"127.0.0.2", 10), Server(u"Alpha", u"127.0.0.1", 6)};
  // The yields include the waits for the count, the list and the pings.
  ExpectExitAtEveryYieldStopsEverything([&](Form1Rig& rig) { rig.Start(SettingsFile(4, 20, 1, 1, 0), busy, false); },
                                        [](Form1& form) {
                                          form.TimerTick(TimerId::Timer1);
                                          form.TimerTick(TimerId::Timer3);
                                        },
                                        2 + 12 * 2 + 2 + 2 + 1 + 2 * 16);
  ExpectExitAtEveryYieldStopsEverything([&](Form1Rig& rig) { rig.Start("", busy); },
                                        [](Form1& form) { form.menSort_Click(3); }, 2 * 16);
}

}  // namespace
}  // namespace quorvex::testing
