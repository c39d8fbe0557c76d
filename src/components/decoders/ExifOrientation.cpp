#include "components/decoders/ExifOrientation.h"

#include <QTransform>
#include <libexif/exif-data.h>
#include <memory>

namespace pictures {

int exifOrientation(QByteArrayView jpegData)
{
    if (jpegData.size() < 4)
        return 1;
    // libexif finds the APP1 segment of a JPEG file itself.
    std::unique_ptr<ExifData, void (*)(ExifData *)> exif(
        exif_data_new_from_data(reinterpret_cast<const unsigned char *>(jpegData.data()),
                                static_cast<unsigned int>(jpegData.size())),
        exif_data_unref);
    if (!exif)
        return 1;
    ExifEntry *entry = exif_data_get_entry(exif.get(), EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components != 1 || entry->size < 2)
        return 1;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
    return value >= 1 && value <= 8 ? value : 1;
}

QImage upright(const QImage &stored, int orientation)
{
    switch (orientation) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5: // transposed: a quarter turn clockwise, then mirrored left to right
        return stored.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return stored.transformed(QTransform().rotate(90));
    case 7: // transversed: a quarter turn clockwise, then mirrored top to bottom
        return stored.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return stored.transformed(QTransform().rotate(270));
    default:
        return stored;
    }
}

QSize uprightSize(QSize stored, int orientation)
{
    return orientation >= 5 && orientation <= 8 ? stored.transposed() : stored;
}

} // namespace pictures
