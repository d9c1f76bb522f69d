#include "support/form1_fakes.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "common/text.h"

namespace quorvex::testing {

const Text kInternetSettingsKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const Text kGameKey = u"Software\\Valve\\Steam\\Apps\\270150";
const Text kSteamKey = u"Software\\Valve\\Steam\\";
const Text kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

::testing::AssertionResult AppearInOrder(const std::vector<std::string>& log, const std::vector<std::string>& expected) {
  size_t at = 0;
  for (const std::string& wanted : expected) {
    while (at < log.size() && log[at] != wanted) ++at;
    if (at == log.size()) {
      std::string all;
      for (const std::string& entry : log) all += "\n  " + entry;
      return ::testing::AssertionFailure() << "\"" << wanted << "\" missing or out of order in:" << all;
    }
    ++at;
  }
  return ::testing::AssertionSuccess();
}

const char* TimerName(TimerId timer) {
  switch (timer) {
    case TimerId::Timer1:
      return "Timer1";
    case TimerId::Timer2:
      return "Timer2";
    case TimerId::Timer3:
      return "Timer3";
  }
  return "?";
}

// ---- desktop --------------------------------------------------------------------------

void FakeDesktop::DoEvents() {
  ++yields;
  if (onYield) onYield(yields);
}

void FakeDesktop::TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) {
  timerChanges.push_back({timer, enabled, intervalMs});
  log_.Add(std::string("timer ") + TimerName(timer) + (enabled ? " on " : " off ") + std::to_string(intervalMs));
}

void FakeDesktop::ShowMessageBox(const Text& caption, const Text& text) {
  messageBoxes.push_back({caption, text});
  log_.Add("msgbox " + ToUtf8(caption) + "|" + ToUtf8(text));
}

bool FakeDesktop::AcquireSingleInstance() {
  log_.Add("single-instance");
  if (lockFailure) throw std::runtime_error(*lockFailure);
  return !otherInstanceRuns;
}

void FakeDesktop::HideFromTaskList() { log_.Add("hide"); }

void FakeDesktop::PlaySoundSync(const Text& name) {
  sounds.push_back(name);
  log_.Add("sound " + ToUtf8(name));
}

void FakeDesktop::ShowPopup() {
  ++popups;
  log_.Add("popup");
}

void FakeDesktop::EndProgram() {
  ++endProgramCalls;
  log_.Add("end");
}

void FakeDesktop::ReportError(std::string_view handler, std::string_view message) {
  errors.push_back(std::string(handler) + ": " + std::string(message));
}

std::optional<TimerChange> FakeDesktop::LastChange(TimerId timer) const {
  for (auto it = timerChanges.rbegin(); it != timerChanges.rend(); ++it)
    if (it->timer == timer) return *it;
  return std::nullopt;
}

// ---- tray shell -----------------------------------------------------------------------

void FakeTrayShell::NotifyIcon(uint32_t message, const TrayIconData& data) {
  calls.push_back({message, data});
  const char* names[] = {"add", "modify", "delete"};
  log_.Add(std::string("tray ") + (message <= 2 ? names[message] : "?") + " " + ToUtf8(data.szTip));
}

std::vector<TrayCall> FakeTrayShell::Balloons() const {
  std::vector<TrayCall> balloons;
  for (const TrayCall& call : calls)
    if (call.message == kNimAdd && (call.data.uFlags & kNifInfo) != 0) balloons.push_back(call);
  return balloons;
}

// ---- registry -------------------------------------------------------------------------

void FakeRegistry::Record(std::string call) {
  calls.push_back(call);
  log_.Add("registry " + call);
}

std::optional<FakeRegistry::Value> FakeRegistry::Find(const Text& subkey, const Text& name) const {
  const auto found = values.find({subkey, name});
  if (found == values.end()) return std::nullopt;
  return found->second;
}

Text FakeRegistry::GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) {
  Record("GetRegString " + ToUtf8(subkey) + "|" + ToUtf8(name));
  const auto value = Find(subkey, name);
  if (root != kHkeyCurrentUser || !value || !std::holds_alternative<Text>(*value)) return def;
  return std::get<Text>(*value);
}

int32_t FakeRegistry::GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) {
  Record("GetRegDword " + ToUtf8(subkey) + "|" + ToUtf8(name));
  const auto value = Find(subkey, name);
  if (root != kHkeyCurrentUser || !value || !std::holds_alternative<int32_t>(*value)) return def;
  return std::get<int32_t>(*value);
}

void FakeRegistry::SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) {
  Record("SetRegDword " + ToUtf8(subkey) + "|" + ToUtf8(name) + "=" + std::to_string(value));
  ++writes;
  if (root == kHkeyCurrentUser) values[{subkey, name}] = value;
}

void FakeRegistry::SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) {
  Record("SetRegString " + ToUtf8(subkey) + "|" + ToUtf8(name) + "=" + ToUtf8(value));
  ++writes;
  if (root == kHkeyCurrentUser) values[{subkey, name}] = value;
}

void FakeRegistry::DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) {
  Record("DeleteRegValue " + ToUtf8(subkey) + "|" + ToUtf8(name));
  ++writes;
  if (root == kHkeyCurrentUser) values.erase({subkey, name});
}

// ---- HTTP -----------------------------------------------------------------------------

void FakeHttpRequest::open(const Text& method, const Text& url) {
  opened.push_back(method + u" " + url);
  log_.Add("http open " + ToUtf8(method) + " " + ToUtf8(url));
  openUrl_ = url;
  answered_ = false;
  if (onOpen) onOpen(url);
}

void FakeHttpRequest::send(EventPump& pump) {
  const Text url = openUrl_;
  sentUrls.push_back(url);
  log_.Add("http send " + ToUtf8(url));
  pump.DoEvents();
  if (replies.count(url) == 0) throw HttpError("no connection to " + ToUtf8(url));
  answered_ = true;
}

const FakeHttpRequest::Reply& FakeHttpRequest::Answer() const {
  if (!answered_) throw HttpError("no reply");
  return replies.at(openUrl_);
}

Text FakeHttpRequest::responseText() { return Answer().body; }

int32_t FakeHttpRequest::status() { return Answer().status; }

// ---- ping -----------------------------------------------------------------------------

std::vector<Text> FakePinger::PingHosts(const std::vector<Text>& hosts, EventPump& pump) {
  std::vector<Text> results;
  for (const Text& host : hosts) {
    pinged.push_back(host);
    log_.Add("ping " + ToUtf8(host));
    const auto found = answers.find(host);
    results.push_back(found == answers.end() ? Text(u" 20") : found->second);
  }
  pump.DoEvents();
  return results;
}

// ---- launcher -------------------------------------------------------------------------

bool FakeLauncher::FindWindowByTitle(const Text& title) {
  titlesLookedFor.push_back(title);
  log_.Add("find-window " + ToUtf8(title));
  return steamWindow && title == u"Steam";
}

void FakeLauncher::WriteBatchFile(const Text& path, const Text& text) {
  log_.Add("write " + ToUtf8(path));
  if (writeFailure) throw LaunchError(*writeFailure);
  batchFiles.emplace_back(path, text);
  std::ofstream(std::filesystem::path(ToUtf8(path)), std::ios::binary) << ToUtf8(text);
}

void FakeLauncher::StartHidden(const Text& commandLine) {
  log_.Add("start " + ToUtf8(commandLine));
  if (startFailure) throw LaunchError(*startFailure);
  started.push_back(commandLine);
}

bool FakeLauncher::StartThroughSteamCommand(const std::vector<Text>& arguments) {
  if (!steamCommand) return false;
  Text commandLine = u"steam";
  for (const Text& argument : arguments) commandLine += u" " + argument;
  StartHidden(commandLine);
  return true;
}

// ---- replies and menus ----------------------------------------------------------------

ServerRecord Server(const Text& name, const Text& address, int16_t players, const Text& version) {
  ServerRecord server;
  server.name = name;
  server.address = address;
  server.port = 27015;
  server.current_players = players;
  server.version = version;
  server.dedicated = u"1";
  server.map_id = u"media/packages/vanilla/maps/map1";
  server.map_name = u"Moorland";
  server.mode = u"COOP";
  server.fromLatestReply = kEveryFieldBit;  // as a reply that listed it whole leaves it
  return server;
}

Text CountReply(int count) {
  return u"<result><servers>" + FromAscii(std::to_string(count)) + u"</servers></result>";
}

namespace {

Text Element(const char16_t* tag, const Text& text) { return Text(u"<") + tag + u">" + text + u"</" + tag + u">"; }
Text Number(int value) { return FromAscii(std::to_string(value)); }

}  // namespace

Text ListReply(const std::vector<ServerRecord>& servers) {
  Text reply = u"<result>";
  for (const ServerRecord& server : servers) {
    reply += u"<server>" + Element(u"name", server.name) + Element(u"address", server.address) +
             Element(u"port", Number(server.port)) + Element(u"map_id", server.map_id) +
             Element(u"map_name", server.map_name) + Element(u"bots", Number(server.bots)) +
             Element(u"current_players", Number(server.current_players)) + Element(u"version", server.version) +
             Element(u"dedicated", server.dedicated) + Element(u"mode", server.mode) +
             Element(u"watchers", Number(server.watchers)) + Element(u"player_names", server.player_names) +
             u"</server>";
  }
  return reply + u"</result>";
}

namespace {

Text SignedBlank(int value) { return (value < 0 ? u"" : u" ") + Number(value); }

}  // namespace

Text ExpectedSummary(int maxPlayers, int totalPlayers, int serverCount, int playerLimit, int watchers,
                     int blanksAfterMaxPlayers) {
  const Text crlf = u"\r\n";
  const Text full = crlf + u"Max Players:" + Text(static_cast<size_t>(blanksAfterMaxPlayers), u' ') +
                    SignedBlank(maxPlayers) + crlf + u"__________________" + crlf + crlf + u"Total Players:   " +
                    SignedBlank(totalPlayers) + crlf + u"Servers Online:" + SignedBlank(serverCount) + crlf +
                    u"Player-Limit:    " + SignedBlank(playerLimit) + crlf + u"Server Watchers: " + Number(watchers) +
                    crlf + u" ";
  return full.substr(0, 127);
}

namespace {

std::string ItemName(const MenuItem& item) {
  return item.index < 0 ? item.name : item.name + "[" + std::to_string(item.index) + "]";
}

void AddLines(const MenuItem& item, std::vector<std::string>& lines) {
  lines.push_back(ItemName(item) + " \"" + ToUtf8(item.caption) + "\"" + (item.visible ? "" : " hidden") +
                  (item.checked ? " checked" : ""));
  for (const MenuItem& child : item.children) AddLines(child, lines);
}

void AddChecked(const MenuItem& item, const std::string& name, std::vector<std::string>& checked) {
  if (item.name == name && item.checked) checked.push_back(ItemName(item));
  for (const MenuItem& child : item.children) AddChecked(child, name, checked);
}

}  // namespace

std::vector<std::string> MenuLines(const MenuTree& menu) {
  std::vector<std::string> lines;
  AddLines(menu.Root(), lines);
  return lines;
}

std::vector<std::string> CheckedItems(const MenuTree& menu, const std::string& name) {
  std::vector<std::string> checked;
  AddChecked(menu.Root(), name, checked);
  return checked;
}

// ---- the rig --------------------------------------------------------------------------

const Text Form1Rig::kLatestVersionUrl = u"http://127.0.0.1:28780/latest_version.txt";
const Text Form1Rig::kCountUrl = u"http://127.0.0.1:28780/rwr_server_list/get_server_count.php";

Text Form1Rig::ListUrl(int count) {
  return u"http://127.0.0.1:28780/rwr_server_list/get_server_list.php?start=0&size=" + Number(count);
}

Form1Rig::Form1Rig() {
  folder_ = std::filesystem::temp_directory_path() /
            ("quorvex form1 100%-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder_);
  config = Form1Config{FromAscii(kMaster), kLatestVersionUrl, Folder(), u"quorvex"};
}

Form1Rig::~Form1Rig() {
  form_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

Form1& Form1Rig::Form() {
  if (!form_) {
    form_ = std::make_unique<Form1>(Form1Services{desktop, trayShell, registry, http, pinger, launcher}, config);
  }
  return *form_;
}

void Form1Rig::Poll() {
  Form().Timer1_Timer();
  Form().Timer3_Timer();
}

void Form1Rig::ServeServers(const std::vector<ServerRecord>& servers) {
  const int count = static_cast<int>(servers.size());
  http.replies[kCountUrl] = {CountReply(count)};
  http.replies[ListUrl(count)] = {ListReply(servers)};
}

void Form1Rig::PutSettingsFile(const std::string& bytes) const {
  std::ofstream(folder_ / "Quorvex.ini", std::ios::binary) << bytes;
}

void Form1Rig::PutSettings(int playerLimit, int checkTime, int sound, int autostart, int sort) const {
  PutSettingsFile("minPlayers= " + std::to_string(playerLimit) + "\r\ncheckTime= " + std::to_string(checkTime) +
                  "\r\nsound=" + std::to_string(sound) + "\r\nautostart=" + std::to_string(autostart) +
                  "\r\nsort=" + std::to_string(sort) + "\r\n");
}

void Form1Rig::InstallSteam(const Text& steamExe) {
  registry.values[{kGameKey, u"Installed"}] = int32_t{1};
  registry.values[{kSteamKey, u"SteamExe"}] = steamExe;
}

Text Form1Rig::Folder() const { return FromUtf8(folder_.string()); }

bool Form1Rig::FileExists(const std::string& name) const { return std::filesystem::exists(folder_ / name); }

std::string Form1Rig::FileBytes(const std::string& name) const {
  std::ifstream in(folder_ / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Form1Rig::RemoveFile(const std::string& name) const { std::filesystem::remove(folder_ / name); }

}  // namespace quorvex::testing
