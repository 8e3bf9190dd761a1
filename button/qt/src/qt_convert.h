// Conversions between the button core's value types and Qt's.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRegion>

#include "velnor/color.h"
#include "velnor/font.h"
#include "velnor/region.h"
#include "velnor/surface.h"

namespace velnor::qt {

// A colour reference as Qt shows it; system colour references take the palette's colour.
QColor ToQColor(ColorRef c, const QPalette& palette);
ColorRef FromQColor(const QColor& c);

QFont ToQFont(const Font& f);
Font FromQFont(const QFont& f);

// The surface as an opaque 32-bit image, and back (the image must have the surface's size).
QImage ToImage(const Surface& s);
void CopyToSurface(const QImage& image, Surface& s);

QRegion ToQRegion(const Region& r);

}  // namespace velnor::qt
