#include "photos/HeifImage.h"

#include <libheif/heif.h>

#include <QStringList>
#include <memory>

namespace HeifImage
{

namespace
{

// libheif's objects, released however a read ends.
struct Release {
    void operator()(heif_context* p) const { heif_context_free(p); }
    void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
    void operator()(heif_image* p) const { heif_image_release(p); }
    void operator()(heif_decoding_options* p) const { heif_decoding_options_free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, Release>;

// heif_init once for the process: it loads the decoders libheif was built with.
void initOnce()
{
    static const bool done = [] {
        heif_init(nullptr);
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

bool isHeif(const QByteArray& bytes)
{
    if (bytes.size() < 12) return false;
    initOnce();
    return heif_check_filetype(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               int(qMin<qsizetype>(bytes.size(), 1 << 20))) ==
           heif_filetype_yes_supported;
}

QImage read(const QByteArray& bytes, int maxSide, const std::function<void(QSize)>& checkSize)
{
    initOnce();
    Owned<heif_context> ctx(heif_context_alloc());
    if (!ctx) return {};
    // Reading the boxes allocates no pixels: the size is checked right after it, and
    // libheif's own limit stays as a second guard above ours.
    heif_context_set_maximum_image_size_limit(ctx.get(), 2 * maxSide);
    if (heif_context_read_from_memory_without_copy(ctx.get(), bytes.constData(),
                                                   size_t(bytes.size()), nullptr)
            .code != heif_error_Ok)
        return {};
    heif_image_handle* h = nullptr;
    if (heif_context_get_primary_image_handle(ctx.get(), &h).code != heif_error_Ok || !h) return {};
    Owned<heif_image_handle> handle(h);
    checkSize(QSize(heif_image_handle_get_width(handle.get()),
                    heif_image_handle_get_height(handle.get())));
    Owned<heif_decoding_options> options(heif_decoding_options_alloc());
    if (!options) return {};
    options->ignore_transformations = 0; // rotation and mirroring applied
    heif_image* i = nullptr;
    if (heif_decode_image(handle.get(), &i, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                          options.get())
                .code != heif_error_Ok ||
        !i)
        return {};
    Owned<heif_image> image(i);
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int ht = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!pixels || w <= 0 || ht <= 0) return {};
    // A copy: the pixels belong to libheif's image, released on return.
    return QImage(pixels, w, ht, stride, QImage::Format_RGBA8888).copy();
}

QStringList suffixes()
{
    initOnce();
    QStringList out;
    if (heif_have_decoder_for_format(heif_compression_HEVC))
        out << QStringLiteral("heic") << QStringLiteral("heif");
    if (heif_have_decoder_for_format(heif_compression_AV1)) out << QStringLiteral("avif");
    return out;
}

} // namespace HeifImage
