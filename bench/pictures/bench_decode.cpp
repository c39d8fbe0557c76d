// bench_decode KIND FILE [--scale N] [--gray] [--fast] [--8bit] [--out OUT.png]
// Decodes one file once through the picture components, as a process hyperfine can time against
// djpeg or ImageMagick doing the same work. KIND: jpeg, pcx, tif, wmf, emf.
#include "components/TJPEGImage.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"
#include "components/decoders/PcxDecoder.h"
#include "components/decoders/TiffDecoder.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_decode KIND FILE [--scale N] [--gray] [--fast] [--8bit] [--out PNG]\n");
        return 2;
    }
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    int scale = 0;
    bool gray = false, fast = false, eight = false;
    QString out;
    for (int i = 3; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--scale" && i + 1 < argc)
            scale = std::atoi(argv[++i]);
        else if (a == "--gray")
            gray = true;
        else if (a == "--fast")
            fast = true;
        else if (a == "--8bit")
            eight = true;
        else if (a == "--out" && i + 1 < argc)
            out = QString::fromLocal8Bit(argv[++i]);
    }
    // Metafile text needs fonts, which need a GUI application; the others start nothing.
    std::unique_ptr<QGuiApplication> app;
    if (kind == "wmf" || kind == "emf") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QImage img;
    if (kind == "jpeg") {
        TJPEGImage jpeg;
        if (const platform::Status status = jpeg.loadFromFile(file); !status) {
            std::fprintf(stderr, "%s\n", qPrintable(status.message()));
            return 1;
        }
        jpeg.setScale(scale);
        jpeg.setGrayscale(gray);
        jpeg.setPerformance(fast ? TJPEGImage::BestSpeed : TJPEGImage::BestQuality);
        jpeg.setPixelFormat(eight ? TJPEGImage::Format8Bit : TJPEGImage::Format24Bit);
        img = jpeg.bitmap();
        if (img.isNull())
            std::fprintf(stderr, "%s\n", qPrintable(jpeg.lastDecode().message()));
    } else {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        // The decoders themselves, so the program loads no widget library.
        const QByteArray data = f.readAll();
        platform::ErrorOr<QImage> decoded = pictures::invalidData(QStringLiteral("unknown kind"));
        if (kind == "pcx")
            decoded = pictures::decodePcx(data);
        else if (kind == "tif")
            decoded = pictures::decodeTiff(data);
        else if (kind == "wmf")
            decoded = pictures::renderWmf(data, Qt::white);
        else if (kind == "emf")
            decoded = pictures::renderEmf(data, Qt::white);
        if (decoded)
            img = *decoded;
        else
            std::fprintf(stderr, "%s\n", qPrintable(decoded.error().message));
    }
    if (img.isNull())
        return 1;
    if (!out.isEmpty())
        img.save(out);
    std::printf("%dx%d\n", img.width(), img.height());
    return 0;
}
