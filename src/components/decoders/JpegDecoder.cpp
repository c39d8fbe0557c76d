#include "components/decoders/JpegDecoder.h"

#include "components/decoders/ImageLimits.h"
#include "platform/ImageBuffer.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// libjpeg's headers need size_t and FILE first.
#include <jerror.h>
#include <jpeglib.h>

namespace pictures {

namespace {

// Scans beyond this are a hostile file: each one costs a full pass over the coefficients.
constexpr int MaxScans = 1000;

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level)
{
    // A file cut short is damaged: stop instead of showing grey rows.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        errorExit(cinfo);
}

struct ProgressManager
{
    jpeg_progress_mgr pub;
    const JpegProgressFn *fn;
};

void progressMonitor(j_common_ptr cinfo)
{
    auto *pm = reinterpret_cast<ProgressManager *>(cinfo->progress);
    if (!cinfo->is_decompressor)
        return;
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > MaxScans) {
        cinfo->err->msg_code = JERR_NOT_COMPILED; // any code: the text below is ours
        auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "too many scans");
        std::longjmp(err->jump, 1);
    }
    if (pm->fn && *pm->fn)
        (*pm->fn)(pm->pub.completed_passes, pm->pub.total_passes, pm->pub.pass_counter, pm->pub.pass_limit);
}

struct Decoder
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    ProgressManager progress;
    QImage image;
    std::vector<JSAMPROW> rows;
    bool created = false;

    Decoder()
    {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = errorExit;
        err.pub.emit_message = emitMessage;
        err.message[0] = 0;
    }
    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    void start(QByteArrayView data)
    {
        jpeg_create_decompress(&cinfo);
        created = true;
        cinfo.mem->max_memory_to_use = long(maxImageBytes());
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.data()),
                     (unsigned long)data.size());
        jpeg_read_header(&cinfo, TRUE);
    }
    // Reads every row of the current output pass into the image.
    void readRows()
    {
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION y = cinfo.output_scanline;
            const int n = int(qMin<JDIMENSION>(cinfo.rec_outbuf_height, cinfo.output_height - y));
            for (int i = 0; i < n; ++i)
                rows[size_t(i)] = image.scanLine(int(y) + i);
            jpeg_read_scanlines(&cinfo, rows.data(), JDIMENSION(n));
        }
    }
};

void applyPassSettings(jpeg_decompress_struct &cinfo, bool fast, bool twoPassAllowed)
{
    cinfo.dct_method = fast ? JDCT_IFAST : JDCT_ISLOW;
    if (cinfo.quantize_colors) {
        const bool twoPass = !fast && twoPassAllowed;
        if (cinfo.two_pass_quantize != boolean(twoPass))
            cinfo.colormap = nullptr; // let the new quantiser make its own palette
        cinfo.two_pass_quantize = twoPass;
        cinfo.dither_mode = fast ? JDITHER_ORDERED : JDITHER_FS;
    }
}

QImage cmykToRgb(const QImage &cmyk, bool adobeInverted)
{
    QImage out(cmyk.width(), cmyk.height(), QImage::Format_RGB32);
    for (int y = 0; y < cmyk.height(); ++y) {
        const uchar *s = cmyk.constScanLine(y);
        auto *d = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < cmyk.width(); ++x, s += 4) {
            int c = s[0], m = s[1], ye = s[2], k = s[3];
            if (!adobeInverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            d[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
    return out;
}

} // namespace

int jpegScaledSize(int size, int scale)
{
    const int denom = 1 << qBound(0, scale, 3);
    return (size + denom - 1) / denom;
}

platform::ErrorOr<JpegHeader> readJpegHeader(QByteArrayView data)
{
    JpegHeader header;
    auto d = std::make_unique<Decoder>();
    if (setjmp(d->err.jump))
        return invalidData(QString::fromLatin1(d->err.message));
    d->start(data);
    header.width = int(d->cinfo.image_width);
    header.height = int(d->cinfo.image_height);
    header.components = d->cinfo.num_components;
    header.progressive = jpeg_has_multiple_scans(&d->cinfo);
    if (!imageSizeAllowed(header.width, header.height))
        return sizeRefusal(header.width, header.height, QStringLiteral("JPEG picture too large"));
    return header;
}

namespace {
// The palette libjpeg quantised to, as the picture's colour table.
void setColourTable(QImage &image, const jpeg_decompress_struct &ci)
{
    if (!ci.colormap)
        return;
    QList<QRgb> table(ci.actual_number_of_colors);
    for (int i = 0; i < ci.actual_number_of_colors; ++i) {
        if (ci.out_color_components == 1)
            table[i] = qRgb(ci.colormap[0][i], ci.colormap[0][i], ci.colormap[0][i]);
        else
            table[i] = qRgb(ci.colormap[0][i], ci.colormap[1][i], ci.colormap[2][i]);
    }
    image.setColorTable(table);
}
} // namespace

platform::ErrorOr<QImage> decodeJpeg(QByteArrayView data, const JpegOptions &options,
                                     const JpegProgressFn &progress, const JpegPassFn &passDone)
{
    // Everything libjpeg touches lives behind one pointer that does not change after setjmp.
    auto d = std::make_unique<Decoder>();
    if (setjmp(d->err.jump))
        return invalidData(QString::fromLatin1(d->err.message));
    d->start(data);
    jpeg_decompress_struct &ci = d->cinfo;
    if (!imageSizeAllowed(ci.image_width, ci.image_height))
        return sizeRefusal(ci.image_width, ci.image_height, QStringLiteral("JPEG picture too large"));
    d->progress.pub.progress_monitor = progressMonitor;
    d->progress.fn = &progress;
    ci.progress = &d->progress.pub;

    const bool cmyk = ci.jpeg_color_space == JCS_CMYK || ci.jpeg_color_space == JCS_YCCK;
    const bool quantize = (options.eightBit || options.grayscale) && !cmyk;
    ci.scale_num = 1;
    ci.scale_denom = 1u << qBound(0, options.scale, 3);
    ci.do_block_smoothing = options.smoothing;
    if (cmyk)
        ci.out_color_space = JCS_CMYK;
    else if (options.grayscale)
        ci.out_color_space = JCS_GRAYSCALE;
    else
        ci.out_color_space = JCS_RGB; // 24-bit output is packed R, G, B: no fourth byte to write
    // The two-pass quantiser only works on three components.
    const bool twoPassAllowed = !options.grayscale;
    if (quantize) {
        ci.quantize_colors = TRUE;
        ci.desired_number_of_colors = 236;
    }
    const bool buffered = options.progressiveDisplay && jpeg_has_multiple_scans(&ci);
    if (buffered) {
        ci.buffered_image = TRUE;
        if (quantize) {
            ci.enable_1pass_quant = TRUE;
            ci.enable_2pass_quant = twoPassAllowed;
        }
        applyPassSettings(ci, true, twoPassAllowed);
    } else {
        applyPassSettings(ci, options.fast, twoPassAllowed);
    }
    jpeg_calc_output_dimensions(&ci);
    const QImage::Format format = cmyk       ? QImage::Format_RGBX8888 // 4 bytes a pixel, converted below
                                  : quantize ? QImage::Format_Indexed8
                                             : QImage::Format_RGB888;
    d->image = platform::allocateImage(int(ci.output_width), int(ci.output_height), format);
    if (d->image.isNull())
        return tooLarge(QStringLiteral("out of memory"));
    jpeg_start_decompress(&ci);
    d->rows.resize(size_t(qMax(1, ci.rec_outbuf_height)));

    if (!buffered) {
        d->readRows();
    } else {
        // One output pass per scan; every scan but the last on the fast settings.
        for (;;) {
            int ret;
            do {
                ret = jpeg_consume_input(&ci);
            } while (ret != JPEG_REACHED_SOS && ret != JPEG_REACHED_EOI && ret != JPEG_SUSPENDED);
            const bool last = ret != JPEG_REACHED_SOS;
            applyPassSettings(ci, last ? options.fast : true, twoPassAllowed);
            jpeg_start_output(&ci, ci.input_scan_number);
            d->readRows();
            jpeg_finish_output(&ci);
            if (last)
                break;
            // CMYK is converted only at the end: its coarse passes are not shown.
            if (passDone && !cmyk) {
                if (quantize)
                    setColourTable(d->image, ci);
                passDone(d->image);
            }
        }
    }
    if (quantize)
        setColourTable(d->image, ci);
    const bool adobe = ci.saw_Adobe_marker;
    jpeg_finish_decompress(&ci);
    if (cmyk) {
        QImage rgb = cmykToRgb(d->image, adobe);
        if (options.grayscale)
            return rgb.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_Indexed8);
        return options.eightBit ? rgb.convertToFormat(QImage::Format_Indexed8) : rgb;
    }
    return std::move(d->image);
}

} // namespace pictures
