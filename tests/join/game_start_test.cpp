// A join on a launcher that finds Steam the Linux way: the program it starts, the box's text
// when nothing was found or the start failed, and the checks that come before either.
#include "join/game_start.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

class LinuxLauncher : public Launcher {
 public:
  explicit LinuxLauncher(FoundSteam found) : found_(found) {}
  bool FindWindowByTitle(const Text&) override { return ++windowsWays, false; }
  void WriteBatchFile(const Text&, const Text&) override { ++windowsWays; }
  void StartHidden(const Text&) override { ++windowsWays; }
  std::optional<FoundSteam> FindSteam() override { return ++searches, found_; }
  void StartProgram(const ProgramStart& start) override {
    if (failure) throw LaunchError(*failure);
    started.push_back(start);
  }

  int searches = 0, windowsWays = 0;
  std::vector<ProgramStart> started;
  std::optional<std::string> failure;

 private:
  FoundSteam found_;
};

ServerRecord Server(const Text& name, const Text& address, uint16_t fields = kNameBit | kAddressBit | kPortBit) {
  return {.name = name, .address = address, .port = 40000, .fromLatestReply = fields};
}

const JoinPlaces kPlaces{u"C:\\Steam\\steam.exe", u"C:\\Quorvex"};

// The name never reaches the program: only the address and the port do.
TEST(GameStartTest, TheProgramOfTheSteamFoundStartsOnceWithTheServersAddressAndNothingElseIsTried) {
  LinuxLauncher launcher({.flatpak = true, .snap = true});
  EXPECT_EQ(JoinServer(launcher, kPlaces, Server(u"$(touch pwned); \"-x\" `id` & Nine", u"127.0.0.2")), u"");
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0],
            (ProgramStart{u"flatpak",
                          {u"run", u"com.valvesoftware.Steam", u"-applaunch", u"270150", u"server_address=127.0.0.2",
                           u"server_port=40000"}}));
  EXPECT_EQ(launcher.windowsWays, 0);
}

TEST(GameStartTest, WithNoSteamFoundTheBoxNamesWhatWasTriedAndNothingStarts) {
  LinuxLauncher launcher({});
  EXPECT_EQ(JoinServer(launcher, kPlaces, Server(u"Nine", u"127.0.0.2")),
            u"Steam was not found: no steam command, no Flatpak com.valvesoftware.Steam, no Snap steam, "
            u"no handler for steam:// links.");
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(launcher.windowsWays, 0);
}

TEST(GameStartTest, AProgramThatCannotStartIsReportedAsTheGameNotStarting) {
  LinuxLauncher launcher({.linkHandler = true});
  launcher.failure = "xdg-open could not be started.";
  EXPECT_EQ(JoinServer(launcher, kPlaces, Server(u"Nine", u"127.0.0.2")),
            u"The game could not be started: xdg-open could not be started.");
}

// An entry the latest list did not write whole, or an address no command line may hold, is
// refused before Steam is even looked for.
TEST(GameStartTest, RefusedServersNeitherLookForSteamNorStartAnything) {
  const struct {
    ServerRecord server;
    Text box;
  } rows[] = {
      {Server(u"Nine", u"127.0.0.2", kNameBit | kPortBit), u"This server's entry is incomplete in the latest list."},
      {Server(u"Nine", u"-oProxyCommand=x"), u"This server's address cannot be joined."},
      {Server(u"Nine", u"1.2.3.4;id"), u"This server's address cannot be joined."},
  };
  for (const auto& row : rows) {
    LinuxLauncher launcher({.command = true});
    EXPECT_EQ(JoinServer(launcher, kPlaces, row.server), row.box) << ToUtf8(row.server.address);
    EXPECT_EQ(launcher.searches, 0);
    EXPECT_TRUE(launcher.started.empty());
  }
}

}  // namespace
}  // namespace quorvex
