// The Qt launcher's join against real processes: stand-in steam, flatpak, snap and xdg-open
// commands on the PATH that write their arguments one a line, a Flatpak installation, /snap/bin
// and desktop entries laid out as flatpak, snapd and packages lay them out, in a folder of the
// test's own.
#include "frontends/qt/launcher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <memory>

#include "join/game_start.h"

namespace quorvex {
namespace {

using namespace std::chrono_literals;

enum Install : unsigned {
  kFlatpakApp = 1u << 0,     // com.valvesoftware.Steam deployed in the system installation
  kFlatpakLeftover = 1u << 1,  // only its folder, as a removed one may leave it
  kSnap = 1u << 2,           // /snap/bin/steam
  kOtherSnap = 1u << 5,      // /snap/bin/firefox only
  kLinkHandler = 1u << 3,    // a desktop entry, one folder down, that opens steam:// links
  kOtherEntry = 1u << 4,     // a desktop entry for other links
};

class QtLauncherTest : public testing::Test {
 protected:
  void SetUp() override { oldPath_ = qgetenv("PATH"); }
  void TearDown() override { qputenv("PATH", oldPath_); }

  // A new folder for a case, its bin/ the whole PATH: nothing of this machine's.
  void Fresh() {
    root_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(root_->isValid());
    qputenv("PATH", Path("bin").toUtf8());
  }

  QString Path(const QString& name) const { return root_->filePath(name); }

  void MakeFolder(const QString& name) const { ASSERT_TRUE(QDir().mkpath(Path(name))); }

  void MakeFile(const QString& name, const QByteArray& text, bool executable = false) const {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(Path(name)).path()));
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    if (executable) file.setPermissions(file.permissions() | QFile::ExeOwner);
  }

  // A command that writes its arguments, one a line, to COMMAND-args, whole or not at all
  // (mv by its path: the PATH holds only the stand-ins).
  void MakeCommand(const QString& command) const {
    const QByteArray file = "'" + Path(command + "-args").toUtf8() + "'";
    MakeFile("bin/" + command, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + file + ".new && /bin/mv " + file + ".new " + file + "\n",
             true);
  }

  void MakeInstalls(unsigned installs) const {
    const QString app = "system-flatpak/app/com.valvesoftware.Steam";
    if (installs & kFlatpakLeftover) MakeFolder(app);
    if (installs & kFlatpakApp) {  // current -> x86_64/stable, whose active -> its deployed commit
      MakeFolder(app + "/x86_64/stable/2f1c0de/files");
      ASSERT_TRUE(QFile::link("2f1c0de", Path(app + "/x86_64/stable/active")));
      ASSERT_TRUE(QFile::link("x86_64/stable", Path(app + "/current")));
    }
    if (installs & kSnap) {
      MakeFolder("snap-bin");
      ASSERT_TRUE(QFile::link(Path("bin/snap"), Path("snap-bin/steam")));  // as snapd links it to /usr/bin/snap
    }
    if (installs & kOtherSnap) {
      MakeFolder("snap-bin");
      ASSERT_TRUE(QFile::link(Path("bin/snap"), Path("snap-bin/firefox")));
    }
    if (installs & kLinkHandler)
      MakeFile("applications/valve/steam.desktop",
               "[Desktop Entry]\nName=Steam\nExec=steam %U\nType=Application\n"
               "MimeType=x-scheme-handler/steam;x-scheme-handler/steamlink;\n");
    if (installs & kOtherEntry)
      MakeFile("applications/browser.desktop",
               "[Desktop Entry]\nName=Browser\nExec=browser %u\nType=Application\n"
               "MimeType=x-scheme-handler/http;x-scheme-handler/steamlink;\n");
  }

  SteamPlaces Places() const {
    return {{Path("user-flatpak"), Path("system-flatpak")}, Path("snap-bin"), {Path("nothing"), Path("applications")}};
  }

  // The lines the command wrote, once it has written them; empty when it did not start.
  QStringList ArgumentsOf(const QString& command, std::chrono::milliseconds patience) const {
    QFile file(Path(command + "-args"));
    for (auto waited = 0ms; waited < patience && !file.exists(); waited += 20ms) QThread::msleep(20);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  }

  std::unique_ptr<QTemporaryDir> root_;
  QByteArray oldPath_;
};

ServerRecord Nine(const Text& name) {
  return {.name = name, .address = u"127.0.0.2", .port = 40000, .fromLatestReply = kNameBit | kAddressBit | kPortBit};
}

const QStringList kSteamArguments{"-applaunch", "270150", "server_address=127.0.0.2", "server_port=40000"};
const QString kNotFound = "Steam was not found: no steam command, no Flatpak com.valvesoftware.Steam, no Snap steam, "
                          "no handler for steam:// links.";

TEST_F(QtLauncherTest, EachKindOfSteamJoinsThroughItsOwnCommandAndOnlyThat) {
  const struct {
    const char* what;
    QStringList commands;
    unsigned installs;
    QString started;  // the command that must have run, or "" for the box
    QStringList arguments;
  } rows[] = {
      {"the steam command, whatever else there is", {"steam", "flatpak", "snap", "xdg-open"},
       kFlatpakApp | kSnap | kLinkHandler, "steam", kSteamArguments},
      {"only the Flatpak", {"flatpak", "snap", "xdg-open"}, kFlatpakApp | kSnap | kLinkHandler, "flatpak",
       QStringList{"run", "com.valvesoftware.Steam"} + kSteamArguments},
      {"a Flatpak's leftover folder is no Flatpak: the Snap", {"flatpak", "snap", "xdg-open"},
       kFlatpakLeftover | kSnap | kLinkHandler, "snap", QStringList{"run", "steam"} + kSteamArguments},
      {"only the Snap", {"snap"}, kSnap, "snap", QStringList{"run", "steam"} + kSteamArguments},
      {"the Flatpak installed but no flatpak command: the Snap", {"snap"}, kFlatpakApp | kSnap, "snap",
       QStringList{"run", "steam"} + kSteamArguments},
      {"only a handler for steam:// links, and other Snaps", {"snap", "xdg-open"}, kOtherSnap | kLinkHandler | kOtherEntry,
       "xdg-open",
       {"steam://run/270150//server_address%3D127.0.0.2%20server_port%3D40000/"}},
      {"xdg-open but no handler for steam:// links", {"flatpak", "snap", "xdg-open"}, kOtherEntry, "", {}},
      {"a handler but no xdg-open", {}, kLinkHandler, "", {}},
      {"nothing at all", {}, 0, "", {}},
  };
  const QStringList commands{"steam", "flatpak", "snap", "xdg-open"};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Fresh();
    for (const QString& command : row.commands) MakeCommand(command);
    MakeInstalls(row.installs);
    QtLauncher launcher(Places());
    const Text box = JoinServer(launcher, {u"", u""}, Nine(u"Nine"));
    EXPECT_EQ(QString::fromStdU16String(box), row.started.isEmpty() ? kNotFound : "");
    if (!row.started.isEmpty()) {
      EXPECT_EQ(ArgumentsOf(row.started, 10s), row.arguments);
    }
    for (const QString& other : commands) {
      if (other == row.started) continue;
      EXPECT_EQ(ArgumentsOf(other, 0ms), QStringList{}) << other.toStdString();
    }
  }
}

// The name is the list's, and the list is anyone's: nothing of it may reach a command.
TEST_F(QtLauncherTest, ANameFullOfShellCharactersNeverReachesTheCommand) {
  for (const QString command : {"flatpak", "xdg-open"}) {
    Fresh();
    const std::string pwned = Path("pwned").toStdString();
    const Text name = FromUtf8("$(touch " + pwned + "); `touch " + pwned + "` & \"-x\" 'a b' | > " + pwned);
    MakeCommand(command);
    MakeInstalls(kFlatpakApp | kLinkHandler);
    QtLauncher launcher(Places());
    EXPECT_EQ(JoinServer(launcher, {u"", u""}, Nine(name)), u"");
    const QStringList arguments = ArgumentsOf(command, 10s);
    EXPECT_EQ(arguments.size(), command == "flatpak" ? 6 : 1) << arguments.join('|').toStdString();
    EXPECT_FALSE(arguments.join('\n').contains("touch")) << arguments.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(Path("pwned")));
  }
}

}  // namespace
}  // namespace quorvex
