// The tray icon's drawings with the player number on them, one per size the tray exports,
// each laid out by DrawNumber for its own size: a number scaled down from a larger drawing
// would blur into the plate at 16 pixels. Plain QImage work, so it needs no display.
#pragma once
#include <QImage>
#include <QList>

#include <array>

#include "icon_number/number_picture.h"

namespace quorvex {

// The sizes a panel is given: Windows' 16, 20, 24 and 32, the 22 most Linux panels draw
// by default, and 48 and 64 for large panels and scaled displays, so no panel has to
// scale a drawing of ours.
inline constexpr std::array<int, 7> kTrayIconSizes{16, 20, 22, 24, 32, 48, 64};

// The designed icon at `size`: its drawing of that size, else its smallest larger one
// scaled down (else its largest scaled up). `drawings` is not empty.
QImage DesignedAt(const QList<QImage>& drawings, int size);

// `designed` (square, picture.size pixels) with the number's plate and digits on it.
QImage WithNumber(const QImage& designed, const NumberPicture& picture);

// The designed icon at every tray size with `number` on it, smallest first.
QList<QImage> NumberedDrawings(const QList<QImage>& designed, int number);

}  // namespace quorvex
