// A feature plugged in where the features are made, beside the watch and the history: its
// menu item after theirs, its click, the reply it takes, its drawing on the tray icon and a
// balloon it holds back, with no other change to the program.
#include <gtest/gtest.h>

#include "support/form1_fakes.h"

namespace quorvex::testing {
namespace {

// Draws the busiest count onto the icon (as a handle the rig can read back) and holds the
// balloons while `quiet`; logs what it is given.
class MarkingFeature final : public Feature {
 public:
  MarkingFeature(Log& log, bool quiet) : log_(log), quiet_(quiet) {}
  std::vector<MenuItem> MenuItems() override { return {{.name = "menMark", .caption = u"Mark"}}; }
  void Start() override { log_.push_back("mark start"); }
  std::optional<std::string> TakeList(const AnsweredList& list) override {
    return "took " + std::to_string(list.servers.size()) + " servers, status " + std::to_string(list.status);
  }
  bool PollEnded(const AnsweredList& list, const PollFigures& figures, MenuTree&) override {
    log_.push_back("mark poll " + std::to_string(list.servers.size()) + " " + std::to_string(figures.maxPlayers));
    return false;
  }
  NativeHandle TrayIcon(NativeHandle designed, const PollFigures& figures) override { return designed * 100 + figures.maxPlayers; }
  bool HoldBalloon(const BalloonToShow& balloon) override {
    log_.push_back("mark held " + ToUtf8(balloon.text) + (balloon.server ? " on " + ToUtf8(balloon.server->name) : ""));
    return quiet_;
  }
  bool Click(std::string_view name, int, const PopupSnapshot&) override {
    if (name != "menMark") return false;
    log_.push_back("mark click");
    return true;
  }
  std::optional<std::string> Unload() override { return "mark flushed"; }

 private:
  Log& log_;
  bool quiet_;
};

std::vector<std::string> Names(const MenuItem& parent) {
  std::vector<std::string> names;
  for (const MenuItem& item : parent.children) names.push_back(item.name);
  return names;
}

Form1& StartMarked(Form1Rig& rig, bool quiet) {
  rig.makeFeatures = [&rig, quiet](const Settings& settings, const FeatureServices& services) {
    FeatureList list = MakeFeatures(settings, services);
    list.all.push_back(std::make_unique<MarkingFeature>(rig.log, quiet));
    return list;
  };
  return rig.Start(SettingsFile(8, 20, 1, 0, 0) + "watch=ann\r\nhistory=30\r\n", WithPlayers({9, 2}), false);
}

TEST(Form1Features, AFeatureMadeBesideTheOthersTakesEveryHookInItsPlace) {
  Form1Rig rig;
  Form1& form = StartMarked(rig, false);
  EXPECT_EQ(Names(form.Menu().Root()), (std::vector<std::string>{"menAbout", "menA", "menServer", "menOnline", "menHistory",
                                                                  "menMark", "menPlayer", "menConfig", "menb", "menExit"}));
  EXPECT_EQ(rig.Entries("mark "), Log{"start"});
  rig.log.clear();
  RunHandler([&] { form.Timer3_Timer(); });
  EXPECT_EQ(rig.Entries("error "), Log{"Timer3_Timer: took 2 servers, status 200"});
  EXPECT_EQ(rig.Entries("mark "), (Log{"held Player-limit of 8 reached!\r\nPlayers: 9 on S1", "poll 2 9"}));
  EXPECT_EQ(rig.Entries("tray balloon ").size(), 1u);
  EXPECT_EQ(rig.Entries("sound "), Log{"bing.wav"});
  EXPECT_EQ(rig.Icon(), Form1Rig::kAlertIcon * 100 + 9);
  ASSERT_TRUE(form.BalloonServer());
  rig.log.clear();
  form.Click("menMark", -1, form.Snapshot());
  EXPECT_EQ(rig.log, Log{"mark click"});
  rig.log.clear();
  RunHandler([&] { form.menExit_Click(); });
  EXPECT_EQ(rig.Entries("error "), Log{"Form_Unload: mark flushed"});
}

// A balloon held back is neither shown nor heard, nor is it the balloon a click joins.
TEST(Form1Features, ABalloonHeldBackIsNeitherShownNorHeard) {
  Form1Rig rig;
  Form1& form = StartMarked(rig, true);
  rig.log.clear();
  RunHandler([&] { form.Timer3_Timer(); });
  EXPECT_EQ(rig.Entries("mark held").size(), 1u);
  EXPECT_TRUE(rig.Entries("tray balloon").empty());
  EXPECT_TRUE(rig.Entries("sound ").empty());
  EXPECT_FALSE(form.BalloonServer());
  EXPECT_TRUE(form.LimitReached());
}

}  // namespace
}  // namespace quorvex::testing
