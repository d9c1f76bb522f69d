// The tray's icons by handle: the designed normal and alert icon, and each of them with the
// number the form last asked for drawn on. A handle's drawings (every size the tray
// exports) stay the same objects while its picture stays the same, so the tray tells the
// panel of a new icon only when there is one.
#pragma once
#include <QImage>
#include <QList>

#include "icon_number/numbered_icons.h"
#include "tray/trayicon.h"

namespace quorvex {

class TrayIcons : public NumberedIcons {
 public:
  // The handles Form1 passes to the tray shell: QtDesktop's two designed icons, and the
  // same two with a number on them.
  static constexpr NativeHandle kNormal = 1, kAlert = 2, kNumberedNormal = 3, kNumberedAlert = 4;

  // Each designed icon's drawings (a 16 and a 32 pixel one, say).
  TrayIcons(QList<QImage> normal, QList<QImage> alert);

  NativeHandle WithNumber(NativeHandle designed, int number) override;
  // What `handle` shows at each of its sizes; an unknown handle shows the normal icon.
  const QList<QImage>& Drawings(NativeHandle handle) const;

 private:
  struct Numbered {
    int number = -1;  // none drawn yet
    QList<QImage> drawings;
  };

  QList<QImage> normal_, alert_;
  Numbered numberedNormal_, numberedAlert_;
};

}  // namespace quorvex
