// The tray icon with its number, as the Qt tray draws it at every size it exports:
// DrawNumber's picture over the designed icon, read back pixel by pixel.
#include "frontends/qt/numbered_drawing.h"

#include <gtest/gtest.h>

#include "frontends/qt/tray_icons.h"

namespace quorvex {
namespace {

QImage Filled(int size, QRgb colour) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// A designed icon whose two drawings tell apart which one a size was made from.
const QList<QImage> kDesigned{Filled(16, qRgb(200, 0, 0)), Filled(32, qRgb(0, 0, 200))};

bool SameColour(QRgb drawn, uint32_t argb) {
  return qRed(drawn) == qRed(argb) && qGreen(drawn) == qGreen(argb) && qBlue(drawn) == qBlue(argb);
}

TEST(NumberedDrawing, DesignedIconTakesItsOwnSizeElseTheNextLargerDrawing) {
  EXPECT_EQ(DesignedAt(kDesigned, 16).pixel(8, 8), qRgb(200, 0, 0));
  EXPECT_EQ(DesignedAt(kDesigned, 12).pixel(6, 6), qRgb(200, 0, 0));  // the 16 scaled down
  for (const int size : {20, 22, 24, 32, 48, 64}) {
    const QImage designed = DesignedAt(kDesigned, size);
    EXPECT_EQ(designed.size(), QSize(size, size));
    EXPECT_EQ(designed.pixel(size / 2, size / 2), qRgb(0, 0, 200)) << size;  // from the 32, however listed
    EXPECT_EQ(DesignedAt({kDesigned[1], kDesigned[0]}, size).pixel(size / 2, size / 2), qRgb(0, 0, 200)) << size;
  }
}

// Each size is its own DrawNumber layout: where the digits cover a pixel it is the digits'
// colour, where only the plate does the plate's, elsewhere the designed icon's.
TEST(NumberedDrawing, EverySizeShowsDrawNumbersPlateAndDigitsOverTheDesignedIcon) {
  for (const int number : {7, 47, 100}) {
    const QList<QImage> drawings = NumberedDrawings(kDesigned, number);
    ASSERT_EQ(drawings.size(), static_cast<qsizetype>(kTrayIconSizes.size()));
    for (size_t i = 0; i < kTrayIconSizes.size(); ++i) {
      const int size = kTrayIconSizes[i];
      const QImage& drawn = drawings[static_cast<qsizetype>(i)];
      const QImage designed = DesignedAt(kDesigned, size);
      const NumberPicture picture = DrawNumber(number, size);
      ASSERT_EQ(drawn.size(), QSize(size, size));
      int digitPixels = 0, platePixels = 0, designedPixels = 0;
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          const uint8_t digits = picture.digits[static_cast<size_t>(y * size + x)];
          const uint8_t plate = picture.plate[static_cast<size_t>(y * size + x)];
          const QRgb pixel = drawn.pixel(x, y);
          const auto where = testing::Message() << number << " at " << size << " px, pixel " << x << "," << y;
          // DrawNumber covers whole pixels, which the checks below read.
          ASSERT_TRUE((digits == 0 || digits == 255) && (plate == 0 || plate == 255)) << where;
          if (digits == 255) {
            ++digitPixels;
            EXPECT_TRUE(SameColour(pixel, kDigitsArgb)) << where;
          } else if (plate == 255) {
            ++platePixels;
            EXPECT_TRUE(SameColour(pixel, kPlateArgb)) << where;
          } else {
            ++designedPixels;
            EXPECT_EQ(pixel, designed.pixel(x, y)) << where;
          }
        }
      }
      // Every kind of pixel is there, so no comparison above is left untried.
      EXPECT_GT(digitPixels, 0) << number << " at " << size;
      EXPECT_GT(platePixels, 0) << number << " at " << size;
      EXPECT_GT(designedPixels, 0) << number << " at " << size;
    }
  }
}

TEST(TrayIcons, EachDesignedIconKeepsItsNumberedDrawingsUntilItsNumberChanges) {
  TrayIcons icons(kDesigned, {Filled(16, qRgb(0, 128, 0)), Filled(32, qRgb(0, 128, 0))});
  EXPECT_EQ(icons.Drawings(TrayIcons::kNormal).size(), 2);
  EXPECT_EQ(icons.Drawings(TrayIcons::kAlert).front().pixel(0, 0), qRgb(0, 128, 0));

  const NativeHandle normal = icons.WithNumber(TrayIcons::kNormal, 12);
  const NativeHandle alert = icons.WithNumber(TrayIcons::kAlert, 3);
  EXPECT_EQ(normal, TrayIcons::kNumberedNormal);
  EXPECT_EQ(alert, TrayIcons::kNumberedAlert);
  // Each is its designed icon with its own number, the normal one still valid after the alert's.
  EXPECT_EQ(icons.Drawings(normal), NumberedDrawings(kDesigned, 12));
  EXPECT_EQ(icons.Drawings(alert), NumberedDrawings(icons.Drawings(TrayIcons::kAlert), 3));

  // The same number again keeps the very drawings; another number draws anew.
  const qint64 drawn = icons.Drawings(normal).front().cacheKey();
  EXPECT_EQ(icons.WithNumber(TrayIcons::kNormal, 12), normal);
  EXPECT_EQ(icons.Drawings(normal).front().cacheKey(), drawn);
  icons.WithNumber(TrayIcons::kNormal, 13);
  EXPECT_EQ(icons.Drawings(normal), NumberedDrawings(kDesigned, 13));

  // A handle that is no designed icon of the tray's gets no number.
  EXPECT_EQ(icons.WithNumber(0x10, 5), NativeHandle{0x10});
}

}  // namespace
}  // namespace quorvex
