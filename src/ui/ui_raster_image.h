// Conversion of the program's pictures into the toolkit's images.
#pragma once

#include <QImage>

#include "picture/raster.h"

// A copy of the picture as a toolkit image of the same size and colours (a null image for an empty picture).
QImage RasterToImage(const Raster& picture);
