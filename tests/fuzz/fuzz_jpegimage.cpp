// The main window's background picture, a file anyone may replace: decoded into an image of the
// size its header gives, or refused with coop::Error (libjpeg's own words), never a fault.

#include "fuzzcheck.h"

#include "app/jpegimage.h"

using namespace coop;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QImage image;
    if (!fuzz::raisesOnlyCoopError([&] { image = decodeJpeg(fuzz::bytes(data, size)); }))
        return 0;
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(image.width() > 0 && image.height() > 0);
    FUZZ_CHECK(image.format() == QImage::Format_RGB888);
    return 0;
}
