#include "frontends/qt/tray_icons.h"

#include "frontends/qt/numbered_drawing.h"

namespace quorvex {

TrayIcons::TrayIcons(QList<QImage> normal, QList<QImage> alert)
    : normal_(std::move(normal)), alert_(std::move(alert)) {}

NativeHandle TrayIcons::WithNumber(NativeHandle designed, int number) {
  if (designed != kNormal && designed != kAlert) return designed;
  Numbered& numbered = designed == kAlert ? numberedAlert_ : numberedNormal_;
  if (numbered.number != number) {
    numbered.drawings = NumberedDrawings(designed == kAlert ? alert_ : normal_, number);
    numbered.number = number;
  }
  return designed == kAlert ? kNumberedAlert : kNumberedNormal;
}

const QList<QImage>& TrayIcons::Drawings(NativeHandle handle) const {
  switch (handle) {
    case kAlert: return alert_;
    case kNumberedNormal: return numberedNormal_.drawings;
    case kNumberedAlert: return numberedAlert_.drawings;
    default: return normal_;
  }
}

}  // namespace quorvex
