#include "jpegimage.h"

#include "data/databaseerror.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace coop {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the decoder with the message kept here.
struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jumpBack(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// A picture is refused beyond these, whatever its file claims: a header of a few bytes may announce
// 65500 × 65500 pixels (12 GB as colour) or thousands of progressive scans over one picture.
// The background picture of a window needs neither.
constexpr unsigned long long MaxPixels = 7680ull * 4320; // an 8K screen
constexpr long MaxDecoderMemory = 512l * 1024 * 1024;
constexpr int MaxScans = 200;

// Everything that lives across the jump is kept outside the function that calls setjmp.
struct Decoding
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    QImage image;
};

[[noreturn]] void refuse(j_common_ptr info, const char *what)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "%s", what);
    std::longjmp(errors->jump, 1);
}

// Called by libjpeg as it reads: a picture of more scans than any encoder writes is refused.
void countScans(j_common_ptr info)
{
    const auto *decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans)
        refuse(info, "The JPEG picture has too many scans");
}

bool decode(Decoding &d, const QByteArray &bytes)
{
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = jumpBack;
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.info.mem->max_memory_to_use = MaxDecoderMemory;
    d.progress.progress_monitor = countScans;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    if (static_cast<unsigned long long>(d.info.image_width) * d.info.image_height > MaxPixels) {
        std::snprintf(d.errors.message, sizeof d.errors.message, "The JPEG picture of %ux%u pixels is too large",
                      d.info.image_width, d.info.image_height);
        return false;
    }
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    d.image = QImage(int(d.info.output_width), int(d.info.output_height), QImage::Format_RGB888);
    if (d.image.isNull()) {
        std::snprintf(d.errors.message, sizeof d.errors.message, "Not enough memory for a %ux%u picture",
                      d.info.output_width, d.info.output_height);
        return false;
    }
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.scanLine(int(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes)
{
    Decoding d;
    const bool decoded = !bytes.isEmpty() && decode(d, bytes);
    jpeg_destroy_decompress(&d.info);
    if (!decoded)
        throw Error(bytes.isEmpty() ? QStringLiteral("Empty JPEG picture") : QString::fromLocal8Bit(d.errors.message));
    return d.image;
}

} // namespace coop
