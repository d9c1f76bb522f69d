#include "frontends/qt/numbered_drawing.h"

#include <algorithm>
#include <vector>

#include "icon_number/number_paint.h"

namespace quorvex {

QImage DesignedAt(const QList<QImage>& drawings, int size) {
  QList<QImage> bySize = drawings;
  std::sort(bySize.begin(), bySize.end(), [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
  const auto fitting =
      std::find_if(bySize.begin(), bySize.end(), [size](const QImage& drawing) { return drawing.width() >= size; });
  const QImage& chosen = fitting != bySize.end() ? *fitting : bySize.back();
  // A drawing of the very size comes back as it is.
  return chosen.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage WithNumber(const QImage& designed, const NumberPicture& picture) {
  // Format_ARGB32 rows are whole 0xAARRGGBB words with straight alpha, as PaintNumber paints them.
  QImage numbered = designed.convertToFormat(QImage::Format_ARGB32);
  auto* pixels = reinterpret_cast<uint32_t*>(numbered.bits());
  std::vector<uint32_t> argb(pixels, pixels + numbered.width() * numbered.height());
  PaintNumber(argb, picture);
  std::copy(argb.begin(), argb.end(), pixels);
  return numbered;
}

QList<QImage> NumberedDrawings(const QList<QImage>& designed, int number) {
  QList<QImage> drawings;
  for (const int size : kTrayIconSizes) {
    drawings.push_back(WithNumber(DesignedAt(designed, size), DrawNumber(number, size)));
  }
  return drawings;
}

}  // namespace quorvex
