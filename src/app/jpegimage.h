#pragma once

#include <QByteArray>
#include <QImage>

namespace coop {

// Decodes a JPEG picture with libjpeg into a colour image. Raises coop::Error with libjpeg's own
// words when the bytes are not a picture it can read.
QImage decodeJpeg(const QByteArray &bytes);

} // namespace coop
