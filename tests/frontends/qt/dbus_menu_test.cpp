// The exported dbusmenu on a bus of the test's own (a dbus-daemon it starts), read by
// stand-in hosts in processes of their own (menu_host.py): one under the name
// "gnome-shell", as GNOME Shell's AppIndicator extension runs, one under another name, and
// one that only listens. What each receives is what the bus delivered to it.
#include "frontends/qt/dbus_menu.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "menu/players_menu.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#ifndef QUORVEX_MENU_HOST
#error "QUORVEX_MENU_HOST: the stand-in host script"
#endif

namespace quorvex {
namespace {

constexpr auto kConnection = "quorvex-dbus-menu-test";
constexpr auto kPath = "/MenuBar";

// QtDBus and QProcess need an application; the test binary makes none of its own.
void MakeApp() {
  static int argc = 1;
  static char name[] = "dbus_menu_test";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

// Runs the event loop (the menu answers from it) until `done` or 10 s.
bool RunUntil(const std::function<bool()>& done, int ms = 10000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// The design menu with `servers` listed, each one's line showing its name.
PopupSnapshot Listing(const std::vector<Text>& servers) {
  PopupSnapshot shown{MakeDesignMenu(), {}};
  for (int index = 1; index <= 48; ++index) shown.menu.Item("menServername", index).visible = false;
  for (size_t slot = 1; slot <= servers.size(); ++slot) {
    MenuItem& line = shown.menu.Item("menServername", static_cast<int>(slot));
    line.visible = true;
    line.caption = servers[slot - 1];
    shown.shownServers[slot].name = servers[slot - 1];
  }
  return shown;
}

// A stand-in host process and the JSON events it printed.
class Host {
 public:
  Host(const QString& program, const QString& address, const QString& service, const char* mode) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
      while (process_.canReadLine()) events_.push_back(QJsonDocument::fromJson(process_.readLine()).object());
    });
    process_.start(program, {address, service, mode});
  }
  ~Host() {
    process_.write("quit\n");
    if (!process_.waitForFinished(3000)) process_.kill();
    process_.waitForFinished(3000);
  }
  std::optional<QJsonObject> Wait(const QString& key) {
    std::optional<QJsonObject> found;
    RunUntil([&] {
      for (const QJsonObject& event : events_) {
        if (event.contains(key)) found = event;
      }
      return found.has_value();
    });
    return found;
  }
  // The signals received so far, as "member" and its arguments.
  std::vector<QJsonObject> Signals() const {
    std::vector<QJsonObject> received;
    for (const QJsonObject& event : events_) {
      if (event.contains("signal")) received.push_back(event);
    }
    return received;
  }
  void Click(int id) { process_.write(QStringLiteral("click %1\n").arg(id).toUtf8()); }
  void Quit() { process_.write("quit\n"); }
  size_t Count(const QString& key) const {
    return std::count_if(events_.begin(), events_.end(), [&](const QJsonObject& event) { return event.contains(key); });
  }
  void Send(const QString& command) { process_.write((command + "\n").toUtf8()); }
  // The answers to AboutToShow so far, in order: [id, whether to read it again].
  std::vector<QJsonArray> Shown() const {
    std::vector<QJsonArray> answers;
    for (const QJsonObject& event : events_) {
      if (event.contains("show")) answers.push_back(event["show"].toArray());
    }
    return answers;
  }
  // The label it read for item `id`.
  std::string LabelRead(int id) { return Label(id).toStdString(); }
  QString Label(int id) {
    const std::optional<QJsonObject> layout = Wait("layout");
    if (!layout) return "(not read)";
    for (const QJsonValue item : layout->value("layout").toArray()) {
      if (item.toArray().at(0).toInt() == id) return item.toArray().at(1).toString();
    }
    return "(no item)";
  }

 private:
  QProcess process_;
  std::vector<QJsonObject> events_;
};

class DbusMenuOnABus : public testing::Test {
 protected:
  void SetUp() override {
    MakeApp();
    RegisterDbusTypes();
    ASSERT_TRUE(folder_.isValid());
    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon_.waitForReadyRead(10000));
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(address_, kConnection);
    ASSERT_TRUE(bus.isConnected());
    service_ = bus.baseService();
    menu_ = std::make_unique<DbusMenu>(Listing({u"Alpha", u"Co_op_Night"}));
    ASSERT_TRUE(bus.registerObject(kPath, menu_.get(), QDBusConnection::ExportAllContents));
    menu_->Attach(kConnection, kPath);
    menu_->OnClicked([this](const MenuRevisions::Click& click) { clicks_.push_back(click); });
    // The host under GNOME Shell's process name, and one under a name of its own.
    for (const char* name : {"gnome-shell", "panel-host"}) {
      ASSERT_TRUE(QFile::copy(QUORVEX_MENU_HOST, folder_.filePath(name)));
    }
  }
  void TearDown() override {
    QDBusConnection(kConnection).unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(kConnection);
    menu_.reset();
    daemon_.kill();
    daemon_.waitForFinished(3000);
  }
  std::unique_ptr<Host> Start(const char* name, const char* mode = "read") {
    auto host = std::make_unique<Host>(folder_.filePath(name), address_, service_, mode);
    if (!host->Wait("ready")) ADD_FAILURE() << name << " did not start";
    return host;
  }
  int IdOf(std::string_view name, int index = -1) const {
    // Ids are numbered in the order of the design menu; the test's menu is that order.
    MenuRevisions ids(Listing({}));
    return ids.IdOf(ids.Current().menu.Item(name, index));
  }

  QTemporaryDir folder_;
  QProcess daemon_;
  QString address_, service_;
  std::unique_ptr<DbusMenu> menu_;
  std::vector<MenuRevisions::Click> clicks_;
};

// Each host reads labels of its own rule, and after a poll each is sent its own
// ItemsPropertiesUpdated with only what changed, and no LayoutUpdated; a host that never
// read the menu is sent nothing, and a poll that changed nothing sends nothing at all.
TEST_F(DbusMenuOnABus, EachHostGetsItsOwnLabelsAndOnlyWhatChanged) {
  const int second = IdOf("menServername", 2);
  std::unique_ptr<Host> gnome = Start("gnome-shell"), panel = Start("panel-host"), listener = Start("panel-host", "listen");
  EXPECT_EQ(gnome->LabelRead(second), "_Co_op_Night");
  EXPECT_EQ(panel->LabelRead(second), "Co__op__Night");
  EXPECT_EQ(panel->LabelRead(IdOf("menExit")), "_Exit");

  menu_->Publish(Listing({u"Alpha", u"__init__"}));
  ASSERT_TRUE(RunUntil([&] { return !gnome->Signals().empty() && !panel->Signals().empty(); }));
  RunUntil([] { return false; }, 300);  // anything more the bus would deliver
  const auto updated = [&](Host& host) {
    const std::vector<QJsonObject> received = host.Signals();
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(received.at(0)["signal"].toString(), "ItemsPropertiesUpdated");
    EXPECT_EQ(received.at(0)["type"].toString(), "(a(ia{sv})a(ias))");  // a proxy drops another
    return QJsonDocument(received.at(0)["args"].toArray()).toJson(QJsonDocument::Compact);
  };
  EXPECT_EQ(updated(*gnome), QStringLiteral(R"([[[%1,{"accessible-desc":"__init__","label":"___init__"}]],[]])").arg(second));
  EXPECT_EQ(updated(*panel), QStringLiteral(R"([[[%1,{"accessible-desc":"__init__","label":"____init____"}]],[]])").arg(second));
  EXPECT_TRUE(listener->Signals().empty());

  menu_->Publish(Listing({u"Alpha", u"__init__"}));
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(gnome->Signals().size() + panel->Signals().size() + listener->Signals().size(), 1u + 1u);
}

// A host that reads one level at a time is named each submenu it has not read (so it reads
// it before it first opens it); a host that read the whole tree is named none. A parent
// whose children change is named to each host, with nothing else where nothing else changed.
TEST_F(DbusMenuOnABus, AParentIsNamedToTheHostsThatAreToReadIt) {
  std::unique_ptr<Host> levels = Start("panel-host", "levels"), whole = Start("panel-host");
  ASSERT_TRUE(levels->Wait("layout") && whole->Wait("layout"));
  const auto named = [](const Host& host) {
    std::vector<int> parents;
    for (const QJsonObject& received : host.Signals()) {
      EXPECT_EQ(received["signal"].toString(), "LayoutUpdated");
      EXPECT_EQ(received["type"].toString(), "(ui)");
      parents.push_back(received["args"].toArray().at(1).toInt());
    }
    std::sort(parents.begin(), parents.end());
    return parents;
  };
  const std::vector<int> submenus = {IdOf("menServer"), IdOf("menPlayer"), IdOf("menConfig")};
  ASSERT_TRUE(RunUntil([&] { return levels->Signals().size() == submenus.size(); }));
  EXPECT_EQ(named(*levels), submenus);
  EXPECT_TRUE(whole->Signals().empty());

  PopupSnapshot watching = Listing({u"Alpha", u"Co_op_Night"});
  AddPlayersMenu(watching.menu);
  menu_->Publish(watching);
  ASSERT_TRUE(RunUntil([&] { return !whole->Signals().empty() && levels->Signals().size() > submenus.size(); }));
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(named(*whole), std::vector<int>{MenuRevisions::kRootId});
  EXPECT_EQ(levels->Signals().size(), submenus.size() + 1);
}

// Opening a menu runs the owner's opening (which publishes what changed): AboutToShow on
// any menu, the event "opened" on the top one. AboutToShow answers whether that host is to
// read the submenu again: one that never read its items is.
TEST_F(DbusMenuOnABus, OpeningAMenuPublishesAndAboutToShowSaysWhetherToReadItAgain) {
  int openings = 0;
  menu_->OnOpening([&] { ++openings; });
  std::unique_ptr<Host> levels = Start("panel-host", "levels"), whole = Start("panel-host");
  ASSERT_TRUE(levels->Wait("layout") && whole->Wait("layout"));
  const int servers = IdOf("menServer");
  for (Host* host : {levels.get(), whole.get()}) host->Send(QStringLiteral("show %1").arg(servers));
  ASSERT_TRUE(RunUntil([&] { return levels->Shown().size() == 1 && whole->Shown().size() == 1; }));
  EXPECT_EQ(levels->Shown()[0], (QJsonArray{servers, true}));
  EXPECT_EQ(whole->Shown()[0], (QJsonArray{servers, false}));
  EXPECT_EQ(openings, 2);
  whole->Send(QStringLiteral("opened %1").arg(servers));
  whole->Send("opened 0");
  ASSERT_TRUE(RunUntil([&] { return whole->Count("opened") == 2; }));  // both answered
  EXPECT_EQ(openings, 3);
}

// A host's click runs the line it was shown; a click from a connection that never read
// the menu runs nothing. A host that leaves the bus is forgotten.
TEST_F(DbusMenuOnABus, AClickRunsTheLineTheClickingHostWasShown) {
  const int first = IdOf("menServername", 1);
  std::unique_ptr<Host> panel = Start("panel-host"), stranger = Start("panel-host", "listen");
  ASSERT_EQ(panel->LabelRead(first), "Alpha");
  stranger->Click(first);
  ASSERT_TRUE(stranger->Wait("clicked").has_value());
  panel->Click(first);
  ASSERT_TRUE(panel->Wait("clicked").has_value());
  ASSERT_TRUE(RunUntil([&] { return !clicks_.empty(); }));
  RunUntil([] { return false; }, 200);
  ASSERT_EQ(clicks_.size(), 1u);
  EXPECT_EQ(clicks_[0].name, "menServername");
  EXPECT_EQ(clicks_[0].index, 1);
  EXPECT_EQ(clicks_[0].shown->shownServers[1].name, u"Alpha");
  ASSERT_EQ(menu_->Hosts().size(), 1u);  // a click alone is no read
  panel->Quit();
  EXPECT_TRUE(RunUntil([&] { return menu_->Hosts().empty(); }));
}

}  // namespace
}  // namespace quorvex
