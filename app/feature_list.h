// The features a Quorvex.ini switches on, made in one place.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "features/feature.h"
#include "history/history_feature.h"
#include "history/history_folder.h"
#include "icon_number/numbered_icons.h"
#include "settings/ini_file.h"

namespace quorvex {

// What the features are made with.
struct FeatureServices {
  FeatureHost& host;
  std::function<void()> openHistoryWindow;
  HistoryFolderMaker makeHistoryFolder;  // none: no history is kept
  Text programFolder;                    // Quorvex.ini's, beside which the history is kept
  NumberedIcons* numberedIcons = nullptr;  // none: the front end draws no number on the icon
};

struct FeatureList {
  std::vector<std::unique_ptr<Feature>> all;  // in the order their hooks run
  // The history, which the front ends' history window reads; none without a history= line.
  const HistoryFeature* history = nullptr;
};

// Every feature `settings` switch on, in the order of their menu items.
FeatureList MakeFeatures(const Settings& settings, const FeatureServices& services);

// MakeFeatures with the front end's numbered icons: what a front end that draws the icon
// number gives Form1 as its feature maker (Form1Services::makeFeatures).
using FeatureMaker = std::function<FeatureList(const Settings&, const FeatureServices&)>;
FeatureMaker MakeFeaturesWith(NumberedIcons& numberedIcons);

}  // namespace quorvex
