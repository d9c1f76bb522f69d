// The console's event loop over Form1 with the console desktop, tray and launcher, and
// fakes for the network, the registry and stdin: on the virtual clock, so every run is
// the same.
#include "frontends/console/session.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "frontends/console/launcher.h"
#include "frontends/console/tray_shell.h"
#include "support/form1_fakes.h"

namespace quorvex {
namespace {

using testing::CountReply;
using testing::Form1Rig;
using testing::ListReply;
using testing::Server;

// Every event as one short line, the menus and tray records kept whole beside them.
class RecordingOutput : public ConsoleOutput {
 public:
  void Tray(uint32_t message, const TrayIconData& data) override {
    static const char* kOperations[] = {"add", "modify", "delete"};
    std::string operation = message <= kNimDelete ? kOperations[message] : "?";
    if (message == kNimAdd && (data.uFlags & kNifInfo) != 0) operation = "balloon " + ToUtf8(data.szInfo);
    events.push_back("tray " + operation + " | " + ToUtf8(data.szTip) + " | " +
                     std::string(IconName(ConsoleIcons{}, data.hIcon)));
  }
  void Menu(const MenuTree& menu, bool popup) override {
    events.push_back(popup ? "popup" : "menu");
    menus.push_back(menu);
  }
  void MessageBox(const Text& caption, const Text& text) override {
    if (failMessageBox) throw std::runtime_error("no box today");
    events.push_back("msgbox " + ToUtf8(caption) + " | " + ToUtf8(text));
  }
  void Sound(const Text& name) override { events.push_back("sound " + ToUtf8(name)); }
  void Start(const Text& commandLine) override { events.push_back("start " + ToUtf8(commandLine)); }
  void File(const Text& path, const Text& text) override {
    events.push_back("file " + ToUtf8(path));
    files.push_back(text);
  }
  void Error(std::string_view handler, std::string_view message) override {
    events.push_back("error " + std::string(handler) + ": " + std::string(message));
  }
  void Idle() override { events.push_back("idle"); }
  bool Closed() const override { return closed; }

  int Count(const std::string& prefix) const {
    int count = 0;
    for (const auto& event : events) count += event.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }

  std::vector<std::string> events;
  std::vector<MenuTree> menus;
  std::vector<Text> files;
  bool failMessageBox = false;
  bool closed = false;  // stdout's reader has gone
};

// stdin as a script: lines, stop signals, and actions the test runs between commands.
class ScriptedInput : public ConsoleInput {
 public:
  struct Item {
    std::string line;
    bool signal = false;
    std::function<void()> action;
  };

  InputEvent Wait(std::optional<int64_t>, std::string& line) override {
    for (;;) {
      if (TakeSignal()) return InputEvent::Signal;
      if (script.empty()) return InputEvent::EndOfInput;
      Item item = std::move(script.front());
      script.pop_front();
      if (item.action) {
        item.action();
        continue;
      }
      if (item.signal) return InputEvent::Signal;
      line = item.line;
      return InputEvent::Line;
    }
  }
  bool TakeReadyLine(std::string&) override { return false; }
  void WaitForActivity(int32_t, bool) override {}
  void Wake() override {}
  bool TakeSignal() override {
    if (looksBeforeSignal > 0 && --looksBeforeSignal == 0) signalPending = true;
    const bool pending = signalPending;
    signalPending = false;
    return pending;
  }

  std::deque<Item> script;
  bool signalPending = false;
  int looksBeforeSignal = 0;  // a signal comes at this look for one, if set
};

class HookedPinger : public Pinger {
 public:
  std::vector<Text> PingHosts(const std::vector<Text>& hosts, EventPump& pump) override {
    if (onPing) onPing();
    pump.DoEvents();
    return std::vector<Text>(hosts.size(), u" 20");
  }
  std::function<void()> onPing;
};

class FakeLock : public SingleInstanceLock {
 public:
  bool Acquire() override { return free; }
  bool free = true;
};

ScriptedInput::Item Line(std::string line) { return {std::move(line)}; }
ScriptedInput::Item Signal() { return {"", true}; }
ScriptedInput::Item Then(std::function<void()> action) { return {"", false, std::move(action)}; }

class ConsoleSessionTest : public ::testing::Test {
 protected:
  ConsoleSessionTest() {
    folder_ = std::filesystem::temp_directory_path() / ("quorvex console " + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    http.replies[Form1Rig::kLatestVersionUrl] = {u"beta 1.80\n"};
    Serve({});
  }
  ~ConsoleSessionTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Serve(const std::vector<ServerRecord>& servers) {
    const int count = static_cast<int>(servers.size());
    http.replies[Form1Rig::kCountUrl] = {CountReply(count)};
    http.replies[Form1Rig::ListUrl(count)] = {ListReply(servers)};
  }

  int Run(std::vector<ScriptedInput::Item> script) {
    input.script.assign(script.begin(), script.end());
    const Form1Config config{FromAscii(Form1Rig::kMaster), Form1Rig::kLatestVersionUrl, Folder(), u"quorvex-console"};
    form_ = std::make_unique<Form1>(Form1Services{desktop, trayShell, registry, http, pinger, launcher}, config);
    ConsoleSession session(*form_, desktop, input, output);
    desktop.Attach(session);
    return session.Run();
  }

  Text Folder() const { return FromUtf8(folder_.string()); }
  void PutFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string FileBytes(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // The events from the first one that starts with `prefix` on.
  std::vector<std::string> EventsFrom(const std::string& prefix) const {
    for (size_t i = 0; i < output.events.size(); ++i) {
      if (output.events[i].rfind(prefix, 0) == 0) return {output.events.begin() + i, output.events.end()};
    }
    return {};
  }
  Form1& Form() { return *form_; }

  testing::EventLog log;
  testing::FakeRegistry registry{log};
  testing::FakeHttpRequest http{log};
  HookedPinger pinger;
  RecordingOutput output;
  ConsoleClock clock{true};
  FakeLock lock;
  ConsoleDesktop desktop{output, clock, lock, ConsoleIcons{}};
  ConsoleTrayShell trayShell{output};
  ConsoleLauncher launcher{output};
  ScriptedInput input;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<Form1> form_;
};

const std::string kStartTip = "tray add | Current max players: N/A | normal";

// ---- start-up, the clock and the menu events --------------------------------------------

TEST_F(ConsoleSessionTest, StartUpShowsTheIconPrintsTheMenuOnceAndWaits) {
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(output.events, (std::vector<std::string>{"tray delete |  | none", kStartTip, "menu", "idle"}));
  EXPECT_TRUE(output.menus.back().Item("menSound").checked);
  EXPECT_TRUE(output.menus.back().Item("menRate", 2).checked);
  EXPECT_EQ(http.opened.size(), 3u);  // the latest version, the count, the list (opened, not sent)
}

TEST_F(ConsoleSessionTest, AdvanceRunsEachTickWhenItFallsDueAndNotBefore) {
  std::vector<int64_t> countRequestsAt;
  http.onOpen = [&](const Text& url) {
    if (url == Form1Rig::kCountUrl) countRequestsAt.push_back(clock.Now());
  };
  Run({Line("advance 249"), Line("advance 1"), Line("advance 19749"), Line("advance 1"), Line("advance 250")});
  const std::string summary = "tray modify | " + ToUtf8(testing::ExpectedSummary(0, 0, 0, 4, 0)) + " | normal";
  EXPECT_EQ(EventsFrom("idle"), (std::vector<std::string>{"idle",           // after start-up
                                                          "idle",           // 249 ms: nothing due
                                                          summary, "menu",  // 250 ms: Timer3
                                                          "idle",
                                                          "idle",  // 19,999 ms: Timer1 is due at 20,000
                                                          "idle",  // 20,000 ms: Timer1 shows nothing
                                                          summary, "menu", "idle"}));
  EXPECT_EQ(countRequestsAt, (std::vector<int64_t>{0, 20000}));
  EXPECT_EQ(clock.Now(), 20250);
}

TEST_F(ConsoleSessionTest, TheAlertsTimer2TicksBetweenTwoPollsInsideOneAdvance) {
  Serve({Server(u"Alpha", u"127.0.0.2", 4)});  // limit 4: equality fires
  Run({Line("advance 250"), Line("advance 20000")});
  const std::vector<std::string> events = EventsFrom("tray balloon");
  ASSERT_GE(events.size(), 9u);
  EXPECT_EQ(events[0], "tray balloon Player-limit of 4 reached!\r\nPlayers: 4 |  | alert");
  EXPECT_EQ(events[1], "sound bing.wav");
  EXPECT_EQ(events[2].rfind("tray modify | \r\nMax Players:   4", 0), 0u);
  EXPECT_EQ(events[3], "menu");
  EXPECT_EQ(events[4], "idle");
  EXPECT_EQ(events[5].rfind("tray delete", 0), 0u);
  EXPECT_EQ(events[6], "tray add | Player-limit has been reached | alert");  // 4,250 ms
  EXPECT_EQ(events[7].rfind("tray modify | \r\nMax Players:   4", 0), 0u);     // 20,250 ms
  EXPECT_EQ(events[7].substr(events[7].size() - 6), " alert");
  EXPECT_EQ(output.Count("tray balloon"), 1);
  EXPECT_EQ(output.Count("sound"), 1);
}

TEST_F(ConsoleSessionTest, AMenuEventFollowsOnlyTheHandlersThatWroteTheMenu) {
  Run({Line("click menAbout"), Line("click menSound"), Line("click menSort 3"), Line("advance 249")});
  EXPECT_EQ(EventsFrom("msgbox"), (std::vector<std::string>{
                                      "msgbox     Quorvex v1.8.3    |      Watching the servers so you do not have to.     ",
                                      "idle", "menu", "idle", "menu", "idle", "idle"}));
  EXPECT_FALSE(output.menus.at(1).Item("menSound").checked);
  EXPECT_TRUE(output.menus.at(2).Item("menSort", 3).checked);
}

// ---- the popup and clicks ----------------------------------------------------------------

TEST_F(ConsoleSessionTest, TheRightButtonPrintsThePopupAndNothingElse) {
  Run({Line("rbutton")});
  EXPECT_EQ(EventsFrom("idle"), (std::vector<std::string>{"idle", "popup", "idle"}));
}

TEST_F(ConsoleSessionTest, AClickActsOnTheServerThePopupShowedThoughAPollMovedTheTable) {
  Serve({Server(u"Alpha", u"127.0.0.2", 1), Server(u"Bravo", u"127.0.0.3", 2)});
  Run({Line("advance 250"), Line("rbutton"), Then([&] { Serve({Server(u"Zulu", u"127.0.0.9", 1)}); }),
       Line("advance 20000"), Line("click menServername 1")});
  ASSERT_EQ(output.Count("file"), 1);
  EXPECT_NE(ToUtf8(output.files[0]).find("server_address=127.0.0.2 server_port="), std::string::npos);
  EXPECT_EQ(output.Count("start \"" + ToUtf8(Folder()) + "/start.bat \""), 1);
}

TEST_F(ConsoleSessionTest, WithoutAPopupAClickActsOnTheCurrentMenu) {
  Serve({Server(u"Alpha", u"127.0.0.2", 1)});
  Run({Line("advance 250"), Line("click menServername 2"), Line("click menServername 3")});
  EXPECT_EQ(output.Count("file " + ToUtf8(Folder()) + "/start.bat"), 1);  // the separator starts nothing
  EXPECT_NE(ToUtf8(output.files.at(0)).find("server_address=127.0.0.2"), std::string::npos);
}

TEST_F(ConsoleSessionTest, ItemsThePopupCannotReachAreRefusedAndTheProgramGoesOn) {
  Serve({Server(u"Alpha", u"127.0.0.2", 1)});
  Run({Line("advance 250"), Line("rbutton"), Line("click menServername 4"), Line("click menNothing"),
       Line("click menExit 0"), Line("click menRate 3"), Line("click menSound")});
  EXPECT_EQ(EventsFrom("error"), (std::vector<std::string>{"error stdin: menu item menServername 4 is not shown",
                                                           "idle", "error stdin: no menu item menNothing", "idle",
                                                           "error stdin: no menu item menExit 0", "idle",
                                                           "error stdin: no menu item menRate 3", "idle", "menu",
                                                           "idle"}));
  EXPECT_EQ(output.Count("file"), 0);
}

TEST_F(ConsoleSessionTest, UnknownCommandsAndBadArgumentsAreErrorsOfStdin) {
  Run({Line("jump"), Line(""), Line("advance soon")});
  EXPECT_EQ(EventsFrom("idle"), (std::vector<std::string>{"idle", "error stdin: unknown command: jump", "idle", "idle",
                                                          "error stdin: advance: not a number of milliseconds: soon",
                                                          "idle"}));
}

TEST_F(ConsoleSessionTest, AnErrorThatReachesTheDispatchIsPrintedAndTheProgramGoesOn) {
  output.failMessageBox = true;
  Run({Line("click menAbout"), Line("click menSound")});
  EXPECT_EQ(EventsFrom("error"),
            (std::vector<std::string>{"error menAbout_Click: no box today", "idle", "menu", "idle"}));
}

// ---- the ways the program ends -----------------------------------------------------------

TEST_F(ConsoleSessionTest, ASignalActsAsExitAndSavesTheSettingsAndTheRunValue) {
  PutFile("Quorvex.ini", "minPlayers= 8\r\ncheckTime= 15\r\nsound=0\r\nautostart=1\r\nsort=9\r\n");
  EXPECT_EQ(Run({Line("click menSound"), Signal(), Line("click menSound")}), 0);
  EXPECT_EQ(output.events.back().rfind("tray delete", 0), 0u);  // no idle, no command after Exit
  EXPECT_EQ(FileBytes("Quorvex.ini"), "minPlayers= 8\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=5\r\n");
  const auto run = registry.Find(testing::kRunKey, u"Quorvex");
  ASSERT_TRUE(run);
  EXPECT_EQ(std::get<Text>(*run), u"\"" + Folder() + u"/quorvex-console.exe\"");
  EXPECT_TRUE(desktop.Ended());
  EXPECT_FALSE(desktop.Timers().NextDue());
}

// console-e2e closes a real pipe while the console waits for a command.
TEST_F(ConsoleSessionTest, AClosedStdoutInTheMiddleOfAPollActsAsExit) {
  Serve({Server(u"Alpha", u"127.0.0.2", 1)});
  pinger.onPing = [&] { output.closed = true; };
  EXPECT_EQ(Run({Line("advance 250"), Line("click menSound")}), 0);
  EXPECT_TRUE(Form().Exited());
  EXPECT_EQ(FileBytes("Quorvex.ini"), "minPlayers= 4\r\ncheckTime= 20\r\nsound=1\r\nautostart=1\r\nsort=0\r\n");
  EXPECT_TRUE(registry.Find(testing::kRunKey, u"Quorvex"));
}

TEST_F(ConsoleSessionTest, TheEndOfInputOnTheVirtualClockEndsTheRunWithoutExit) {
  const std::string settings = "minPlayers= 8\r\ncheckTime= 15\r\nsound=0\r\nautostart=1\r\nsort=9\r\n";
  PutFile("Quorvex.ini", settings);
  EXPECT_EQ(Run({Line("click menSound")}), 0);
  EXPECT_EQ(output.events.back(), "idle");
  EXPECT_EQ(FileBytes("Quorvex.ini"), settings);
  EXPECT_FALSE(registry.Find(testing::kRunKey, u"Quorvex"));
  EXPECT_EQ(registry.writes, 1);  // SyncMode5 at start-up, nothing at the end
  EXPECT_FALSE(desktop.Ended());
}

TEST_F(ConsoleSessionTest, ASignalInTheMiddleOfAPollStopsItWithoutATrace) {
  Serve({Server(u"Alpha", u"127.0.0.2", 1), Server(u"Bravo", u"127.0.0.3", 2)});
  pinger.onPing = [&] { input.signalPending = true; };
  EXPECT_EQ(Run({Line("advance 250"), Line("click menSound")}), 0);
  EXPECT_EQ(EventsFrom("idle"), (std::vector<std::string>{"idle", "tray delete | Current max players: N/A | normal"}));
  EXPECT_TRUE(Form().Exited());
  EXPECT_FALSE(desktop.Timers().NextDue());
}

TEST_F(ConsoleSessionTest, ExitDuringTheMenuRebuildIsFollowedByNoMenu) {
  Serve({Server(u"Alpha", u"127.0.0.2", 1), Server(u"Bravo", u"127.0.0.3", 2)});
  // The last ping's loop yields once more; the look after it is in the rebuild.
  pinger.onPing = [&] {
    if (input.looksBeforeSignal == 0) input.looksBeforeSignal = 3;
  };
  EXPECT_EQ(Run({Line("advance 250")}), 0);
  const std::vector<std::string> afterExit = EventsFrom("tray delete | \r\nMax");
  EXPECT_EQ(afterExit.size(), 1u);
  EXPECT_TRUE(Form().Exited());
}

TEST_F(ConsoleSessionTest, ClickingExitEndsTheRun) {
  EXPECT_EQ(Run({Line("click menExit"), Line("click menSound")}), 0);
  EXPECT_EQ(EventsFrom("idle"), (std::vector<std::string>{"idle", "tray delete | Current max players: N/A | normal"}));
  EXPECT_TRUE(registry.Find(testing::kRunKey, u"Quorvex"));
}

TEST_F(ConsoleSessionTest, ASecondInstanceOnTheSameHomeSaysSoAndEnds) {
  lock.free = false;
  EXPECT_EQ(Run({Line("click menSound")}), 0);
  EXPECT_EQ(output.events, (std::vector<std::string>{"msgbox Quorvex | Already running...."}));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(ToUtf8(Folder())) / "Quorvex.ini"));
  EXPECT_EQ(registry.writes, 0);
}

}  // namespace
}  // namespace quorvex
