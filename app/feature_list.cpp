#include "app/feature_list.h"

#include "icon_number/icon_number_feature.h"
#include "quiet/quiet_feature.h"
#include "watch/watch_feature.h"

namespace quorvex {

namespace {

std::unique_ptr<Feature> Watch(const Settings& settings, const FeatureServices& services) {
  WatchNews news(settings.watchPatterns, settings.alertRules);
  if (!news.WatchesAnything()) return nullptr;
  return std::make_unique<WatchFeature>(std::move(news), services.host);
}

std::unique_ptr<HistoryFeature> History(const Settings& settings, const FeatureServices& services) {
  if (!settings.historyDays || !services.makeHistoryFolder) return nullptr;
  auto history = std::make_unique<PlayerHistory>(services.makeHistoryFolder(services.programFolder), *settings.historyDays);
  return std::make_unique<HistoryFeature>(std::move(history), services.host, services.openHistoryWindow);
}

std::unique_ptr<Feature> Quiet(const Settings& settings, const FeatureServices& services) {
  if (!settings.quietWhilePlaying || !services.gameCheck) return nullptr;
  return std::make_unique<QuietFeature>(*services.gameCheck);
}

// Only when the front end draws numbers: one that does not leaves the line unused.
std::unique_ptr<Feature> NumberOnIcon(const Settings& settings, const FeatureServices& services) {
  if (!settings.iconNumber || !services.numberedIcons) return nullptr;
  return std::make_unique<IconNumberFeature>(*settings.iconNumber, settings.watchPatterns, *services.numberedIcons,
                                             services.host);
}

void Add(FeatureList& list, std::unique_ptr<Feature> feature) {
  if (feature) list.all.push_back(std::move(feature));
}

}  // namespace

FeatureList MakeFeatures(const Settings& settings, const FeatureServices& services) {
  FeatureList list;
  Add(list, Quiet(settings, services));  // first: its balloons held back and its summary before the others'
  Add(list, Watch(settings, services));
  std::unique_ptr<HistoryFeature> history = History(settings, services);
  list.history = history.get();
  Add(list, std::move(history));
  Add(list, NumberOnIcon(settings, services));
  return list;
}

FeatureMaker MakeFeaturesWith(NumberedIcons* numberedIcons, GameCheck* gameCheck) {
  return [numberedIcons, gameCheck](const Settings& settings, const FeatureServices& services) {
    FeatureServices withParts = services;
    withParts.numberedIcons = numberedIcons;
    withParts.gameCheck = gameCheck;
    return MakeFeatures(settings, withParts);
  };
}

}  // namespace quorvex
