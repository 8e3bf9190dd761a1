#include "qt_convert.h"

#include <QRect>

namespace velnor::qt {

QColor ToQColor(ColorRef c, const QPalette& palette) {
  if (!IsSystemColor(c)) return QColor(RedOf(c), GreenOf(c), BlueOf(c));
  switch (c & 0xFF) {
    case 0x05:  // window background
      return palette.color(QPalette::Base);
    case kSysWindowText:
      return palette.color(QPalette::WindowText);
    case 0x0D:  // selection
      return palette.color(QPalette::Highlight);
    case 0x0E:  // selected text
      return palette.color(QPalette::HighlightedText);
    case kSysButtonFace:
      return palette.color(QPalette::Button);
    case kSysGrayText:
      return palette.color(QPalette::Disabled, QPalette::Text);
    default:
      return palette.color(QPalette::ButtonText);
  }
}

ColorRef FromQColor(const QColor& c) {
  return Rgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
             static_cast<uint8_t>(c.blue()));
}

QFont ToQFont(const Font& f) {
  QFont q(QString::fromStdString(f.name));
  if (f.size > 0) q.setPointSizeF(f.size);
  q.setBold(f.bold);
  q.setItalic(f.italic);
  q.setUnderline(f.underline);
  q.setStrikeOut(f.strikethrough);
  return q;
}

Font FromQFont(const QFont& q) {
  Font f;
  f.name = q.family().toStdString();
  // A font sized in pixels is given in points at the usual 96 pixels per inch.
  f.size = q.pointSizeF() > 0 ? q.pointSizeF() : q.pixelSize() * 72.0 / 96.0;
  f.bold = q.bold();
  f.italic = q.italic();
  f.underline = q.underline();
  f.strikethrough = q.strikeOut();
  return f;
}

QImage ToImage(const Surface& s) {
  QImage image(s.width(), s.height(), QImage::Format_RGB32);
  const auto px = s.pixels();
  for (int32_t y = 0; y < s.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < s.width(); ++x) {
      const ColorRef c = px[size_t(y) * size_t(s.width()) + size_t(x)];
      line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
  }
  return image;
}

void CopyToSurface(const QImage& image, Surface& s) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  auto px = s.pixels();
  for (int32_t y = 0; y < s.height() && y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int32_t x = 0; x < s.width() && x < rgb.width(); ++x)
      px[size_t(y) * size_t(s.width()) + size_t(x)] =
          Rgb(static_cast<uint8_t>(qRed(line[x])), static_cast<uint8_t>(qGreen(line[x])),
              static_cast<uint8_t>(qBlue(line[x])));
  }
}

QRegion ToQRegion(const Region& r) {
  const Rect& b = r.bounds();
  QRegion region(QRect(b.left, b.top, b.right - b.left, b.bottom - b.top));
  for (const Rect& cut : r.cuts())
    region -= QRegion(QRect(cut.left, cut.top, cut.right - cut.left, cut.bottom - cut.top));
  return region;
}

}  // namespace velnor::qt
