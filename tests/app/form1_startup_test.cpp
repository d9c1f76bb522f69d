// Start-up: the order of its effects, the Steam probe, the settings normalised into the
// menu, and a start without network.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

const std::string kCountOpen = "http open GET http://127.0.0.1:28780/rwr_server_list/get_server_count.php";

TEST(Form1Startup, EffectsComeInTheWrittenOrder) {
  Form1Rig rig;
  rig.InstallSteam(u"C:\\Steam\\steam.exe");
  rig.ServeLatestVersion(u"1.80");
  rig.ServeServers({});
  rig.Load();

  const std::vector<std::string>& log = rig.log.entries;
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "single-instance");
  EXPECT_TRUE(AppearInOrder(
      log, {
               "single-instance",
               "registry SetRegDword Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\|SyncMode5=3",
               "registry GetRegDword Software\\Valve\\Steam\\Apps\\270150|Installed",
               "registry GetRegString Software\\Valve\\Steam\\|SteamExe",
               "hide",
               "tray delete ",
               "tray add Current max players: N/A",
               "http open GET http://127.0.0.1:28780/latest_version.txt",
               "http send http://127.0.0.1:28780/latest_version.txt",
               "timer Timer1 off 19750",
               kCountOpen,
               "http send http://127.0.0.1:28780/rwr_server_list/get_server_count.php",
               "http open GET http://127.0.0.1:28780/rwr_server_list/get_server_list.php?start=0&size=0",
               "timer Timer3 on 250",
           }));
  // The list request waits for Timer3: the last thing start-up does is hand over to it.
  EXPECT_EQ(log.back(), "timer Timer3 on 250");
  EXPECT_EQ(rig.http.sentUrls.back(), Form1Rig::kCountUrl);

  const auto syncMode = rig.registry.Find(kInternetSettingsKey, u"SyncMode5");
  ASSERT_TRUE(syncMode.has_value());
  EXPECT_EQ(std::get<int32_t>(*syncMode), 3);
  EXPECT_EQ(rig.Form().SteamExePath(), u"C:\\Steam\\steam.exe");
  EXPECT_EQ(rig.Form().LatestVersion(), u"1.80");
  EXPECT_FALSE(rig.Form().LimitReached());
  EXPECT_FALSE(rig.Form().GetTimer(TimerId::Timer1).Enabled);
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
  EXPECT_EQ(rig.desktop.endProgramCalls, 0);
  EXPECT_TRUE(rig.desktop.messageBoxes.empty());
}

TEST(Form1Startup, TheIconIsAddedWithTheNormalIconBeforeTheVersionDownload) {
  Form1Rig rig;
  // What the tray shows while the version file downloads is what the user sees meanwhile.
  std::vector<TrayCall> trayWhileDownloading;
  rig.http.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kLatestVersionUrl) trayWhileDownloading = rig.trayShell.calls;
  };
  rig.ServeLatestVersion(u"1.80");
  rig.Load();
  ASSERT_EQ(trayWhileDownloading.size(), 2u);
  EXPECT_EQ(trayWhileDownloading.back().data.szTip, u"Current max players: N/A");
  ASSERT_GE(rig.trayShell.calls.size(), 2u);
  const TrayCall& remove = rig.trayShell.calls[0];
  const TrayCall& add = rig.trayShell.calls[1];
  EXPECT_EQ(remove.message, kNimDelete);
  EXPECT_EQ(remove.data, TrayIconData{});  // nothing was shown yet
  EXPECT_EQ(add.message, kNimAdd);
  EXPECT_EQ(add.data.szTip, u"Current max players: N/A");
  EXPECT_EQ(add.data.hIcon, FakeDesktop::kNormalIcon);
  EXPECT_EQ(add.data.hWnd, FakeDesktop::kWindow);
  EXPECT_EQ(add.data.uID, 1u);
  EXPECT_EQ(add.data.uFlags, 7u);
  EXPECT_EQ(add.data.uCallbackMessage, 0x200u);
  EXPECT_TRUE(AppearInOrder(rig.log.entries, {"tray add Current max players: N/A",
                                              "http open GET http://127.0.0.1:28780/latest_version.txt"}));
}

TEST(Form1Startup, SteamExeIsReadOnlyWhenTheGameIsInstalled) {
  const std::string steamExeRead = "GetRegString Software\\Valve\\Steam\\|SteamExe";
  struct Case {
    const char* what;
    std::optional<FakeRegistry::Value> installed;
    bool steamExeRead;
  };
  for (const Case& c : {Case{"installed 1", int32_t{1}, true}, Case{"installed 7", int32_t{7}, true},
                        Case{"installed 0", int32_t{0}, false}, Case{"no Installed value", std::nullopt, false},
                        Case{"Installed as text", Text(u"1"), false}}) {
    Form1Rig rig;
    if (c.installed) rig.registry.values[{kGameKey, u"Installed"}] = *c.installed;
    rig.registry.values[{kSteamKey, u"SteamExe"}] = Text(u"C:\\Steam\\steam.exe");
    rig.Load();
    const auto& calls = rig.registry.calls;
    const bool read = std::find(calls.begin(), calls.end(), steamExeRead) != calls.end();
    EXPECT_EQ(read, c.steamExeRead) << c.what;
    EXPECT_EQ(rig.Form().SteamExePath(), c.steamExeRead ? u"C:\\Steam\\steam.exe" : u"") << c.what;
  }
}

TEST(Form1Startup, TheUpdateRateBecomesTenTwentyOrFortySeconds) {
  struct Case {
    int stored;
    int32_t checkTime;
    const char* checkedRate;
  };
  for (const Case& c : {Case{5, 10, "menRate[1]"}, Case{10, 10, "menRate[1]"}, Case{11, 20, "menRate[2]"},
                        Case{30, 20, "menRate[2]"}, Case{39, 20, "menRate[2]"}, Case{40, 40, "menRate[4]"},
                        Case{100, 40, "menRate[4]"}, Case{-3, 10, "menRate[1]"}}) {
    Form1Rig rig;
    rig.PutSettings(8, c.stored, 1, 1, 0);
    rig.Load();
    EXPECT_EQ(rig.Form().CurrentSettings().checkTime, c.checkTime) << c.stored;
    EXPECT_EQ(rig.Form().GetTimer(TimerId::Timer1).Interval, c.checkTime * 1000 - 250) << c.stored;
    const auto timer1 = rig.desktop.LastChange(TimerId::Timer1);
    ASSERT_TRUE(timer1.has_value());
    EXPECT_EQ(timer1->intervalMs, c.checkTime * 1000 - 250) << c.stored;
    EXPECT_EQ(CheckedItems(rig.Form().Menu(), "menRate"), std::vector<std::string>{c.checkedRate}) << c.stored;
  }
}

TEST(Form1Startup, ASortColumnOutsideZeroToFiveBecomesPing) {
  struct Case {
    int stored;
    int16_t sort;
  };
  for (const Case& c : {Case{9, 5}, Case{-1, 5}, Case{6, 5}, Case{0, 0}, Case{3, 3}, Case{5, 5}}) {
    Form1Rig rig;
    rig.PutSettings(8, 20, 1, 1, c.stored);
    rig.Load();
    EXPECT_EQ(rig.Form().CurrentSettings().sort, c.sort) << c.stored;
    EXPECT_EQ(CheckedItems(rig.Form().Menu(), "menSort"),
              std::vector<std::string>{"menSort[" + std::to_string(c.sort) + "]"})
        << c.stored;
  }
}

TEST(Form1Startup, TheStoredPlayerCountBecomesTheLimitIndex) {
  struct Case {
    int stored;
    int16_t index;
    const char16_t* caption;
  };
  for (const Case& c : {Case{2, 1, u"Player-Limit (4)"}, Case{4, 1, u"Player-Limit (4)"},
                        Case{7, 1, u"Player-Limit (4)"}, Case{8, 2, u"Player-Limit (8)"},
                        Case{10, 2, u"Player-Limit (8)"}, Case{16, 3, u"Player-Limit (16)"},
                        Case{31, 3, u"Player-Limit (16)"}, Case{32, 4, u"Player-Limit (32)"},
                        Case{64, 5, u"Player-Limit (64)"}, Case{100, 5, u"Player-Limit (64)"},
                        Case{-20, 1, u"Player-Limit (4)"}}) {
    Form1Rig rig;
    rig.PutSettings(c.stored, 20, 1, 1, 0);
    rig.Load();
    EXPECT_EQ(rig.Form().CurrentSettings().minPlayers, c.index) << c.stored;
    EXPECT_EQ(rig.Form().Menu().Item("menPlayer").caption, c.caption) << c.stored;
    EXPECT_EQ(CheckedItems(rig.Form().Menu(), "men"), std::vector<std::string>{"men[" + std::to_string(c.index) + "]"})
        << c.stored;
  }
}

TEST(Form1Startup, SoundAndAutostartAreCheckedWhenNonZero) {
  struct Case {
    int sound, autostart;
  };
  for (const Case& c : {Case{1, 0}, Case{0, 1}, Case{5, -1}, Case{0, 0}}) {
    Form1Rig rig;
    rig.PutSettings(8, 20, c.sound, c.autostart, 0);
    rig.Load();
    EXPECT_EQ(rig.Form().Menu().Item("menSound").checked, c.sound != 0) << c.sound;
    EXPECT_EQ(rig.Form().Menu().Item("menAutostart").checked, c.autostart != 0) << c.autostart;
    EXPECT_EQ(rig.Form().CurrentSettings().sound, c.sound);
    EXPECT_EQ(rig.Form().CurrentSettings().autostart, c.autostart);
  }
}

TEST(Form1Startup, WithoutASettingsFileTheDefaultsAreUsedAndWrittenAtOnce) {
  Form1Rig rig;
  // The defaults are written by the read itself, before the version download that follows.
  bool fileThereAtVersionDownload = false;
  rig.http.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kLatestVersionUrl) fileThereAtVersionDownload = rig.FileExists("Quorvex.ini");
  };
  rig.Load();
  EXPECT_TRUE(fileThereAtVersionDownload);
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");

  const Settings& settings = rig.Form().CurrentSettings();
  EXPECT_EQ(settings.minPlayers, 1);
  EXPECT_EQ(settings.checkTime, 20);
  EXPECT_NE(settings.sound, 0);
  EXPECT_NE(settings.autostart, 0);
  EXPECT_EQ(settings.sort, 0);
  const MenuTree& menu = rig.Form().Menu();
  EXPECT_EQ(CheckedItems(menu, "men"), std::vector<std::string>{"men[1]"});
  EXPECT_EQ(menu.Item("menPlayer").caption, u"Player-Limit (4)");
  EXPECT_TRUE(menu.Item("menSound").checked);
  EXPECT_TRUE(menu.Item("menAutostart").checked);
  EXPECT_EQ(CheckedItems(menu, "menRate"), std::vector<std::string>{"menRate[2]"});
  EXPECT_EQ(CheckedItems(menu, "menSort"), std::vector<std::string>{"menSort[0]"});
  EXPECT_EQ(rig.Form().GetTimer(TimerId::Timer1).Interval, 19750);
}

TEST(Form1Startup, AFolderThatTakesNoFileStartsWithTheDefaultsInMemory) {
  Form1Rig rig;
  rig.config.programFolder = JoinPath(rig.Folder(), u"missing");  // no file can be created there
  rig.ServeLatestVersion(u"1.80");
  rig.Load();
  const Settings& settings = rig.Form().CurrentSettings();
  EXPECT_EQ(settings.checkTime, 20);
  EXPECT_NE(settings.sound, 0);
  EXPECT_NE(settings.autostart, 0);
  EXPECT_EQ(settings.sort, 0);
  EXPECT_EQ(settings.minPlayers, 1);
  EXPECT_EQ(rig.Form().LatestVersion(), u"1.80");  // start-up went on past the failed write
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(ToUtf8(rig.config.programFolder))));
}

TEST(Form1Startup, ADamagedSettingsFileKeepsWhatWasReadAndStartsAnyway) {
  Form1Rig rig;
  // Letters on the second line: the limit is read, everything after it stays 0.
  rig.PutSettingsFile("minPlayers= 32\r\ncheckTime=abc\r\nsound=1\r\nautostart=1\r\nsort=3\r\n");
  rig.Load();
  const Settings& settings = rig.Form().CurrentSettings();
  EXPECT_EQ(settings.minPlayers, 4);
  EXPECT_EQ(settings.checkTime, 10);
  EXPECT_EQ(settings.sound, 0);
  EXPECT_EQ(settings.autostart, 0);
  EXPECT_EQ(settings.sort, 0);
  EXPECT_FALSE(rig.Form().Menu().Item("menSound").checked);
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);  // the first poll still starts
}

TEST(Form1Startup, WithoutNetworkTheIconShowsAndThePollStillStarts) {
  Form1Rig rig;  // no reply is scripted: every send fails
  rig.Load();
  EXPECT_EQ(rig.Form().Tray().Data().szTip, u"Current max players: N/A");
  EXPECT_EQ(rig.trayShell.calls.back().message, kNimAdd);
  EXPECT_EQ(rig.Form().LatestVersion(), u"");
  EXPECT_EQ(rig.Form().ServerCount(), 0);
  EXPECT_EQ(rig.http.opened.back(), u"GET " + Form1Rig::ListUrl(0));
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
  EXPECT_EQ(rig.Form().GetTimer(TimerId::Timer3).Interval, 250);
  EXPECT_TRUE(rig.desktop.messageBoxes.empty());  // nothing is reported

  // Polling goes on on schedule.
  rig.Form().Timer3_Timer();
  const auto timer1 = rig.desktop.LastChange(TimerId::Timer1);
  ASSERT_TRUE(timer1.has_value());
  EXPECT_TRUE(timer1->enabled);
  EXPECT_EQ(timer1->intervalMs, 19750);
}

TEST(Form1Startup, TheLatestVersionLosesBetaAndLineFeeds) {
  struct Case {
    const char16_t* reply;
    const char16_t* version;
  };
  for (const Case& c : {Case{u"beta 1.80\n", u"1.80"}, Case{u"1.\n80", u"1.80"}, Case{u"Beta 1.80", u"Beta 1.80"},
                        Case{u"beta beta 1.81", u"1.81"},
                        // A file saved with CR LF: the carriage return left at the end goes too.
                        Case{u"beta 1.80\r\n", u"1.80"}, Case{u"1.80\r2", u"1.80\r2"}}) {
    Form1Rig rig;
    rig.ServeLatestVersion(c.reply);
    rig.Load();
    EXPECT_EQ(rig.Form().LatestVersion(), c.version) << ToUtf8(c.reply);
  }
}

TEST(Form1Startup, AnErrorPageIsNoVersion) {
  Form1Rig rig;
  rig.http.replies[Form1Rig::kLatestVersionUrl] = {u"<html>Not Found</html>", 404};
  rig.Load();
  EXPECT_EQ(rig.Form().LatestVersion(), u"");
  EXPECT_TRUE(rig.Form().GetTimer(TimerId::Timer3).Enabled);
}

// Quorvex.ini's master lines replace the built-in addresses, not the command line's; a line
// of the wrong form is reported, the built-in value is used, and Exit writes the line back.
TEST(Form1Startup, TheSettingsFileCanNameTheMasterServer) {
  struct Case {
    const char* what;
    std::string lines;
    bool optionsGiven;
    std::string countUrl, latestUrl;
    std::vector<std::string> errors;
  };
  const std::string builtIn = "http://127.0.0.1:28780", chosen = "http://10.1.2.3:8080";
  const Case cases[] = {
      {"both lines", "master=10.1.2.3:8080\r\nlatestVersionUrl=http://10.1.2.3:8080/v.txt\r\n", false,
       chosen + "/rwr_server_list/get_server_count.php", chosen + "/v.txt", {}},
      {"options win", "master=10.1.2.3:8080\r\nlatestVersionUrl=http://10.1.2.3:8080/v.txt\r\n", true,
       builtIn + "/rwr_server_list/get_server_count.php", builtIn + "/latest_version.txt", {}},
      {"invalid lines", "master=10.1.2.3:99999\r\nlatestVersionUrl=https://10.1.2.3/v.txt\r\n", false,
       builtIn + "/rwr_server_list/get_server_count.php", builtIn + "/latest_version.txt",
       {"Form_Load: Quorvex.ini line \"master=10.1.2.3:99999\" is not a host with an optional port; using "
        "127.0.0.1:28780",
        "Form_Load: Quorvex.ini line \"latestVersionUrl=https://10.1.2.3/v.txt\" is not an http:// URL; using "
        "http://127.0.0.1:28780/latest_version.txt"}},
  };
  const std::string fiveLines = "minPlayers= 8\r\ncheckTime= 20\r\nsound=1\r\nautostart=0\r\nsort=0\r\n";
  for (const Case& c : cases) {
    Form1Rig rig;
    rig.config.masterHostGiven = rig.config.latestVersionUrlGiven = c.optionsGiven;
    rig.PutSettingsFile(fiveLines + c.lines);
    rig.Load();
    ASSERT_GE(rig.http.sentUrls.size(), 2u) << c.what;
    EXPECT_EQ(ToUtf8(rig.http.sentUrls[0]), c.latestUrl) << c.what;
    EXPECT_EQ(ToUtf8(rig.http.sentUrls[1]), c.countUrl) << c.what;
    EXPECT_EQ(rig.desktop.errors, c.errors) << c.what;
    rig.Form().menExit_Click();
    EXPECT_EQ(rig.FileBytes("Quorvex.ini"), fiveLines + c.lines) << c.what;
  }
}

}  // namespace
}  // namespace quorvex::testing
