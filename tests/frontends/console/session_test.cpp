// The console's event loop where console-e2e cannot reach: which handlers print the menu,
// errors and refused commands, the end of input, and a stop inside a poll.
#include "frontends/console/session.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>

#include "frontends/console/launcher.h"
#include "frontends/console/tray_shell.h"
#include "support/form1_fakes.h"

namespace quorvex {
namespace {

using testing::Form1Rig;

// stdout as one short line per event (a tray call as "tray" and "+", "~" or "-" for add,
// modify, delete; a message box cannot be shown), stdin as a script of lines and, at the
// given look for one, a stop signal; and a lock that is always free.
class ScriptedConsole : public ConsoleOutput, public ConsoleInput, public SingleInstanceLock {
 public:
  void Tray(uint32_t message, const TrayIconData&) override { events.push_back(std::string("tray ") + "+~-"[message]); }
  void Menu(const MenuTree&, bool popup) override { events.push_back(popup ? "popup" : "menu"); }
  void MessageBox(const Text&, const Text&) override { throw std::runtime_error("no box today"); }
  void Sound(const Text& name) override { events.push_back("sound " + ToUtf8(name)); }
  void Start(const Text&) override { events.push_back("start"); }
  void File(const Text&, const Text&) override { events.push_back("file"); }
  void Error(std::string_view handler, std::string_view message) override {
    events.push_back("error " + std::string(handler) + ": " + std::string(message));
  }
  void History(const HistoryChart& chart) override { events.push_back("history " + ToUtf8(chart.title)); }
  void Idle() override { events.push_back("idle"); }
  bool Closed() const override { return closed; }

  InputEvent Wait(std::optional<int64_t>, std::string& line) override {
    if (TakeSignal()) return InputEvent::Signal;
    if (script.empty()) return InputEvent::EndOfInput;
    line = std::exchange(script.front(), {});
    script.pop_front();
    return InputEvent::Line;
  }
  bool TakeReadyLine(std::string&) override { return false; }
  void WaitForActivity(int32_t, bool) override {}
  void Wake() override {}
  bool TakeSignal() override { return looksBeforeSignal > 0 && --looksBeforeSignal == 0; }
  bool Acquire() override { return true; }

  std::vector<std::string> events;
  bool closed = false;  // stdout's reader has gone
  std::deque<std::string> script;
  int looksBeforeSignal = 0;
};

// Form1 over the console's desktop, tray and launcher, with the rig's network and registry. Run
// takes the script and one listed server, and returns the events after start-up's first idle.
struct ConsoleRun {
  std::vector<std::string> Run(std::deque<std::string> script) {
    console.script = std::move(script);
    rig.replies[Form1Rig::kLatestVersionUrl] = u"1.80";
    rig.Serve(testing::WithPlayers({1}));
    form = std::make_unique<Form1>(
        Form1Services{desktop, trayShell, rig, rig, rig, launcher, rig.notifier, rig.makeHistoryFolder}, rig.config);
    ConsoleSession session(*form, desktop, console, console);
    desktop.Attach(session);
    EXPECT_EQ(session.Run(), 0);
    const auto idle = std::find(console.events.begin(), console.events.end(), "idle");
    return {idle == console.events.end() ? idle : idle + 1, console.events.end()};
  }

  Form1Rig rig;
  ScriptedConsole console;
  ConsoleClock clock{true};
  ConsoleDesktop desktop{console, clock, console, ConsoleIcons{}};
  ConsoleTrayShell trayShell{console};
  ConsoleLauncher launcher{console};
  std::unique_ptr<Form1> form;
};

// The menu follows a handler that wrote it, an error the handler it ended, and a command that
// names nothing shown is refused; the end of input ends the run without Exit, saving nothing.
TEST(ConsoleSession, TheMenuAfterTheHandlersThatWroteItErrorsAndRefusals) {
  ConsoleRun run;
  EXPECT_EQ(run.Run({"advance 250", "click menAbout", "click menSound", "jump", "click menServername 3", "rbutton",
                     "click menServername 2", "click menNothing", "click menExit 0"}),
            (std::vector<std::string>{"tray ~", "menu", "idle", "error menAbout_Click: no box today", "idle", "menu",
                                      "idle", "error stdin: unknown command: jump", "idle",
                                      "error stdin: menu item menServername 3 is not shown",  // one server's separator
                                      "idle", "popup", "idle", "file", "start", "idle",
                                      "error stdin: no menu item menNothing", "idle",
                                      "error stdin: no menu item menExit 0", "idle"}));
  EXPECT_FALSE(run.desktop.Ended());
  EXPECT_EQ(run.rig.Entries("registry Set").size(), 1u);  // SyncMode5 at start-up, nothing at the end
}

// A stop signal inside the poll's rebuild, or stdout's reader gone inside its ping (a closed
// pipe once killed the console), is an Exit there: no menu follows, the settings are saved.
TEST(ConsoleSession, AStopInsideAPollIsAnExitThere) {
  using Case = std::tuple<int, bool, std::vector<std::string>>;  // the signal's look, stdout closed, the events
  for (const auto& [looks, closes, tail] : {Case{2, false, {"tray ~", "tray -"}}, Case{0, true, {"tray -"}}}) {
    ConsoleRun run;
    run.rig.onPing = [&] {
      run.console.looksBeforeSignal = looks;  // the ping's own wait is the first look, the rebuild's come next
      run.console.closed = closes;
    };
    EXPECT_EQ(run.Run({"advance 250", "click menSound"}), tail) << looks;
    EXPECT_TRUE(run.form->Exited());
    EXPECT_EQ(run.rig.FileBytes("Quorvex.ini"), testing::SettingsFile(4, 20, 1, 1, 0));
    EXPECT_EQ(run.rig.Entries("registry SetRegString").size(), 1u);
  }
}

// "history" prints the chart of its range, as "History…" prints the first one its window
// shows; without a history= line there is none to print.
TEST(ConsoleSession, TheHistoryCommandAndItemPrintTheChart) {
  ConsoleRun kept;
  std::ofstream(ToUtf8(kept.rig.Folder()) + "/Quorvex.ini") << testing::SettingsFile(4, 20, 0, 0, 0) << "history=30\r\n";
  EXPECT_EQ(kept.Run({"history 7d", "rbutton", "click menHistory", "history 30d"}),
            (std::vector<std::string>{"history Players, last 7 days", "idle", "popup", "idle",
                                      "history Players, last 24 hours", "idle", "history Players, last 30 days",
                                      "idle"}));
  ConsoleRun none;
  EXPECT_EQ(none.Run({"history"}),
            (std::vector<std::string>{"error history: Quorvex.ini has no usable history= line: no player history is kept",
                                      "idle"}));
}

}  // namespace
}  // namespace quorvex
