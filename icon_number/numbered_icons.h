// The program's icons with a number drawn on, which each front end makes.
#pragma once
#include "tray/trayicon.h"

namespace quorvex {

class NumberedIcons {
 public:
  // `designed` (the normal or the alert icon) with `number` on it, at the sizes the tray
  // shows; valid until the next call for the same `designed`.
  virtual NativeHandle WithNumber(NativeHandle designed, int number) = 0;

 protected:
  ~NumberedIcons() = default;
};

}  // namespace quorvex
