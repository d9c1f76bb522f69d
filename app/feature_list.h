// The features a Quorvex.ini switches on, made in one place.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "features/feature.h"
#include "history/history_feature.h"
#include "history/history_folder.h"
#include "icon_number/numbered_icons.h"
#include "quiet/game_check.h"
#include "settings/ini_file.h"

namespace quorvex {

// What the features are made with.
struct FeatureServices {
  FeatureHost& host;
  std::function<void()> openHistoryWindow;
  HistoryFolderMaker makeHistoryFolder;  // none: no history is kept
  Text programFolder;                    // Quorvex.ini's, beside which the history is kept
  GameCheck* gameCheck = nullptr;          // the front end's; none: never quiet while playing
  NumberedIcons* numberedIcons = nullptr;  // none: the front end draws no number on the icon
};

struct FeatureList {
  std::vector<std::unique_ptr<Feature>> all;  // in the order their hooks run
  // The history, which the front ends' history window reads; none without a history= line.
  const HistoryFeature* history = nullptr;
};

// Every feature `settings` switch on, in the order of their menu items.
FeatureList MakeFeatures(const Settings& settings, const FeatureServices& services);
// What a front end gives Form1 as its feature maker (Form1Services::makeFeatures): MakeFeatures
// with the parts only the front end has, each of which may be none (its feature is then off).
using FeatureMaker = std::function<FeatureList(const Settings&, const FeatureServices&)>;
FeatureMaker MakeFeaturesWith(NumberedIcons* numberedIcons, GameCheck* gameCheck);

}  // namespace quorvex
