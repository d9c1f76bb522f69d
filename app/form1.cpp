#include "app/form1.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "common/busy_scope.h"
#include "common/files.h"
#include "common/host_rules.h"
#include "common/numbers.h"
#include "common/steps.h"
#include "join/game_start.h"
#include "menu/server_items.h"
#include "menu/server_menu.h"
#include "servers/server_download.h"
#include "servers/server_list_parser.h"
#include "settings/settings_rules.h"
#include "tray/tooltip_text.h"

namespace quorvex {

namespace {

const Text kAppTitle = u"Quorvex";
const Text kInternetSettingsKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const Text kGameInstalledKey = u"Software\\Valve\\Steam\\Apps\\270150";
const Text kSteamKey = u"Software\\Valve\\Steam\\";
const Text kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr uint32_t kBalloonInfoIcon = 1;

Text PlayerLimitCaption(int16_t minPlayersIndex) {
  return u"Player-Limit (" + FormatPlain(PlayerLimit(minPlayersIndex)) + u")";
}

}  // namespace

Form1::Form1(Form1Services services, Form1Config config)
    : services_(services),
      config_(std::move(config)),
      menu_(MakeDesignMenu()),
      trayIcon_(services.trayShell, services.desktop.WindowHandle()),
      pump_(services.desktop, exited_) {}

// ---- start-up and shutdown ----------------------------------------------------------

void Form1::Form_Load() {
  // The server items exist from construction on: the design menu holds them all.
  Desktop& desktop = services_.desktop;
  Text refusal;
  try {
    if (!desktop.AcquireSingleInstance()) refusal = u"Already running....";
  } catch (const std::runtime_error& error) {
    // Unsure whether another instance runs: one that does could spoil what this one saves.
    refusal = u"Quorvex cannot make sure it runs only once: " + FromUtf8(error.what());
  }
  if (!refusal.empty()) {
    exited_ = true;  // nothing of this instance may run or be saved
    desktop.ShowMessageBox(kAppTitle, refusal);
    desktop.EndProgram();
    return;
  }
  loaded_ = true;
  services_.registry.SetRegDword(kHkeyCurrentUser, kInternetSettingsKey, u"SyncMode5", 3);

  RunStep([&] {
    if (services_.registry.GetRegDword(kHkeyCurrentUser, kGameInstalledKey, u"Installed", 0) != 0) {
      steamExePath_ = services_.registry.GetRegString(kHkeyCurrentUser, kSteamKey, u"SteamExe", u"");
    }
  });
  RunStep([&] { desktop.HideFromTaskList(); });
  RunStep([&] { trayIcon_.AddTrayIcon(u"Current max players: N/A", desktop.NormalIcon()); });
  limitReached_ = 0;
  RunStep([&] {
    try {
      ReadSettings(config_.programFolder, settings_);
    } catch (const UnreadableSettingsFile&) {
      keepSettingsFile_ = true;  // it may hold the user's values: Exit must not replace it
      throw;
    }
  });
  for (const std::string& ignored : settings_.ignoredLines) desktop.ReportError("Form_Load", ignored);
  features_.Start(services_.makeFeatures(settings_, {*this, [&desktop] { desktop.ShowHistory(); }, services_.makeHistoryFolder,
                                           config_.programFolder}),
                  menu_);
  UseAddressesFromSettings();
  // Normalised before the version download, which lets events run: a command chosen
  // during it finds the settings as it would right after start-up.
  NormaliseSettings(settings_);
  ShowSettingsInMenu();
  RunStep([&] { timers_.Set(TimerId::Timer1, timer1_.Enabled, settings_.checkTime * 1000 - timer3_.Interval); });
  // An Exit during the download ends Form_Load there (HandlerAborted): no poll starts.
  RunStep([&] { latestVersion_ = DownloadLatestVersion(services_.httpRequest, config_.latestVersionUrl, pump_); });
  Timer1_Timer();
}

// The master server and latest-version URL of Quorvex.ini, where no option gave them. A
// line of the wrong form is reported and the built-in value stays.
void Form1::UseAddressesFromSettings() {
  const std::string reports[] = {
      TakeAddressFromSettings("master", settings_.master, IsHostWithOptionalPort, "a host with an optional port",
                              config_.masterHostGiven, config_.masterHost),
      TakeAddressFromSettings("latestVersionUrl", settings_.latestVersionUrl, IsHttpUrl, "an http:// URL",
                              config_.latestVersionUrlGiven, config_.latestVersionUrl)};
  for (const std::string& report : reports)
    if (!report.empty()) services_.desktop.ReportError("Form_Load", report);
}

// Start-up's check marks and the player-limit caption, from the normalised settings.
void Form1::ShowSettingsInMenu() {
  RunStep([&] { menu_.Item("men", settings_.minPlayers).checked = true; });
  RunStep([&] { menu_.Item("menPlayer").caption = PlayerLimitCaption(settings_.minPlayers); });
  menu_.Item("menSound").checked = settings_.sound != 0;
  menu_.Item("menAutostart").checked = settings_.autostart != 0;
  RunStep([&] { menu_.Item("menRate", settings_.checkTime / 10).checked = true; });
  RunStep([&] { menu_.Item("menSort", settings_.sort).checked = true; });
  ++menuRevision_;
}

void Form1::menExit_Click() {
  if (exited_) return;
  exited_ = true;  // a poll interrupted in one of its yields stops there
  timers_.Set(TimerId::Timer1, false, timer1_.Interval);
  timers_.Set(TimerId::Timer2, false, timer2_.Interval);
  timers_.Set(TimerId::Timer3, false, timer3_.Interval);
  trayIcon_.RemoveTrayIcon();
  Form_Unload();
  services_.desktop.EndProgram();
}

void Form1::Form_Unload() {
  if (!loaded_ || unloaded_) return;
  unloaded_ = true;
  // A settings file that cannot be written must not keep the Run value from being set; one
  // that start-up could not read is left as it is.
  if (!keepSettingsFile_) RunStep([&] { WriteSettings(config_.programFolder, settings_); });
  features_.Unload();
  if (settings_.autostart != 0) {
    const Text executable = JoinPath(config_.programFolder, config_.exeName + u".exe");
    services_.registry.SetRegString(kHkeyCurrentUser, kRunKey, kAppTitle, u"\"" + executable + u"\"");
  } else {
    services_.registry.DeleteRegValue(kHkeyCurrentUser, kRunKey, kAppTitle);
  }
}

void Form1::TaskbarCreated() {
  // Before the icon was first added there is nothing to show again.
  if (exited_ || trayIcon_.Data().uID == 0) return;
  trayIcon_.RestoreTrayIcon();
}

// ---- the poll cycle -----------------------------------------------------------------

void Form1::TimerTick(TimerId timer) {
  if (exited_) return;  // a tick that was already queued when Exit stopped the timers
  switch (timer) {
    case TimerId::Timer1:
      Timer1_Timer();
      break;
    case TimerId::Timer2:
      Timer2_Timer();
      break;
    case TimerId::Timer3:
      Timer3_Timer();
      break;
  }
}

void Form1::Timer1_Timer() {
  // What went wrong with notifyCommands since the last poll, each message once in the program's
  // life. Told here only, so a failure is always told by this handler, however soon the
  // runner's thread meets it; the poll goes on regardless.
  RunStep([&] {
    for (const std::string& problem : services_.notifier.TakeReports())
      services_.desktop.ReportError("Timer1_Timer", problem);
  });
  timers_.Set(TimerId::Timer1, false, timer1_.Interval);
  HttpRequest& http = services_.httpRequest;
  Text countReply;
  // An Exit during the download ends the handler there: Timer3 stays off.
  RunStep([&] {
    http.open(u"GET", ServerCountUrl(config_.masterHost));
    http.send(pump_);
    countReply = http.responseText();
  });
  RunStep([&] { serverCount_ = ParseServerCount(countReply); });
  RunStep([&] { http.open(u"GET", ServerListUrl(config_.masterHost, serverCount_)); });
  timers_.Set(TimerId::Timer3, true, timer3_.Interval);
}

void Form1::Timer3_Timer() {
  timers_.Set(TimerId::Timer3, false, timer3_.Interval);
  // An Exit in one of the yields ends the poll there (HandlerAborted): it touches nothing more.
  Text reply;
  bool listed = false;
  bool limitBalloonShown = false;
  {
    // Until its own rebuild the poll writes the records: a sort chosen meanwhile would mix
    // their fields (a name beside another server's address), so its rebuild waits for this one.
    const BusyScope hold = rebuildGate_.Hold();
    listed = RunStep([&] {
      services_.httpRequest.send(pump_);
      reply = services_.httpRequest.responseText();
    });
    const bool featuresTakeIt = listed && features_.Any();
    int32_t listStatus = 0;
    if (featuresTakeIt) RunStep([&] { listStatus = services_.httpRequest.status(); });
    RunStep([&] { ParseServerList(reply, servers_, pump_); });
    // Before the pings' wait, so an Exit during it still finds the reply taken (and saved).
    if (featuresTakeIt) features_.TakeList(reply, listStatus);
    maxPlayers_ = 0;
    totalPlayers_ = 0;
    busiestServer_.reset();
    AddUpPlayers();
    NormaliseAndPing();
    RunStep([&] { limitBalloonShown = DecideAlert(); });
    RunStep([&] { ShowSummary(2); });
  }
  RunStep([&] { RebuildMenu(); });
  // A failed list request is no reply: nobody counts as gone, and who is online stays.
  if (listed && features_.Any()) {
    if (features_.EndPoll(Figures(), menu_)) ++menuRevision_;
    TellNews(limitBalloonShown);
  }
  timers_.Set(TimerId::Timer1, true, timer1_.Interval);
}

// Over the icon as the poll left it; while the player-limit balloon of this poll is up, the
// news waits.
void Form1::TellNews(bool limitBalloonShown) {
  if (limitBalloonShown) return;
  const std::optional<NewsBalloon> balloon = features_.TakeNews(config_.lineBreak);
  if (!balloon) return;
  const Text& text = balloon->text;
  std::optional<ServerRecord> server;
  if (const auto& place = balloon->server) server = RecordToJoin(place->name, place->address, place->port);
  const bool held = features_.HoldBalloon({NotifyEvent::Watch, text, server});
  if (!held) balloonServer_ = server;
  if (!held) RunStep([&] { trayIcon_.ShowBalloonOnly(kAppTitle, text, kBalloonInfoIcon); });
  if (!balloon->commandTold) RunStep([&] { NotifyBalloon(NotifyEvent::Watch, kAppTitle, text, server); });
  if (!held) PlayAlertSound();
}

HistoryChart Form1::ChartHistory(ChartRange range) {
  if (!features_.History()) throw std::logic_error("Quorvex.ini has no usable history= line: no player history is kept");
  Desktop& desktop = services_.desktop;
  return features_.History()->History().Chart(range, desktop.WallClockMs(), [&](int64_t utcMs) { return desktop.LocalOffsetMinutes(utcMs); });
}

// The totals, the busiest up-to-date server and the player names, over the listed servers.
void Form1::AddUpPlayers() {
  const int16_t count = serverCount_;
  for (int i = 1; i <= count; ++i) {
    pump_.DoEvents();
    RunStep([&] { totalPlayers_ = AddInt16(totalPlayers_, servers_.at(i).current_players); });
    RunStep([&] {
      const ServerRecord& server = servers_.at(i);
      if (server.version >= latestVersion_ && server.current_players > maxPlayers_) {
        maxPlayers_ = server.current_players;
        busiestServer_ = server;
      }
    });
    RunStep([&] { NormalisePlayerNames(servers_.at(i)); });
  }
}

// The dedicated marks, then one echo to every listed server at once; each result goes to
// the record whose address it was sent to.
void Form1::NormaliseAndPing() {
  const int16_t count = serverCount_;
  std::vector<int> pinged;
  std::vector<Text> hosts;
  for (int i = 1; i <= count; ++i) {
    pump_.DoEvents();
    RunStep([&] { NormaliseDedicated(servers_.at(i)); });
    RunStep([&] {
      hosts.push_back(servers_.at(i).address);
      pinged.push_back(i);
    });
  }
  if (hosts.empty()) return;
  std::vector<Text> results;
  RunStep([&] { results = services_.pinger.PingHosts(hosts, pump_); });
  for (size_t k = 0; k < results.size() && k < pinged.size(); ++k) {
    RunStep([&] { servers_.at(pinged[k]).ping = ToInt16(results[k]); });
  }
}

// Whether the player-limit balloon was shown.
bool Form1::DecideAlert() {
  const int32_t limit = PlayerLimit(settings_.minPlayers);
  if (limit <= maxPlayers_ && limitReached_ == 0) {
    const Text message = AlertMessage(limit, maxPlayers_);
    const bool held = features_.HoldBalloon({NotifyEvent::Limit, message, busiestServer_});
    if (!held) balloonServer_ = busiestServer_;  // before the shell shows it: a front end may ask for it then
    if (!held) RunStep([&] { trayIcon_.ShowTrayBalloon(kAppTitle, message, u"", kBalloonInfoIcon, Icon(true)); });
    RunStep([&] { NotifyBalloon(NotifyEvent::Limit, kAppTitle, message, busiestServer_); });
    if (!held) PlayAlertSound();
    limitReached_ = -1;
    timers_.Set(TimerId::Timer2, true, timer2_.Interval);
    return true;
  }
  if (limit > maxPlayers_) limitReached_ = 0;
  return false;
}

void Form1::PlayAlertSound() {
  if (settings_.sound != 0) RunStep([&] { services_.desktop.PlaySoundSync(u"bing.wav"); });
}

// Returns at once: the command runs on the runner's thread, after the ones before it.
void Form1::NotifyBalloon(NotifyEvent event, const Text& title, const Text& text, const std::optional<ServerRecord>& server) {
  if (settings_.notifyCommand) services_.notifier.Submit(*settings_.notifyCommand, {event, title, text, server});
}

// The tooltip summary with the icon of the alert latch.
void Form1::ShowSummary(int blanksAfterMaxPlayers) {
  trayIconHandle_ = Icon(limitReached_ != 0);
  trayIcon_.ModifyTrayIcon(SummaryText(Figures(), blanksAfterMaxPlayers), trayIconHandle_);
}

PollFigures Form1::Figures() const {
  return {maxPlayers_, totalPlayers_, serverCount_, PlayerLimit(settings_.minPlayers), servers_.at(1).watchers};
}

NativeHandle Form1::Icon(bool alert) {
  return features_.TrayIcon(alert ? services_.desktop.AlertIcon() : services_.desktop.NormalIcon(), Figures());
}

// One rebuild at a time: one asked for inside another's yield, or during a poll, runs
// right after it.
void Form1::RebuildMenu() {
  rebuildGate_.Run([&] {
    ++menuRevision_;
    RebuildServerMenu(menu_, servers_, serverCount_, settings_.sort, pump_, shownServers_);
  });
}

void Form1::Timer2_Timer() {
  trayIcon_.AddTrayIcon(u"Player-limit has been reached", Icon(true));
  timers_.Set(TimerId::Timer2, false, timer2_.Interval);
}

// ---- the tray icon and the menu commands ---------------------------------------------

void Form1::Form_MouseMove(uint32_t mouseMessage) {
  if (exited_) return;
  if (mouseMessage == kRightButtonDown) services_.desktop.ShowPopup();
  if (mouseMessage == kBalloonUserClick) BalloonClick(balloonServer_);
}

// Like a click on a menu line: after Exit nothing, during a poll at once, on the record as
// it was remembered, whatever the poll has listed since.
void Form1::BalloonClick(const std::optional<ServerRecord>& server) {
  if (exited_ || !server) return;
  Join(*server);
}

void Form1::Join(const ServerRecord& server) {
  const Text refusal = JoinServer(services_.launcher, {steamExePath_, config_.programFolder}, server);
  if (!refusal.empty()) services_.desktop.ShowMessageBox(kAppTitle, refusal);
}

void Form1::menAbout_Click() {
  const Text caption = u"    Quorvex v" + FormatPlain(QUORVEX_VERSION_MAJOR) + u"." +
                       FormatPlain(QUORVEX_VERSION_MINOR) + u".3   ";
  services_.desktop.ShowMessageBox(caption, u"     Watching the servers so you do not have to.     ");
}

void Form1::menAutostart_Click() {
  MenuItem& item = menu_.Item("menAutostart");
  item.checked = !item.checked;
  settings_.autostart = item.checked ? -1 : 0;
  ++menuRevision_;
}

void Form1::menSound_Click() {
  MenuItem& item = menu_.Item("menSound");
  item.checked = !item.checked;
  settings_.sound = item.checked ? -1 : 0;
  ++menuRevision_;
}

void Form1::menRate_Click(int16_t Index) {
  MenuItem& chosen = menu_.Item("menRate", Index);  // 1, 2 or 4; anything else throws first
  for (int rate : {1, 2, 4}) menu_.Item("menRate", rate).checked = false;
  chosen.checked = true;
  settings_.checkTime = Index * 10;
  // A poll in progress keeps going; the next wait of Timer1 has the new length.
  timers_.Set(TimerId::Timer1, timer1_.Enabled, settings_.checkTime * 1000 - timer3_.Interval);
  ++menuRevision_;
}

void Form1::menSort_Click(int16_t Index) {
  MenuItem& chosen = menu_.Item("menSort", Index);
  for (int column = 0; column <= 5; ++column) menu_.Item("menSort", column).checked = false;
  chosen.checked = true;
  settings_.sort = Index;
  ++menuRevision_;
  RebuildMenu();  // during a poll, the poll's own rebuild takes the new column
}

void Form1::men_Click(int16_t Index) {
  MenuItem& chosen = menu_.Item("men", Index);
  menu_.Item("men", settings_.minPlayers).checked = false;
  chosen.checked = true;
  settings_.minPlayers = Index;
  menu_.Item("menPlayer").caption = PlayerLimitCaption(Index);
  ++menuRevision_;
  ShowSummary(4);
}

void Form1::menServername_Click(int16_t Index, const ServerRecord& shown) {
  if (SlotOfServerItem(Index) == 0) return;  // a separator
  Join(shown);
}

void Form1::Click(std::string_view name, int index, const PopupSnapshot& snapshot) {
  if (exited_) return;
  const auto index16 = static_cast<int16_t>(index);
  if (name == "menAbout") {
    menAbout_Click();
  } else if (name == "menExit") {
    menExit_Click();
  } else if (name == "menAutostart") {
    menAutostart_Click();
  } else if (name == "menSound") {
    menSound_Click();
  } else if (name == "menRate") {
    menRate_Click(index16);
  } else if (name == "menSort") {
    menSort_Click(index16);
  } else if (name == "men") {
    men_Click(index16);
  } else if (name == "menServername" && index >= 1 && index <= kServerItems) {
    const ServerRecord& shown = snapshot.shownServers.at(SlotOfServerItem(index));
    menServername_Click(index16, shown);
  } else {
    features_.Click(name, index, snapshot);
  }
  // Submenus, separators and the header do nothing when clicked.
}

PopupSnapshot Form1::Snapshot() const {
  PopupSnapshot snapshot{menu_, shownServers_, {}};
  features_.AddToSnapshot(snapshot);
  return snapshot;
}

}  // namespace quorvex
