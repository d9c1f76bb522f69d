// Which program joins through which Steam on Linux, the steam:// link it is given, and which
// desktop entries open such links.
#include "join/steam_on_linux.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

ServerRecord Server(const Text& address, uint16_t port = 27015) { return {.address = address, .port = port}; }

std::string Shown(const std::optional<ProgramStart>& start) {
  if (!start) return "(none)";
  std::string shown = ToUtf8(start->program);
  for (const Text& argument : start->arguments) shown += " [" + ToUtf8(argument) + "]";
  return shown;
}

// Each row finds its own way and every later one too: the earliest found is taken.
TEST(SteamOnLinuxTest, TheFirstSteamFoundStartsTheGameWithTheSameArguments) {
  const struct {
    FoundSteam found;
    std::string started;
  } rows[] = {
      {{true, true, true, true}, "steam [-applaunch] [270150] [server_address=127.0.0.2] [server_port=40000]"},
      {{false, true, true, true},
       "flatpak [run] [com.valvesoftware.Steam] [-applaunch] [270150] [server_address=127.0.0.2] [server_port=40000]"},
      {{false, false, true, true},
       "snap [run] [steam] [-applaunch] [270150] [server_address=127.0.0.2] [server_port=40000]"},
      {{false, false, false, true}, "xdg-open [steam://run/270150//server_address%3D127.0.0.2%20server_port%3D40000/]"},
      {{true, false, false, false}, "steam [-applaunch] [270150] [server_address=127.0.0.2] [server_port=40000]"},
      {{false, false, true, false},
       "snap [run] [steam] [-applaunch] [270150] [server_address=127.0.0.2] [server_port=40000]"},
      {{}, "(none)"},
  };
  for (const auto& row : rows) EXPECT_EQ(Shown(SteamJoinStart(row.found, Server(u"127.0.0.2", 40000))), row.started);
}

// The host rule keeps such addresses from a join; were one to slip through, it still could
// neither add an argument nor an option, nor leave the link's segment.
TEST(SteamOnLinuxTest, NoAddressAddsAnArgumentOrAnOptionOrLeavesTheLink) {
  const struct {
    Text address;
    Text link;
  } rows[] = {
      {u"-oProxyCommand=x", u"steam://run/270150//server_address%3D-oProxyCommand%3Dx%20server_port%3D27015/"},
      {u"a b --c", u"steam://run/270150//server_address%3Da%20b%20--c%20server_port%3D27015/"},
      {u"x/../y?z#w", u"steam://run/270150//server_address%3Dx%2F..%2Fy%3Fz%23w%20server_port%3D27015/"},
      {u"$(touch pwned);'\"`", u"steam://run/270150//server_address%3D%24%28touch%20pwned%29%3B%27%22%60%20server_port%3D27015/"},
  };
  const FoundSteam kinds[] = {{.command = true}, {.flatpak = true}, {.snap = true}, {.linkHandler = true}};
  for (const auto& row : rows) {
    for (const FoundSteam& kind : kinds) {
      const ProgramStart start = *SteamJoinStart(kind, Server(row.address));
      const size_t fixed = start.arguments.size() - (kind.linkHandler ? 1 : 2);  // ours, then the game's
      for (size_t i = fixed; i < start.arguments.size(); ++i)
        EXPECT_NE(start.arguments[i][0], u'-') << Shown(start);
      EXPECT_EQ(start.arguments.size(), kind.command ? 4u : kind.linkHandler ? 1u : 6u) << Shown(start);
    }
    EXPECT_EQ(SteamRunLink(Server(row.address)), row.link) << ToUtf8(row.address);
  }
}

TEST(SteamOnLinuxTest, TheMessageNamesEveryWayLookedFor) {
  EXPECT_EQ(SteamNotFoundMessage(), u"Steam was not found: no steam command, no Flatpak com.valvesoftware.Steam, "
                                    u"no Snap steam, no handler for steam:// links.");
}

TEST(SteamOnLinuxTest, ADesktopEntryOpensSteamLinksByItsMimeTypeKeyUnlessHidden) {
  const struct {
    const char16_t* entry;
    bool opens;
  } rows[] = {
      {u"[Desktop Entry]\nName=Steam\nExec=steam %U\nMimeType=x-scheme-handler/steam;x-scheme-handler/steamlink;\n", true},
      {u"[Desktop Entry]\r\nMimeType = text/plain; X-Scheme-Handler/Steam ;\r\n", true},
      {u"[Desktop Entry]\nMimeType=x-scheme-handler/steam", true},
      {u"[Desktop Entry]\nMimeType=x-scheme-handler/steam;\nHidden=false\n", true},
      {u"[Desktop Entry]\nMimeType=x-scheme-handler/steam;\nHidden=true\n", false},
      {u"[Desktop Entry]\nMimeType=x-scheme-handler/http;x-scheme-handler/steam;\n", true},
      {u"[Desktop Entry]\nMimeType=x-scheme-handler/steamlink;x-scheme-handler/steam2;\n", false},
      {u"[Desktop Entry]\nMimeType=y-scheme-handler/steam;x-scheme-handler/steap;\n", false},
      {u"[Desktop Entry]\nMimeType=x-scheme-handler/steam-x;text/x-scheme-handler/steam\n", false},
      {u"[Desktop Entry]\n#MimeType=x-scheme-handler/steam;\n", false},
      {u"[Desktop Entry]\nMimeType[de]=x-scheme-handler/steam;\nX-MimeType=x-scheme-handler/steam;\n", false},
      {u"[Desktop Entry]\nName=A\n[Desktop Action Play]\nMimeType=x-scheme-handler/steam;\n", false},
      {u"MimeType=x-scheme-handler/steam;\n[Desktop Entry]\nName=A\n", false},
      {u"[Desktop Entry]\nExec=steam %U\nComment=opens x-scheme-handler/steam\n", false},
      {u"", false},
  };
  for (const auto& row : rows) EXPECT_EQ(OpensSteamLinks(row.entry), row.opens) << ToUtf8(row.entry);
}

}  // namespace
}  // namespace quorvex
