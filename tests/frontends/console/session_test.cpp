// The console's event loop where its end-to-end run cannot reach: ticks inside one advance,
// which handlers print the menu, errors, and a stop signal at any moment.
#include "frontends/console/session.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "frontends/console/launcher.h"
#include "frontends/console/tray_shell.h"
#include "support/form1_fakes.h"

namespace quorvex {
namespace {

using testing::Form1Rig;
using testing::Server;

// Every event as one short line.
class RecordingOutput : public ConsoleOutput {
 public:
  void Tray(uint32_t message, const TrayIconData& data) override {
    const char* operations[] = {"add", "modify", "delete"};
    const std::string operation = message == kNimAdd && (data.uFlags & kNifInfo) != 0 ? "balloon" : operations[message];
    Add("tray " + operation + " " + std::string(IconName(ConsoleIcons{}, data.hIcon)) + " " + FirstLine(data.szTip));
  }
  void Menu(const MenuTree&, bool popup) override { Add(popup ? "popup" : "menu"); }
  void MessageBox(const Text& caption, const Text&) override {
    if (failMessageBox) throw std::runtime_error("no box today");
    Add("msgbox " + ToUtf8(caption));
  }
  void Sound(const Text& name) override { Add("sound " + ToUtf8(name)); }
  void Start(const Text&) override { Add("start"); }
  void File(const Text&, const Text& text) override { Add("file " + FirstLine(text.substr(text.find(u"start ")))); }
  void Error(std::string_view handler, std::string_view message) override {
    Add("error " + std::string(handler) + ": " + std::string(message));
  }
  void Idle() override { Add("idle"); }
  bool Closed() const override { return closed; }
  void Add(std::string event) { events.push_back(std::move(event)); }
  // The first line with text: enough to tell the tooltips apart.
  static std::string FirstLine(const Text& text) {
    const size_t start = text.rfind(u"\r\n", 0) == 0 ? 2 : 0;
    return ToUtf8(text.substr(start, text.find(u"\r\n", start) - start));
  }

  std::vector<std::string> events;
  bool failMessageBox = false;
  bool closed = false;  // stdout's reader has gone
};

// stdin as a script of lines and stop signals; a signal can also be raised from a fake.
class ScriptedInput : public ConsoleInput {
 public:
  InputEvent Wait(std::optional<int64_t>, std::string& line) override {
    if (TakeSignal()) return InputEvent::Signal;
    if (script.empty()) return InputEvent::EndOfInput;
    line = script.front();
    script.pop_front();
    return line == "SIGNAL" ? InputEvent::Signal : InputEvent::Line;
  }
  bool TakeReadyLine(std::string&) override { return false; }
  void WaitForActivity(int32_t, bool) override {}
  void Wake() override {}
  bool TakeSignal() override {
    if (looksBeforeSignal > 0 && --looksBeforeSignal == 0) signalPending = true;
    return std::exchange(signalPending, false);
  }
  std::deque<std::string> script;
  bool signalPending = false;
  int looksBeforeSignal = 0;  // a signal comes at this look for one, if set
};

class FreeLock : public SingleInstanceLock {
 public:
  bool Acquire() override { return true; }
};

// Form1 over the console's desktop, tray and launcher, with the rig's network and registry.
class ConsoleSessionTest : public ::testing::Test {
 protected:
  ConsoleSessionTest() { rig.http.replies[Form1Rig::kLatestVersionUrl] = {u"1.80"}; }
  // Runs the script; returns the events after start-up's first idle.
  std::vector<std::string> Run(std::deque<std::string> script) {
    input.script = std::move(script);
    rig.config.exeName = u"quorvex-console";
    form = std::make_unique<Form1>(Form1Services{desktop, trayShell, rig.registry, rig.http, rig.pinger, launcher}, rig.config);
    ConsoleSession session(*form, desktop, input, output);
    desktop.Attach(session);
    EXPECT_EQ(session.Run(), 0);
    const auto idle = std::find(output.events.begin(), output.events.end(), "idle");
    return {idle == output.events.end() ? idle : idle + 1, output.events.end()};
  }

  Form1Rig rig;
  RecordingOutput output;
  ConsoleClock clock{true};
  FreeLock lock;
  ConsoleDesktop desktop{output, clock, lock, ConsoleIcons{}};
  ConsoleTrayShell trayShell{output};
  ConsoleLauncher launcher{output};
  ScriptedInput input;
  std::unique_ptr<Form1> form;
};

TEST_F(ConsoleSessionTest, TheTicksDueInOneAdvanceRunInTheirOrder) {
  rig.Serve({Server(u"Alpha", u"127.0.0.2", 4)});  // limit 4: the first poll alerts
  EXPECT_EQ(Run({"advance 249", "advance 20001"}),
            (std::vector<std::string>{"idle",                                          // nothing due at 249 ms
                                      "tray delete normal Current max players: N/A",  // 250 ms: the poll
                                      "tray balloon alert ", "sound bing.wav", "tray modify alert Max Players:   4",
                                      "menu",
                                      "tray delete alert Max Players:   4",  // 4,250 ms: Timer2
                                      "tray add alert Player-limit has been reached",
                                      "tray modify alert Max Players:   4",  // 20,250 ms: the next poll
                                      "menu", "idle"}));
  EXPECT_EQ(clock.Now(), 20250);
}

TEST_F(ConsoleSessionTest, TheMenuIsPrintedAfterTheHandlersThatWroteItAndErrorsAfterTheirs) {
  rig.Serve({Server(u"Alpha", u"127.0.0.2", 1)});
  output.failMessageBox = true;
  EXPECT_EQ(Run({"advance 250", "click menAbout", "click menSound", "click menSort 3", "jump", "advance soon",
                 "click menServername 2",  // no popup was opened: the current menu's line
                 "click menServername 3",
                 "rbutton", "click menServername 4", "click menNothing", "click menExit 0", "click menRate 3"}),
            (std::vector<std::string>{
                "tray modify normal Max Players:   1", "menu", "idle", "error menAbout_Click: no box today", "idle",
                "menu", "idle", "menu", "idle", "error stdin: unknown command: jump", "idle",
                "error stdin: advance: not a number of milliseconds: soon", "idle",
                "file start rwr_game.exe server_address=127.0.0.2 server_port=27015", "start", "idle",
                "error stdin: menu item menServername 3 is not shown",  // one server: its separator is hidden
                "idle", "popup", "idle", "error stdin: menu item menServername 4 is not shown", "idle",
                "error stdin: no menu item menNothing", "idle", "error stdin: no menu item menExit 0", "idle",
                "error stdin: no menu item menRate 3", "idle"}));
}

TEST_F(ConsoleSessionTest, TheEndOfInputEndsTheRunWithoutExitSoNothingIsSaved) {
  EXPECT_EQ(Run({"click menSound"}), (std::vector<std::string>{"menu", "idle"}));
  EXPECT_EQ(rig.FileBytes("Quorvex.ini").find("sound=1"), 30u);  // the defaults of start-up
  EXPECT_EQ(rig.registry.writes, 1);  // SyncMode5 at start-up, nothing at the end
  EXPECT_FALSE(desktop.Ended());
}

TEST_F(ConsoleSessionTest, ASignalIsExit) {
  EXPECT_EQ(Run({"SIGNAL", "click menSound"}), (std::vector<std::string>{"tray delete normal Current max players: N/A"}));
  EXPECT_TRUE(desktop.Ended());
  EXPECT_FALSE(desktop.Timers().NextDue());
  EXPECT_TRUE(rig.registry.Find(testing::kRunKey, u"Quorvex"));
}

TEST_F(ConsoleSessionTest, ASignalInsideAPollStopsItWithoutATrace) {
  rig.Serve({Server(u"Alpha", u"127.0.0.2", 1), Server(u"Bravo", u"127.0.0.3", 2)});
  rig.pinger.onPing = [&] { input.signalPending = true; };
  EXPECT_EQ(Run({"advance 250", "click menSound"}), (std::vector<std::string>{"tray delete normal Current max players: N/A"}));
  EXPECT_TRUE(form->Exited());
}

TEST_F(ConsoleSessionTest, ASignalInsideThePollsRebuildIsFollowedByNoMenu) {
  rig.Serve({Server(u"Alpha", u"127.0.0.2", 1), Server(u"Bravo", u"127.0.0.3", 2)});
  // The last ping's loop yields once more; the look after it is in the rebuild.
  rig.pinger.onPing = [&] {
    if (input.looksBeforeSignal == 0) input.looksBeforeSignal = 3;
  };
  EXPECT_EQ(Run({"advance 250"}), (std::vector<std::string>{"tray modify normal Max Players:   2",
                                                             "tray delete normal Max Players:   2"}));
}

// console-e2e closes a real pipe while the console waits for a command.
TEST_F(ConsoleSessionTest, AClosedStdoutInTheMiddleOfAPollActsAsExit) {
  rig.Serve({Server(u"Alpha", u"127.0.0.2", 1)});
  rig.pinger.onPing = [&] { output.closed = true; };
  Run({"advance 250", "click menSound"});
  EXPECT_TRUE(form->Exited());
  EXPECT_EQ(rig.FileBytes("Quorvex.ini"), testing::SettingsFile(4, 20, 1, 1, 0));
  EXPECT_TRUE(rig.registry.Find(testing::kRunKey, u"Quorvex"));
}

}  // namespace
}  // namespace quorvex
