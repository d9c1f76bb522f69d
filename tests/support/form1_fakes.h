// Fakes of every service Form1 is handed, and a rig that builds a Form1 over them.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/desktop.h"
#include "app/form1.h"
#include "menu/menu_model.h"
#include "servers/http_request.h"
#include "servers/server_table.h"
#include "settings/registry.h"
#include "tray/icmp.h"
#include "tray/launcher.h"
#include "tray/trayicon.h"

namespace quorvex::testing {

// One line per effect, shared by all fakes of a rig, so tests can check the order.
struct EventLog {
  std::vector<std::string> entries;
  void Add(std::string entry) { entries.push_back(std::move(entry)); }
};

// Whether `expected` appear in `log` in this order (other entries may stand between).
::testing::AssertionResult AppearInOrder(const std::vector<std::string>& log, const std::vector<std::string>& expected);

const char* TimerName(TimerId timer);

struct TimerChange {
  TimerId timer;
  bool enabled;
  int32_t intervalMs;
};

struct MessageBoxShown {
  Text caption;
  Text text;
};

class FakeDesktop : public Desktop {
 public:
  static constexpr NativeHandle kWindow = 0x3003, kNormalIcon = 0x1001, kAlertIcon = 0x2002;

  explicit FakeDesktop(EventLog& log) : log_(log) {}

  void DoEvents() override;
  void TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) override;
  void ShowMessageBox(const Text& caption, const Text& text) override;
  bool AcquireSingleInstance() override;
  void HideFromTaskList() override;
  NativeHandle WindowHandle() override { return kWindow; }
  NativeHandle NormalIcon() override { return kNormalIcon; }
  NativeHandle AlertIcon() override { return kAlertIcon; }
  void PlaySoundSync(const Text& name) override;
  void ShowPopup() override;
  void EndProgram() override;
  void ReportError(std::string_view handler, std::string_view message) override;

  // The last change of `timer`, if any.
  std::optional<TimerChange> LastChange(TimerId timer) const;

  bool otherInstanceRuns = false;
  std::optional<std::string> lockFailure;  // AcquireSingleInstance throws it
  // Runs at every yield with the yield's number (1, 2, ...), counted over the rig's life.
  std::function<void(int)> onYield;
  int yields = 0;
  std::vector<TimerChange> timerChanges;
  std::vector<MessageBoxShown> messageBoxes;
  std::vector<Text> sounds;
  int popups = 0;
  int endProgramCalls = 0;
  std::vector<std::string> errors;  // "handler: message"

 private:
  EventLog& log_;
};

struct TrayCall {
  uint32_t message;
  TrayIconData data;
};

class FakeTrayShell : public TrayShell {
 public:
  explicit FakeTrayShell(EventLog& log) : log_(log) {}
  void NotifyIcon(uint32_t message, const TrayIconData& data) override;

  // The calls that carried a balloon (an add with the info flag).
  std::vector<TrayCall> Balloons() const;
  std::vector<TrayCall> calls;

 private:
  EventLog& log_;
};

// HKEY_CURRENT_USER in memory: values by (subkey, name), DWORD or string.
class FakeRegistry : public Registry {
 public:
  using Value = std::variant<int32_t, Text>;
  explicit FakeRegistry(EventLog& log) : log_(log) {}

  Text GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) override;
  int32_t GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) override;
  void SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) override;
  void SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) override;
  void DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) override;

  std::optional<Value> Find(const Text& subkey, const Text& name) const;
  std::map<std::pair<Text, Text>, Value> values;
  // Every call as "Operation subkey|name" (writes add "=value").
  std::vector<std::string> calls;
  int writes = 0;  // SetRegDword, SetRegString and DeleteRegValue

 private:
  void Record(std::string call);
  EventLog& log_;
};

// Answers by URL; a URL without a scripted reply behaves like no network. Every send holds
// its reply for one yield, as a transfer in flight lets events run.
class FakeHttpRequest : public HttpRequest {
 public:
  struct Reply {
    Text body;
    int32_t status = 200;
  };
  explicit FakeHttpRequest(EventLog& log) : log_(log) {}

  void open(const Text& method, const Text& url) override;
  void send(EventPump& pump) override;
  Text responseText() override;
  int32_t status() override;

  std::map<Text, Reply> replies;
  // Runs at every open, before anything is sent, to see what the program had done by then.
  std::function<void(const Text& url)> onOpen;
  std::vector<Text> opened;     // "GET url"
  std::vector<Text> sentUrls;   // the URL of every send, failed ones included

 private:
  const Reply& Answer() const;
  EventLog& log_;
  Text openUrl_;
  bool answered_ = false;
};

// All hosts of a call are pinged in one wait: one yield after the last "ping" entry.
class FakePinger : public Pinger {
 public:
  explicit FakePinger(EventLog& log) : log_(log) {}
  // " 20" unless scripted.
  std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) override;

  std::map<Text, Text> answers;
  std::vector<Text> pinged;

 private:
  EventLog& log_;
};

class FakeLauncher : public Launcher {
 public:
  explicit FakeLauncher(EventLog& log) : log_(log) {}

  bool FindWindowByTitle(const Text& title) override;
  // Writes the text (UTF-8) where it is asked to, so a leftover file can be seen.
  void WriteBatchFile(const Text& path, const Text& text) override;
  void StartHidden(const Text& commandLine) override;
  bool StartThroughSteamCommand(const std::vector<Text>& arguments) override;

  bool steamWindow = false;
  bool steamCommand = false;  // joins go through the steam command, as on Linux
  std::optional<std::string> writeFailure;  // WriteBatchFile throws LaunchError with it
  std::optional<std::string> startFailure;  // StartHidden throws LaunchError with it
  std::vector<Text> titlesLookedFor;
  std::vector<std::pair<Text, Text>> batchFiles;  // (path, text)
  std::vector<Text> started;  // steam command arguments are joined by blanks

 private:
  EventLog& log_;
};

// A server as a test writes it into a list reply.
ServerRecord Server(const Text& name, const Text& address, int16_t players, const Text& version = u"1.80");
// The master's replies as the program reads them.
Text CountReply(int count);
Text ListReply(const std::vector<ServerRecord>& servers);

// The status summary as the tray shows it, put together here piece by piece (not with the
// program's own code) and cut at 127 units: two blanks after "Max Players:" from a poll, four
// from the player-limit menu.
Text ExpectedSummary(int maxPlayers, int totalPlayers, int serverCount, int playerLimit, int watchers,
                     int blanksAfterMaxPlayers = 2);

// The menu as comparable lines: name, index, caption, visible and check mark of every item.
std::vector<std::string> MenuLines(const MenuTree& menu);
// Names of the items whose check mark is set, e.g. {"menSort[3]", "menSound"}.
std::vector<std::string> CheckedItems(const MenuTree& menu, const std::string& name);

// A Form1 over fresh fakes with its own program folder (a blank and a "%" in its name, so
// paths are quoted and escaped where they must be). Nothing runs until a test says so.
class Form1Rig {
 public:
  static constexpr char kMaster[] = "127.0.0.1:28780";
  static const Text kLatestVersionUrl;
  static const Text kCountUrl;
  static Text ListUrl(int count);

  Form1Rig();
  ~Form1Rig();
  Form1Rig(const Form1Rig&) = delete;
  Form1Rig& operator=(const Form1Rig&) = delete;

  Form1& Form();
  void Load() { Form().Form_Load(); }
  // Timer1's tick, then Timer3's: one whole poll.
  void Poll();

  void ServeLatestVersion(const Text& body) { http.replies[kLatestVersionUrl] = {body}; }
  // The count reply and the list reply of exactly these servers.
  void ServeServers(const std::vector<ServerRecord>& servers);
  void PutSettingsFile(const std::string& bytes) const;
  void PutSettings(int playerLimit, int checkTime, int sound, int autostart, int sort) const;
  void InstallSteam(const Text& steamExe);

  Text Folder() const;
  bool FileExists(const std::string& name) const;
  std::string FileBytes(const std::string& name) const;
  void RemoveFile(const std::string& name) const;

  EventLog log;
  FakeDesktop desktop{log};
  FakeTrayShell trayShell{log};
  FakeRegistry registry{log};
  FakeHttpRequest http{log};
  FakePinger pinger{log};
  FakeLauncher launcher{log};
  Form1Config config;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<Form1> form_;
};

// The registry keys Form1 uses.
extern const Text kInternetSettingsKey, kGameKey, kSteamKey, kRunKey;

}  // namespace quorvex::testing
