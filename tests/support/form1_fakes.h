// Fakes of every service Form1 is handed, and a rig that builds a Form1 over them. Each fake
// writes one line per effect into the rig's log, so a test can read the order of effects.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "app/desktop.h"
#include "app/form1.h"
#include "common/numbers.h"

namespace quorvex::testing {

using Log = std::vector<std::string>;

// Whether `expected` appear in `log` in this order (other entries may stand between).
inline ::testing::AssertionResult AppearInOrder(const Log& log, const Log& expected) {
  auto at = log.begin();
  for (const std::string& wanted : expected) {
    at = std::find(at, log.end(), wanted);
    if (at == log.end()) return ::testing::AssertionFailure() << "\"" << wanted << "\" missing or out of order";
    ++at;
  }
  return ::testing::AssertionSuccess();
}

inline std::string TimerName(TimerId timer) { return "Timer" + std::to_string(static_cast<int>(timer) + 1); }

struct TimerChange {
  TimerId timer;
  bool enabled;
  int32_t intervalMs;
};

class FakeDesktop : public Desktop {
 public:
  static constexpr NativeHandle kWindow = 0x3003, kNormalIcon = 0x1001, kAlertIcon = 0x2002;
  explicit FakeDesktop(Log& log) : log_(log) {}

  void DoEvents() override {
    ++yields;
    if (onYield) onYield(yields);
  }
  void TimerChanged(TimerId timer, bool enabled, int32_t ms) override {
    timerChanges.push_back({timer, enabled, ms});
    log_.push_back("timer " + TimerName(timer) + (enabled ? " on " : " off ") + std::to_string(ms));
  }
  void ShowMessageBox(const Text& caption, const Text& text) override {
    messageBoxes.push_back(caption + u"|" + text);
    log_.push_back("msgbox " + ToUtf8(messageBoxes.back()));
  }
  bool AcquireSingleInstance() override {
    log_.push_back("single-instance");
    if (lockFailure) throw std::runtime_error(*lockFailure);
    return !otherInstanceRuns;
  }
  void HideFromTaskList() override { log_.push_back("hide"); }
  NativeHandle WindowHandle() override { return kWindow; }
  NativeHandle NormalIcon() override { return kNormalIcon; }
  NativeHandle AlertIcon() override { return kAlertIcon; }
  void PlaySoundSync(const Text& name) override {
    sounds.push_back(name);
    log_.push_back("sound " + ToUtf8(name));
  }
  void ShowPopup() override { ++popups; }
  void EndProgram() override {
    ++endProgramCalls;
    log_.push_back("end");
  }
  void ReportError(std::string_view handler, std::string_view message) override {
    errors.push_back(std::string(handler) + ": " + std::string(message));
  }

  bool otherInstanceRuns = false;
  std::optional<std::string> lockFailure;  // AcquireSingleInstance throws it
  // Runs at every yield with the yield's number (1, 2, ...), counted over the rig's life.
  std::function<void(int)> onYield;
  int yields = 0, popups = 0, endProgramCalls = 0;
  std::vector<TimerChange> timerChanges;
  std::vector<Text> messageBoxes;  // "caption|text"
  std::vector<Text> sounds;
  std::vector<std::string> errors;  // "handler: message"

 private:
  Log& log_;
};

struct TrayCall {
  uint32_t message;
  TrayIconData data;
};

class FakeTrayShell : public TrayShell {
 public:
  explicit FakeTrayShell(Log& log) : log_(log) {}
  void NotifyIcon(uint32_t message, const TrayIconData& data) override {
    calls.push_back({message, data});
    const char* names[] = {"add", "modify", "delete"};
    log_.push_back(std::string("tray ") + names[message] + " " + ToUtf8(data.szTip));
  }
  // The calls that carried a balloon (an add with the info flag).
  size_t Balloons() const {
    return std::count_if(calls.begin(), calls.end(), [](const TrayCall& c) { return c.message == kNimAdd && (c.data.uFlags & kNifInfo); });
  }
  std::vector<TrayCall> calls;

 private:
  Log& log_;
};

// HKEY_CURRENT_USER in memory: values by (subkey, name), DWORD or string. Other roots are
// never used by the program and so not kept.
class FakeRegistry : public Registry {
 public:
  using Value = std::variant<int32_t, Text>;
  explicit FakeRegistry(Log& log) : log_(log) {}

  Text GetRegString(uint32_t, const Text& subkey, const Text& name, const Text& def) override {
    log_.push_back("registry GetRegString " + ToUtf8(subkey + u"|" + name));
    const auto value = Find(subkey, name);
    return value && std::holds_alternative<Text>(*value) ? std::get<Text>(*value) : def;
  }
  int32_t GetRegDword(uint32_t, const Text& subkey, const Text& name, int32_t def) override {
    log_.push_back("registry GetRegDword " + ToUtf8(subkey + u"|" + name));
    const auto value = Find(subkey, name);
    return value && std::holds_alternative<int32_t>(*value) ? std::get<int32_t>(*value) : def;
  }
  void SetRegDword(uint32_t, const Text& subkey, const Text& name, int32_t value) override {
    Write("SetRegDword " + ToUtf8(subkey + u"|" + name) + "=" + std::to_string(value));
    values[{subkey, name}] = value;
  }
  void SetRegString(uint32_t, const Text& subkey, const Text& name, const Text& value) override {
    Write("SetRegString " + ToUtf8(subkey + u"|" + name + u"=" + value));
    values[{subkey, name}] = value;
  }
  void DeleteRegValue(uint32_t, const Text& subkey, const Text& name) override {
    Write("DeleteRegValue " + ToUtf8(subkey + u"|" + name));
    values.erase({subkey, name});
  }
  std::optional<Value> Find(const Text& subkey, const Text& name) const {
    const auto found = values.find({subkey, name});
    return found == values.end() ? std::nullopt : std::optional<Value>(found->second);
  }

  std::map<std::pair<Text, Text>, Value> values;
  int writes = 0;

 private:
  void Write(const std::string& call) {
    ++writes;
    log_.push_back("registry " + call);
  }
  Log& log_;
};

// Answers by URL; a URL without a scripted reply behaves like no network. Every send holds
// its reply for one yield, as a transfer in flight lets events run.
class FakeHttpRequest : public HttpRequest {
 public:
  struct Reply {
    Text body;
    int32_t status = 200;
  };
  explicit FakeHttpRequest(Log& log) : log_(log) {}

  void open(const Text& method, const Text& url) override {
    opened.push_back(method + u" " + url);
    log_.push_back("http open " + ToUtf8(url));
    url_ = url;
    answered_ = false;
    if (onOpen) onOpen(url);
  }
  // Holds its reply for one yield, as a transfer in flight lets events run.
  void send(EventPump& pump) override {
    const Text url = url_;
    sentUrls.push_back(url);
    log_.push_back("http send " + ToUtf8(url));
    pump.DoEvents();
    if (replies.count(url) == 0) throw HttpError("no connection to " + ToUtf8(url));
    answered_ = true;
  }
  Text responseText() override { return Answer().body; }
  int32_t status() override { return Answer().status; }

  std::map<Text, Reply> replies;
  // Runs at every open, before anything is sent, to see what the program had done by then.
  std::function<void(const Text& url)> onOpen;
  std::vector<Text> opened;    // "GET url"
  std::vector<Text> sentUrls;  // failed ones included

 private:
  const Reply& Answer() const { return answered_ ? replies.at(url_) : throw HttpError("no reply"); }
  Log& log_;
  Text url_;
  bool answered_ = false;
};

// All hosts of a call are pinged in one wait: one yield after the last "ping" entry.
// All hosts of a call are pinged in one wait: one yield after the last of them.
class FakePinger : public Pinger {
 public:
  // " 20" unless scripted.
  std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) override {
    std::vector<Text> results;
    for (const Text& host : hosts) {
      pinged.push_back(host);
      if (onPing) onPing();
      const auto found = answers.find(host);
      results.push_back(found == answers.end() ? Text(u" 20") : found->second);
    }
    pump.DoEvents();
    return results;
  }
  std::map<Text, Text> answers;
  std::vector<Text> pinged;
  std::function<void()> onPing;
};

class FakeLauncher : public Launcher {
 public:
  explicit FakeLauncher(Log& log) : log_(log) {}
  bool FindWindowByTitle(const Text& title) override {
    log_.push_back("find-window " + ToUtf8(title));
    return steamWindow && title == u"Steam";
  }
  // Writes the text where it is asked to, so a leftover file can be seen.
  void WriteBatchFile(const Text& path, const Text& text) override {
    log_.push_back("write " + ToUtf8(path));
    if (writeFailure) throw LaunchError(*writeFailure);
    batchFiles.emplace_back(path, text);
    std::ofstream(std::filesystem::path(ToUtf8(path)), std::ios::binary) << ToUtf8(text);
  }
  void StartHidden(const Text& commandLine) override {
    log_.push_back("start " + ToUtf8(commandLine));
    if (startFailure) throw LaunchError(*startFailure);
    started.push_back(commandLine);
  }
  bool StartThroughSteamCommand(const std::vector<Text>& arguments) override {
    if (!steamCommand) return false;
    Text commandLine = u"steam";
    for (const Text& argument : arguments) commandLine += u" " + argument;
    StartHidden(commandLine);
    return true;
  }

  bool steamWindow = false;
  bool steamCommand = false;  // joins go through the steam command, as on Linux
  std::optional<std::string> writeFailure, startFailure;  // the LaunchError those throw
  std::vector<std::pair<Text, Text>> batchFiles;           // (path, text)
  std::vector<Text> started;  // steam command arguments are joined by blanks

 private:
  Log& log_;
};

// A server as a test writes it into a list reply.
inline ServerRecord Server(const Text& name, const Text& address, int16_t players, const Text& version = u"1.80") {
  return ServerRecord{.name = name, .address = address, .dedicated = u"1", .map_id = u"maps/map1", .map_name = u"Moorland",
                      .port = 27015, .current_players = players, .version = version, .mode = u"COOP",
                      .fromLatestReply = kEveryFieldBit};  // as a reply that listed it whole leaves it
}

inline Text CountReply(int count) { return u"<result><servers>" + FormatPlain(count) + u"</servers></result>"; }

inline Text ListReply(const std::vector<ServerRecord>& servers) {
  auto element = [](const Text& tag, const Text& text) { return u"<" + tag + u">" + text + u"</" + tag + u">"; };
  Text reply = u"<result>";
  for (const ServerRecord& s : servers)
    reply += u"<server>" + element(u"name", s.name) + element(u"address", s.address) +
             element(u"port", FormatPlain(s.port)) + element(u"map_id", s.map_id) + element(u"map_name", s.map_name) +
             element(u"bots", FormatPlain(s.bots)) + element(u"current_players", FormatPlain(s.current_players)) +
             element(u"version", s.version) + element(u"dedicated", s.dedicated) + element(u"mode", s.mode) +
             element(u"watchers", FormatPlain(s.watchers)) + element(u"player_names", s.player_names) + u"</server>";
  return reply + u"</result>";
}

// The menu as comparable lines: name, index, caption, visible and check mark of every item.
inline void MenuLinesOf(const MenuItem& item, Log& lines) {
  lines.push_back(item.name + "[" + std::to_string(item.index) + "] " + ToUtf8(item.caption) +
                  (item.visible ? "" : " hidden") + (item.checked ? " checked" : ""));
  for (const MenuItem& child : item.children) MenuLinesOf(child, lines);
}
inline Log MenuLines(const MenuTree& menu) {
  Log lines;
  MenuLinesOf(menu.Root(), lines);
  return lines;
}
// The indexes of the checked items of a control array, e.g. {3} for "menSort".
inline std::vector<int> Checked(const MenuTree& menu, const std::string& name) {
  std::vector<int> checked;
  for (int index = -1; index <= 48; ++index)
    if (menu.Has(name, index) && menu.Item(name, index).checked) checked.push_back(index);
  return checked;
}

// The registry keys Form1 uses.
inline const Text kGameKey = u"Software\\Valve\\Steam\\Apps\\270150";
inline const Text kSteamKey = u"Software\\Valve\\Steam\\";
inline const Text kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A Form1 over fresh fakes with its own program folder (a blank and a "%" in its name, so
// paths are quoted and escaped where they must be). Nothing runs until a test says so.
class Form1Rig {
 public:
  static constexpr char kMaster[] = "127.0.0.1:28780";
  static inline const Text kLatestVersionUrl = u"http://127.0.0.1:28780/latest_version.txt";
  static inline const Text kCountUrl = u"http://127.0.0.1:28780/rwr_server_list/get_server_count.php";
  static Text ListUrl(int count) {
    return u"http://127.0.0.1:28780/rwr_server_list/get_server_list.php?start=0&size=" + FormatPlain(count);
  }

  Form1Rig() {
    std::filesystem::create_directories(folder_);
    config = Form1Config{FromAscii(kMaster), kLatestVersionUrl, Folder(), u"quorvex"};
  }
  ~Form1Rig() {
    form_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  Form1Rig(const Form1Rig&) = delete;
  Form1Rig& operator=(const Form1Rig&) = delete;

  Form1& Form() {
    if (!form_) form_ = std::make_unique<Form1>(Form1Services{desktop, trayShell, registry, http, pinger, launcher}, config);
    return *form_;
  }
  // Start-up with these settings, version and servers; `firstPoll` runs the rest of the
  // first poll (Timer3) too.
  Form1& Start(const std::string& settings, const std::vector<ServerRecord>& servers, bool firstPoll = true,
               const Text& latest = u"1.80") {
    if (!settings.empty()) PutFile("Quorvex.ini", settings);
    http.replies[kLatestVersionUrl] = {latest};
    Serve(servers);
    Form().Form_Load();
    if (firstPoll) Form().Timer3_Timer();
    return Form();
  }
  // Timer1's tick, then Timer3's: one whole poll.
  void Poll() {
    Form().Timer1_Timer();
    Form().Timer3_Timer();
  }
  // The count reply and the list reply of exactly these servers.
  void Serve(const std::vector<ServerRecord>& servers) {
    const int count = static_cast<int>(servers.size());
    http.replies[kCountUrl] = {CountReply(count)};
    http.replies[ListUrl(count)] = {ListReply(servers)};
  }
  void InstallSteam(const Text& steamExe) {
    registry.values[{kGameKey, u"Installed"}] = int32_t{1};
    registry.values[{kSteamKey, u"SteamExe"}] = steamExe;
  }
  Text Tip() { return Form().Tray().Data().szTip; }
  std::optional<TimerChange> LastChange(TimerId timer) const {
    for (auto it = desktop.timerChanges.rbegin(); it != desktop.timerChanges.rend(); ++it)
      if (it->timer == timer) return *it;
    return std::nullopt;
  }

  Text Folder() const { return FromUtf8(folder_.string()); }
  bool FileExists(const std::string& name) const { return std::filesystem::exists(folder_ / name); }
  void PutFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string FileBytes(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  Log log;
  FakeDesktop desktop{log};
  FakeTrayShell trayShell{log};
  FakeRegistry registry{log};
  FakeHttpRequest http{log};
  FakePinger pinger;
  FakeLauncher launcher{log};
  Form1Config config;

 private:
  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("quorvex form1 100%-" + std::to_string(std::random_device{}()));
  std::unique_ptr<Form1> form_;
};

// The settings file as the program writes it.
inline std::string SettingsFile(int limit, int checkTime, int sound, int autostart, int sort) {
  return "minPlayers= " + std::to_string(limit) + "\r\ncheckTime=" + (checkTime < 0 ? "" : " ") +
         std::to_string(checkTime) + "\r\nsound=" + std::to_string(sound) + "\r\nautostart=" + std::to_string(autostart) +
         "\r\nsort=" + std::to_string(sort) + "\r\n";
}

}  // namespace quorvex::testing
