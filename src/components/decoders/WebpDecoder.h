// WebP files, still or animated, through libwebp's animation decoder (which composes each frame
// on the canvas with its blending and disposal). The canvas size is read from the header and
// checked against the limit before any pixel is decoded.
#pragma once

#include "components/decoders/Animation.h"

#include <QByteArrayView>

namespace pictures {

bool isWebpData(QByteArrayView data);
platform::ErrorOr<Animation> decodeWebp(QByteArrayView data);

} // namespace pictures
