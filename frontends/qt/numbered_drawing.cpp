#include "frontends/qt/numbered_drawing.h"

#include <QPainter>

#include <algorithm>

namespace quorvex {

namespace {

// `colour` (0xAARRGGBB) wherever `coverage` covers, its alpha scaled by the coverage.
QImage Layer(uint32_t colour, const std::vector<uint8_t>& coverage, int size) {
  QImage layer(size, size, QImage::Format_ARGB32);
  const int alpha = qAlpha(colour);
  for (int y = 0; y < size; ++y) {
    auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
    for (int x = 0; x < size; ++x) {
      const int covered = coverage[static_cast<size_t>(y * size + x)];
      row[x] = qRgba(qRed(colour), qGreen(colour), qBlue(colour), (covered * alpha + 127) / 255);
    }
  }
  return layer;
}

}  // namespace

QImage DesignedAt(const QList<QImage>& drawings, int size) {
  QList<QImage> bySize = drawings;
  std::sort(bySize.begin(), bySize.end(), [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
  const auto fitting =
      std::find_if(bySize.begin(), bySize.end(), [size](const QImage& drawing) { return drawing.width() >= size; });
  const QImage& chosen = fitting != bySize.end() ? *fitting : bySize.back();
  // A drawing of the very size comes back as it is.
  return chosen.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage WithNumber(const QImage& designed, const NumberPicture& picture) {
  QImage numbered = designed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&numbered);
  painter.drawImage(0, 0, Layer(kPlateArgb, picture.plate, picture.size));
  painter.drawImage(0, 0, Layer(kDigitsArgb, picture.digits, picture.size));
  painter.end();
  return numbered.convertToFormat(QImage::Format_ARGB32);
}

QList<QImage> NumberedDrawings(const QList<QImage>& designed, int number) {
  QList<QImage> drawings;
  for (const int size : kTrayIconSizes) {
    drawings.push_back(WithNumber(DesignedAt(designed, size), DrawNumber(number, size)));
  }
  return drawings;
}

}  // namespace quorvex
