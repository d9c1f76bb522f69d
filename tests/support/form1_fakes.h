// A rig that is every service Form1 is handed, and builds a Form1 over them.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "app/desktop.h"
#include "app/form1.h"
#include "common/numbers.h"
#include "common/steps.h"
#include "menu/server_items.h"

namespace quorvex::testing {

using Log = std::vector<std::string>;

// A server as a test writes it into a list reply.
inline ServerRecord Server(const Text& name, const Text& address, int16_t players, const Text& version = u"1.80") {
  return ServerRecord{.name = name, .address = address, .dedicated = u"1", .port = 27015, .current_players = players,
                      .version = version, .fromLatestReply = kEveryFieldBit};  // as a reply that listed it whole
}

// Servers "S1".."Sn" on 127.0.0.1..n with these player counts and the latest version.
inline std::vector<ServerRecord> WithPlayers(const std::vector<int16_t>& players) {
  std::vector<ServerRecord> servers;
  for (int i = 1; i <= static_cast<int>(players.size()); ++i)
    servers.push_back(Server(u"S" + FormatPlain(i), u"127.0.0." + FormatPlain(i), players[static_cast<size_t>(i - 1)]));
  return servers;
}

inline Text ListReply(const std::vector<ServerRecord>& servers) {
  auto element = [](const Text& tag, const Text& text) { return u"<" + tag + u">" + text + u"</" + tag + u">"; };
  Text reply = u"<result>";
  for (const ServerRecord& s : servers)
    reply += u"<server>" + element(u"name", s.name) + element(u"address", s.address) +
             element(u"port", FormatPlain(s.port)) + element(u"current_players", FormatPlain(s.current_players)) +
             element(u"version", s.version) +
             element(u"dedicated", s.dedicated) + element(u"watchers", FormatPlain(s.watchers)) +
             element(u"player_names", s.player_names) + u"</server>";
  return reply + u"</result>";
}

// The indexes of the checked items of a control array, e.g. {3} for "menSort".
inline std::vector<int> Checked(const MenuTree& menu, const std::string& name) {
  std::vector<int> checked;
  for (int index = -1; index <= kServerItems; ++index)
    if (menu.Has(name, index) && menu.Item(name, index).checked) checked.push_back(index);
  return checked;
}

inline const Text kRunValue = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run|Quorvex";
inline const Text kInstalledValue = u"Software\\Valve\\Steam\\Apps\\270150|Installed";
inline const Text kSteamExeValue = u"Software\\Valve\\Steam\\|SteamExe";

// The settings file as the program writes it.
inline std::string SettingsFile(int limit, int checkTime, int sound, int autostart, int sort) {
  return "minPlayers= " + std::to_string(limit) + "\r\ncheckTime=" + (checkTime < 0 ? "" : " ") +
         std::to_string(checkTime) + "\r\nsound=" + std::to_string(sound) +
         "\r\nautostart=" + std::to_string(autostart) + "\r\nsort=" + std::to_string(sort) + "\r\n";
}

// The notifyCommands Form1's runner was asked to start, recorded on the runner's thread.
struct StartedCommands {
  std::mutex mutex;
  std::vector<CommandRequest> requests;
};

// The program "missing" cannot start, "fails" ends with exit code 1, any other with 0.
struct RecordingStarter : CommandStarter {
  struct Ended : CommandProcess {
    explicit Ended(CommandEnd end) : end(end) {}
    std::optional<CommandEnd> WaitFor(std::chrono::milliseconds) override { return end; }
    void End() override {}
    CommandEnd end;
  };
  explicit RecordingStarter(StartedCommands& started) : started(started) {}
  std::unique_ptr<CommandProcess> Start(const CommandRequest& request) override {
    const std::lock_guard lock(started.mutex);
    started.requests.push_back(request);
    const Text& program = request.arguments.at(0);
    if (program == u"missing") throw CommandStartError("No such file or directory");
    return std::make_unique<Ended>(CommandEnd{program == u"fails" ? 1u : 0u, 0});
  }
  StartedCommands& started;
};

// Each service writes one line per effect into `log`, so a test reads effects and their order
// there. The program folder has a blank and a "%" in its name, so paths are quoted and escaped.
class Form1Rig : public Desktop, public TrayShell, public Registry, public HttpRequest, public Pinger, public Launcher {
 public:
  static constexpr NativeHandle kWindow = 0x3003, kNormalIcon = 0x1001, kAlertIcon = 0x2002;
  static inline const Text kLatestVersionUrl = u"http://127.0.0.1:28780/latest_version.txt";
  static inline const Text kCountUrl = u"http://127.0.0.1:28780/rwr_server_list/get_server_count.php";
  static Text ListUrl(int count) {
    return u"http://127.0.0.1:28780/rwr_server_list/get_server_list.php?start=0&size=" + FormatPlain(count);
  }

  Form1Rig() {
    std::filesystem::create_directories(folder_);
    config = Form1Config{u"127.0.0.1:28780", kLatestVersionUrl, Folder(), u"quorvex"};
  }
  ~Form1Rig() override {
    form_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  Form1& Form() {
    if (!form_)
      form_ = std::make_unique<Form1>(Form1Services{*this, *this, *this, *this, *this, *this, notifier, makeHistoryFolder, makeFeatures}, config);
    return *form_;
  }
  // Start-up with these settings, version and servers; `firstPoll` runs Timer3's part too.
  Form1& Start(const std::string& settings, const std::vector<ServerRecord>& servers, bool firstPoll = true,
               const Text& latest = u"1.80") {
    if (!settings.empty()) std::ofstream(folder_ / "Quorvex.ini", std::ios::binary) << settings;
    replies[kLatestVersionUrl] = latest;
    Serve(servers);
    RunHandler([&] { Form().Form_Load(); });
    if (firstPoll) RunHandler([&] { Form().Timer3_Timer(); });
    return Form();
  }
  // Timer1's tick, then Timer3's: one whole poll, each run as a front end's dispatch does.
  void Poll() {
    RunHandler([&] { Form().TimerTick(TimerId::Timer1); });
    RunHandler([&] { Form().TimerTick(TimerId::Timer3); });
  }
  // The count reply and the list reply of exactly these servers.
  void Serve(const std::vector<ServerRecord>& servers) {
    const int count = static_cast<int>(servers.size());
    replies[kCountUrl] = u"<result><servers>" + FormatPlain(count) + u"</servers></result>";
    replies[ListUrl(count)] = ListReply(servers);
  }
  // The notifyCommands started so far, once none runs or waits.
  std::vector<CommandRequest> Commands() {
    EXPECT_TRUE(notifier.WaitUntilIdle(std::chrono::seconds(10)));
    const std::lock_guard lock(started.mutex);
    return started.requests;
  }
  Text Tip() { return Form().Tray().Data().szTip; }
  NativeHandle Icon() { return Form().Tray().Data().hIcon; }
  bool TimerOn(TimerId timer) { return Form().GetTimer(timer).Enabled; }
  // The log entries that start with `prefix`, without it.
  Log Entries(const std::string& prefix) const {
    Log found;
    for (const std::string& entry : log)
      if (entry.rfind(prefix, 0) == 0) found.push_back(entry.substr(prefix.size()));
    return found;
  }
  Text Folder() const { return FromUtf8(folder_.string()); }
  // The file's bytes, "(folder)" for a folder, "(none)" when there is nothing of that name.
  std::string FileBytes(const std::string& name) const {
    if (std::filesystem::is_directory(folder_ / name)) return "(folder)";
    std::ifstream in(folder_ / name, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(none)";
  }

  // Desktop: "timer", "msgbox", "sound", "popup", "end", "error" entries.
  void DoEvents() override {
    ++yields;
    if (onYield) onYield(yields);
  }
  void TimerChanged(TimerId timer, bool enabled, int32_t ms) override {
    log.push_back("timer Timer" + std::to_string(static_cast<int>(timer) + 1) + (enabled ? " on " : " off ") +
                  std::to_string(ms));
  }
  void ShowMessageBox(const Text& caption, const Text& text) override {
    log.push_back(ToUtf8(u"msgbox " + caption + u"|" + text));
  }
  bool AcquireSingleInstance() override {
    log.push_back("single-instance");
    if (lockFailure) throw std::runtime_error(*lockFailure);
    return !otherInstanceRuns;
  }
  void HideFromTaskList() override { log.push_back("hide"); }
  NativeHandle WindowHandle() override { return kWindow; }
  NativeHandle NormalIcon() override { return kNormalIcon; }
  NativeHandle AlertIcon() override { return kAlertIcon; }
  void PlaySoundSync(const Text& name) override { log.push_back("sound " + ToUtf8(name)); }
  void ShowPopup() override { log.push_back("popup"); }
  void EndProgram() override { log.push_back("end"); }
  void ReportError(std::string_view handler, std::string_view message) override {
    log.push_back("error " + std::string(handler) + ": " + std::string(message));
  }
  int64_t NowMs() override { return nowMs; }
  int64_t WallClockMs() override { return wallClockMs; }
  int32_t LocalOffsetMinutes(int64_t) override { return localOffsetMinutes; }
  void ShowHistory() override { log.push_back("history window"); }

  // TrayShell: "tray add|modify|delete|balloon|balloon-only <tooltip>"; a balloon is an add
  // with the info flag, a balloon-only a modify with it.
  void NotifyIcon(uint32_t message, const TrayIconData& data) override {
    trayData.push_back(data);
    const char* names[] = {"add", "modify", "delete"};
    const char* balloons[] = {"balloon", "balloon-only", "delete"};
    const bool balloon = (data.uFlags & kNifInfo) != 0;
    log.push_back(std::string("tray ") + (balloon ? balloons : names)[message] + " " + ToUtf8(data.szTip));
  }

  // Registry: HKEY_CURRENT_USER in memory, values by "subkey|name"; writes are logged.
  Text GetRegString(uint32_t, const Text& key, const Text& name, const Text& def) override {
    return Get(key, name, def);
  }
  int32_t GetRegDword(uint32_t, const Text& key, const Text& name, int32_t def) override { return Get(key, name, def); }
  void SetRegDword(uint32_t, const Text& key, const Text& name, int32_t value) override {
    SetValue("SetRegDword", key + u"|" + name, FormatPlain(value), value);
  }
  void SetRegString(uint32_t, const Text& key, const Text& name, const Text& value) override {
    SetValue("SetRegString", key + u"|" + name, value, value);
  }
  void DeleteRegValue(uint32_t, const Text& key, const Text& name) override {
    log.push_back("registry DeleteRegValue " + ToUtf8(key + u"|" + name));
    values.erase(key + u"|" + name);
  }

  // HttpRequest: a URL without a scripted reply is no network; every send waits one yield.
  void open(const Text&, const Text& url) override {
    log.push_back("http open " + ToUtf8(url));
    url_ = url;
  }
  void send(EventPump& pump) override {
    log.push_back("http send " + ToUtf8(url_));
    pump.DoEvents();
    if (replies.count(url_) == 0) throw HttpError("no connection to " + ToUtf8(url_));
  }
  Text responseText() override { return replies.at(url_); }  // asked only after a send that succeeded
  int32_t status() override { return httpStatus; }

  // Pinger: all hosts of a call are pinged in one wait, one yield after the last of them.
  std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) override {
    pinged += hosts.size();
    if (onPing) onPing();
    std::vector<Text> results;
    for (const Text& host : hosts) results.push_back(answers.count(host) ? answers[host] : Text(u" 20"));
    results.resize(std::min(results.size(), resultsKept));
    pump.DoEvents();
    return results;
  }

  // Launcher: "write" and "start" entries; the batch file is written, so a leftover shows.
  bool FindWindowByTitle(const Text& title) override { return steamWindow && title == u"Steam"; }
  void WriteBatchFile(const Text& path, const Text& text) override {
    log.push_back("write " + ToUtf8(path));
    std::ofstream(std::filesystem::path(ToUtf8(path)), std::ios::binary) << ToUtf8(text);
  }
  void StartHidden(const Text& commandLine) override {
    log.push_back("start " + ToUtf8(commandLine));
    if (startFailure) throw LaunchError(*startFailure);
  }

  Log log;
  std::function<FeatureList(const Settings&, const FeatureServices&)> makeFeatures = MakeFeatures;
  Form1Config config;
  int yields = 0;
  int64_t nowMs = 0;  // the monotonic clock NowMs reads
  int64_t wallClockMs = 1796688000000;  // the time of day WallClockMs reads: 2026-12-08T00:00Z
  int32_t localOffsetMinutes = 0;
  HistoryFolderMaker makeHistoryFolder = MakeHistoryFolder;  // the real files, in the rig's folder
  std::function<void(int)> onYield;  // runs at every yield with its number, counted over the rig's life
  bool otherInstanceRuns = false;
  std::optional<std::string> lockFailure;  // AcquireSingleInstance throws it
  std::vector<TrayIconData> trayData;      // of every tray call
  std::map<Text, std::variant<int32_t, Text>> values;  // the registry's
  std::map<Text, Text> replies;                        // body by URL
  int32_t httpStatus = 200;                            // of every reply
  std::map<Text, Text> answers;                        // ping results by host; " 20" unless scripted
  size_t resultsKept = SIZE_MAX;                       // an echo that returns fewer results than hosts
  size_t pinged = 0;
  std::function<void()> onPing;  // runs once a call, before its wait
  bool steamWindow = false;
  std::optional<std::string> startFailure;  // the LaunchError StartHidden throws
  StartedCommands started;
  CommandRunner notifier{std::make_unique<RecordingStarter>(started)};

 private:
  template <typename T>
  T Get(const Text& key, const Text& name, const T& def) const {
    const auto found = values.find(key + u"|" + name);
    return found != values.end() && std::holds_alternative<T>(found->second) ? std::get<T>(found->second) : def;
  }
  void SetValue(const std::string& call, const Text& key, const Text& shown, const std::variant<int32_t, Text>& value) {
    log.push_back("registry " + call + " " + ToUtf8(key + u"=" + shown));
    values[key] = value;
  }

  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("quorvex form1 100%-" + std::to_string(std::random_device{}()));
  std::unique_ptr<Form1> form_;
  Text url_;
};

// For yield 1, 2, ... of `handler`: a fresh rig made ready by `setup`, `act` inside that yield,
// `check` after the handler. Returns how many yields the handler made (or the first that failed).
inline int AtEachYield(const std::function<void(Form1Rig&)>& setup, const std::function<void(Form1Rig&)>& handler,
                       const std::function<void(Form1Rig&)>& act, const std::function<void(Form1Rig&)>& check) {
  for (int target = 1;; ++target) {
    Form1Rig rig;
    setup(rig);
    const int at = rig.yields + target;
    rig.onYield = [&](int n) {
      if (n == at) act(rig);
    };
    RunHandler([&] { handler(rig); });
    if (rig.yields < at) return target - 1;
    SCOPED_TRACE("at yield " + std::to_string(target));
    check(rig);
    if (::testing::Test::HasFailure()) return target;
  }
}

}  // namespace quorvex::testing
