// The main form: owns all program state and has one method per event handler.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "app/desktop.h"
#include "app/features.h"
#include "app/form_timers.h"
#include "common/text.h"
#include "history/history_chart.h"
#include "join/launcher.h"
#include "menu/menu_model.h"
#include "menu/popup_snapshot.h"
#include "menu/rebuild_gate.h"
#include "menu/server_menu.h"
#include "notify/command_runner.h"
#include "ping/ping.h"
#include "servers/http_request.h"
#include "servers/server_table.h"
#include "settings/ini_file.h"
#include "settings/registry.h"
#include "tray/trayicon.h"

namespace quorvex {

// The tray callback's mouse message for a right-button press on the icon (WM_RBUTTONDOWN).
inline constexpr uint32_t kRightButtonDown = 0x204;
// The tray callback's message for a click on the icon's balloon (NIN_BALLOONUSERCLICK); the
// balloon's other news (shown 0x402, hidden 0x403, timed out 0x404) does nothing.
inline constexpr uint32_t kBalloonUserClick = 0x405;

struct Form1Config {
  Text masterHost;        // host[:port] of the master server list
  Text latestVersionUrl;  // full URL of latest_version.txt
  Text programFolder;     // the executable's folder: Quorvex.ini, start.bat
  Text exeName;           // the executable's file name without extension
  // Whether masterHost and latestVersionUrl were given on the command line. Otherwise they
  // are the build's defaults, which valid master= and latestVersionUrl= lines in
  // Quorvex.ini replace at start-up.
  bool masterHostGiven = false;
  bool latestVersionUrlGiven = false;
  // What joins the lines of the watch balloon: CR LF for the Windows shell, LF on Linux.
  Text lineBreak = u"\r\n";
};

struct Form1Services {
  Desktop& desktop;
  TrayShell& trayShell;
  Registry& registry;
  HttpRequest& httpRequest;
  Pinger& pinger;
  Launcher& launcher;
  // Runs the player's notifyCommand for each balloon. Made before the form and destroyed
  // after it, which ends a command still running: Exit never waits for one.
  CommandRunner& notifier;
  // Opens the folder a history= line keeps the player history in; without it none is kept.
  HistoryFolderMaker makeHistoryFolder = nullptr;
  // Makes the features the settings switch on: MakeFeatures, or a test's own.
  std::function<FeatureList(const Settings&, const FeatureServices&)> makeFeatures = MakeFeatures;
};

// A handler that an Exit interrupted in one of its yields throws HandlerAborted: front ends
// run every handler through RunHandler (common/steps.h).
// The features past the five lines of Quorvex.ini (app/feature_list.h) are called at their
// hooks from the handlers below; Form1 knows none of them by name.
class Form1 : private FeatureHost {
 public:
  Form1(Form1Services services, Form1Config config);

  // Start-up and shutdown.
  void Form_Load();
  void Form_Unload();
  void menExit_Click();
  // The notification area was re-created (the shell restarted): show the icon again.
  void TaskbarCreated();

  // The poll cycle.
  void Timer1_Timer();
  void Timer3_Timer();
  void Timer2_Timer();
  void TimerTick(TimerId timer);

  // The tray callback: the mouse message that happened over the icon, or the balloon's news.
  // A click on the balloon joins the server it remembers (BalloonClick).
  void Form_MouseMove(uint32_t mouseMessage);
  // A click on a balloon that remembered `server` when it was shown: joins it as a click on
  // its menu line would; nothing when it remembered none.
  void BalloonClick(const std::optional<ServerRecord>& server);

  // Menu commands.
  void menAbout_Click();
  void menAutostart_Click();
  void menSound_Click();
  void menRate_Click(int16_t Index);
  void menSort_Click(int16_t Index);
  void men_Click(int16_t Index);
  void menServername_Click(int16_t Index, const ServerRecord& shown);
  // Routes a click on an item of `snapshot` (the popup it was made in) to its handler.
  void Click(std::string_view name, int index, const PopupSnapshot& snapshot);

  PopupSnapshot Snapshot() const;

  // Whether a history= line keeps the player history (and the popup has "History…").
  bool KeepsHistory() const { return features_.History() != nullptr; }
  // The picture of the history over `range`, up to the wall clock's now: what the history
  // window draws. Throws std::logic_error when no history is kept.
  HistoryChart ChartHistory(ChartRange range);

  // State, read by the front ends and the tests.
  const MenuTree& Menu() const { return menu_; }
  const Settings& CurrentSettings() const { return settings_; }
  const ServerTable& Servers() const { return servers_; }
  const TrayIcon& Tray() const { return trayIcon_; }
  const Timer& GetTimer(TimerId timer) const { return timers_.Of(timer); }
  int16_t ServerCount() const { return serverCount_; }
  int16_t TotalPlayers() const { return totalPlayers_; }
  int16_t MaxPlayers() const { return maxPlayers_; }
  bool LimitReached() const { return limitReached_ != 0; }
  const Text& LatestVersion() const { return latestVersion_; }
  const Text& SteamExePath() const { return steamExePath_; }
  // The server of the balloon shown last: the player-limit balloon's busiest up-to-date
  // server, a news balloon's first line's; none before the first balloon or for a balloon
  // about no single server. A front end that can click older balloons keeps it for each.
  const std::optional<ServerRecord>& BalloonServer() const { return balloonServer_; }
  bool Exited() const { return exited_; }
  // Counts the handlers that wrote the menu (even when nothing differed), so a front end
  // can tell whether the handler it just ran changed the menu.
  uint64_t MenuRevision() const { return menuRevision_; }
  // Whether a servers-menu rebuild has begun and not ended (it is in one of its yields):
  // the menu then mixes the new lines with the old.
  bool MenuRebuilding() const { return rebuildGate_.IsRunning(); }

 private:
  void ShowSettingsInMenu();
  void UseAddressesFromSettings();
  void AddUpPlayers();
  void NormaliseAndPing();
  bool DecideAlert();
  void PlayAlertSound();
  // The news balloon of the first feature that has news; none while the player-limit
  // balloon of this poll is up.
  void TellNews(bool limitBalloonShown);
  // Hands a balloon just shown (its title, its text as shown, and the server its click joins)
  // to the notifyCommand line, if Quorvex.ini has one.
  void NotifyBalloon(NotifyEvent event, const Text& title, const Text& text, const std::optional<ServerRecord>& server);
  void ShowSummary(int blanksAfterMaxPlayers);
  // The tooltip's figures of the poll.
  PollFigures Figures() const;
  // The normal or the alert icon, as the features draw on it.
  NativeHandle Icon(bool alert);
  void RebuildMenu();
  // Starts the game on `server`, or tells the player why not.
  void Join(const ServerRecord& server) override;
  int64_t NowMs() override { return services_.desktop.NowMs(); }
  int64_t WallClockMs() override { return services_.desktop.WallClockMs(); }

  Form1Services services_;
  Form1Config config_;
  MenuTree menu_;
  TrayIcon trayIcon_;
  Settings settings_;
  ServerTable servers_;
  ShownServers shownServers_{};
  int16_t serverCount_ = 0;
  int16_t totalPlayers_ = 0;
  int16_t maxPlayers_ = 0;
  int16_t limitReached_ = 0;
  std::optional<ServerRecord> busiestServer_;  // of this poll: the one maxPlayers_ counts
  std::optional<ServerRecord> balloonServer_;
  NativeHandle trayIconHandle_ = 0;
  Text latestVersion_;
  Text steamExePath_;
  FormTimers timers_{services_.desktop};
  const Timer &timer1_ = timers_.timer1, &timer2_ = timers_.timer2, &timer3_ = timers_.timer3;
  RebuildGate rebuildGate_;
  bool loaded_ = false;    // passed the single-instance test: only then is anything saved
  bool unloaded_ = false;  // Form_Unload runs once however the form goes
  bool keepSettingsFile_ = false;  // Quorvex.ini is there but could not be read
  bool exited_ = false;
  // The yield of every long handler and network wait: an Exit inside it ends the handler.
  EventPump pump_;
  Features features_{services_.desktop};  // from the lines after the five, once they are read
  uint64_t menuRevision_ = 0;
};

}  // namespace quorvex
