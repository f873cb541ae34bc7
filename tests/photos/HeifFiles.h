#pragma once
// HEIC and AVIF files made by the tests with libheif's own encoders (x265, aom),
// as a phone writes them: the pixels as the sensor saw them, the turn in the
// file's rotation box, and an EXIF block with orientation, owner and GPS position.
#include "tests/photos/PhotoFiles.h"

#include <libheif/heif.h>

#include <cstring>

namespace photofiles
{

// `img` encoded as HEIF (heif_compression_HEVC: HEIC, heif_compression_AV1: AVIF),
// shown with `orientation` (EXIF numbering); empty when this libheif cannot encode it.
inline QByteArray heif(const QImage& img, heif_compression_format format, int orientation)
{
    heif_init(nullptr);
    QByteArray out;
    heif_context* ctx = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    heif_image_handle* handle = nullptr;
    heif_encoding_options* options = heif_encoding_options_alloc();
    const QImage rgb = img.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width(), h = rgb.height();
    if (heif_context_get_encoder_for_format(ctx, format, &encoder).code == heif_error_Ok &&
        heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code ==
            heif_error_Ok &&
        heif_image_add_plane(image, heif_channel_interleaved, w, h, 8).code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 80);
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < h; ++y)
            std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(w) * 3);
        options->image_orientation = heif_orientation(orientation);
        if (heif_context_encode_image(ctx, image, encoder, options, &handle).code ==
            heif_error_Ok) {
            const QByteArray tiff = exif(orientation).mid(4 + 6); // without APP1 and "Exif\0\0"
            heif_context_add_exif_metadata(ctx, handle, tiff.constData(), int(tiff.size()));
            heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* to) {
                                   static_cast<QByteArray*>(to)->append(
                                       static_cast<const char*>(data), qsizetype(size));
                                   return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                               }};
            heif_context_write(ctx, &writer, &out);
        }
    }
    if (handle) heif_image_handle_release(handle);
    if (image) heif_image_release(image);
    if (encoder) heif_encoder_release(encoder);
    heif_encoding_options_free(options);
    heif_context_free(ctx);
    heif_deinit();
    return out;
}

} // namespace photofiles
