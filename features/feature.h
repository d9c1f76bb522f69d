// A feature past the five lines of Quorvex.ini (the player watch, the history, ...): what it
// adds to the menu, what it makes of each answered poll, and what its clicks do. Form1 holds
// the features a Quorvex.ini switched on and calls each at its hooks, in the order they were
// made; it knows none of them by name.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "menu/menu_model.h"
#include "menu/popup_snapshot.h"
#include "notify/command_runner.h"
#include "servers/server_table.h"
#include "tray/tooltip_text.h"
#include "tray/trayicon.h"
#include "watch/listed_servers.h"
#include "watch/news_balloon.h"

namespace quorvex {

// What a feature may ask of the program.
class FeatureHost {
 public:
  // Starts the game on `server`, or tells the player why not, as a click on its server line.
  virtual void Join(const ServerRecord& server) = 0;
  // The program's monotonic clock, and the wall clock (UTC), in milliseconds.
  virtual int64_t NowMs() = 0;
  virtual int64_t WallClockMs() = 0;

 protected:
  ~FeatureHost() = default;
};

// A balloon about to be shown, with its sound: the player-limit one or a feature's news.
struct BalloonToShow {
  NotifyEvent event;
  const Text& text;
  const std::optional<ServerRecord>& server;  // the server a click on it joins, if one
};

// One answered list request: every <server> of the reply, decoded once for all features.
struct AnsweredList {
  const std::vector<ListedServer>& servers;
  int32_t status;  // the HTTP status: 200 when the reply is a list, not a master's error page
};

class Feature {
 public:
  virtual ~Feature() = default;

  // Form_Load, once Quorvex.ini is read: the popup items it adds after the Servers submenu
  // (after the items of the features made before it).
  virtual std::vector<MenuItem> MenuItems() { return {}; }
  // Form_Load, after its items are in the menu.
  virtual void Start() {}
  // Whether it reads the players' names of a reply; without any feature that does, the scan
  // leaves them unread (most of a scan's time).
  virtual bool ReadsPlayerNames() const { return false; }
  // Timer3_Timer, right after the reply is parsed and before the pings' wait (an Exit during
  // it still finds the reply taken). Returns a problem to report, if any.
  virtual std::optional<std::string> TakeList(const AnsweredList&) { return std::nullopt; }
  // Timer3_Timer, after the servers menu is rebuilt, with the poll's figures (the tooltip's).
  // Returns whether it wrote the menu.
  virtual bool PollEnded(const AnsweredList&, const PollFigures&, MenuTree&) { return false; }
  // The icon the tray shows for `designed` (the normal or the alert icon) at `figures`, each
  // time the program sets it; one drawn on, or `designed` itself.
  virtual NativeHandle TrayIcon(NativeHandle designed, const PollFigures& /*figures*/) { return designed; }
  // Whether it holds `balloon` back: then neither the balloon nor its sound comes now (the
  // notifyCommand still runs), and telling it later is the feature's, by TakeNews.
  virtual bool HoldBalloon(const BalloonToShow& /*balloon*/) { return false; }
  // Timer3_Timer, when no player-limit balloon is up: the balloon of its news, if it has any;
  // taking it forgets the news. One news balloon a poll: a later feature's news waits.
  virtual std::optional<NewsBalloon> TakeNews(std::u16string_view /*lineBreak*/) { return std::nullopt; }
  // What the popup opened now shows of it, for its clicks.
  virtual void AddToSnapshot(PopupSnapshot&) const {}
  // A click on an item of `snapshot` (the popup it was made in); false for an item not its own.
  virtual bool Click(std::string_view /*name*/, int /*index*/, const PopupSnapshot& /*snapshot*/) { return false; }
  // Form_Unload: whatever must be written before the program ends. Returns a problem to report.
  virtual std::optional<std::string> Unload() { return std::nullopt; }
};

}  // namespace quorvex
