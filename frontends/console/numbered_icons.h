// The console's icons with a number (an iconNumber= line): the number travels in the handle,
// which every tray event reads back.
#pragma once
#include <optional>

#include "icon_number/numbered_icons.h"

namespace quorvex {

// A numbered icon's handle is the designed icon's (under kNumberStep) plus (number + 1) steps.
inline constexpr NativeHandle kNumberStep = 0x100;

class ConsoleNumberedIcons final : public NumberedIcons {
 public:
  NativeHandle WithNumber(NativeHandle designed, int number) override {
    return designed % kNumberStep + (static_cast<NativeHandle>(number < 0 ? 0 : number) + 1) * kNumberStep;
  }
};

// The designed icon a handle shows, with or without a number.
inline NativeHandle DesignedIcon(NativeHandle handle) { return handle % kNumberStep; }

// The number on the icon; none for an icon without one.
inline std::optional<int> ShownNumber(NativeHandle handle) {
  if (handle < kNumberStep) return std::nullopt;
  return static_cast<int>(handle / kNumberStep - 1);
}

}  // namespace quorvex
