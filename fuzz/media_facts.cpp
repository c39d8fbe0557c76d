// link: luma_components
// Fuzz target: the facts readers of the file properties window (components/FileFacts.h over
// components/MediaFacts.h). They read files by path and choose the format by the extension, so the
// bytes are written to a file whose extension their signature names (seeds are whole files of
// every type); bytes of no known signature get an extension chosen by their length. What a
// reader answers must be a consistent shape: a picture it accepts has a size, one it refuses
// answers zeros.
#include "ScratchFile.h"
#include "components/FileFacts.h"
#include "components/decoders/ImageLimits.h"

#include <QFile>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

struct Kind
{
    const char *ext;
    mediafacts::FactsReader read;
    bool picture;
};

const Kind kKinds[] = {
    {"bmp", mediafacts::readPictureFileFacts, true}, {"pcx", mediafacts::readPictureFileFacts, true},
    {"tif", mediafacts::readPictureFileFacts, true}, {"wmf", mediafacts::readPictureFileFacts, true},
    {"emf", mediafacts::readPictureFileFacts, true}, {"ico", mediafacts::readSizeFileFacts, true},
    {"ani", mediafacts::readSizeFileFacts, true},    {"jpg", mediafacts::readJpegFileFacts, true},
    {"gif", mediafacts::readGifFileFacts, true},     {"wav", mediafacts::readSoundFileFacts, false},
    {"mid", mediafacts::readSoundFileFacts, false},  {"avi", mediafacts::readClipFileFacts, false},
};
constexpr int kKindCount = int(sizeof kKinds / sizeof kKinds[0]);

// Signatures hold zero bytes: string views keep their length.
bool at(const uint8_t *d, size_t size, size_t offset, std::string_view magic)
{
    return size >= offset + magic.size() && std::memcmp(d + offset, magic.data(), magic.size()) == 0;
}

int kindOf(const uint8_t *d, size_t size)
{
    const char *ext = nullptr;
    if (at(d, size, 0, "BM"sv))
        ext = "bmp";
    else if (size >= 4 && d[0] == 0x0a && d[1] <= 5 && d[2] <= 1)
        ext = "pcx";
    else if (at(d, size, 0, "II*"sv) || at(d, size, 0, "MM\x00*"sv))
        ext = "tif";
    else if (at(d, size, 0, "\xd7\xcd\xc6\x9a"sv) || at(d, size, 0, "\x01\x00\x09\x00"sv) ||
             at(d, size, 0, "\x02\x00\x09\x00"sv))
        ext = "wmf";
    else if (at(d, size, 40, " EMF"sv))
        ext = "emf";
    else if (at(d, size, 0, "\x00\x00\x01\x00"sv) || at(d, size, 0, "\x00\x00\x02\x00"sv))
        ext = "ico";
    else if (at(d, size, 8, "ACON"sv))
        ext = "ani";
    else if (at(d, size, 0, "\xff\xd8"sv))
        ext = "jpg";
    else if (at(d, size, 0, "GIF"sv))
        ext = "gif";
    else if (at(d, size, 8, "WAVE"sv))
        ext = "wav";
    else if (at(d, size, 0, "MThd"sv) || at(d, size, 8, "RMID"sv))
        ext = "mid";
    else if (at(d, size, 8, "AVI "sv))
        ext = "avi";
    for (int i = 0; ext && i < kKindCount; ++i) {
        if (std::strcmp(kKinds[i].ext, ext) == 0)
            return i;
    }
    return int(size % kKindCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The ICO reader decodes through Qt's image plugins, which want an application.
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_media_facts";
        static char *argv[] = {name, nullptr};
        // Qt's image readers warn on damaged data; printing the warnings would cost most of a run.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    pictures::setMaxImageBytes(qint64(256) << 10);
    const Kind &kind = kKinds[kindOf(data, size)];
    // Qt's icon reader warns once for every entry an icon's count claims beyond the file's end, up
    // to 65535 a run: the count is cut to the entries the file can hold, the rest left as it is.
    const uint8_t *bytes = data;
    std::vector<uint8_t> icon;
    if (std::strcmp(kind.ext, "ico") == 0 && size >= 6) {
        icon.assign(data, data + size);
        const size_t entries = qMin<size_t>(icon[4] | (icon[5] << 8), (size - 6) / 16);
        icon[4] = uint8_t(entries & 0xff);
        icon[5] = uint8_t(entries >> 8);
        bytes = icon.data();
    }
    const QString path =
        fuzzing::writeScratchFile(QStringLiteral("input.") + QLatin1String(kind.ext), bytes, size);

    const mediafacts::FileFacts facts = kind.read(path, mediafacts::FactsOptions{int(size % 4)});
    if (kind.picture) {
        if (facts.ok != (facts.width > 0 && facts.height > 0) || facts.lengthMs != 0)
            __builtin_trap();
        if (!facts.ok && (facts.frameCount != 0 || facts.monochrome || facts.speed != 0))
            __builtin_trap();
    } else if (facts.lengthMs < 0 || facts.width != 0 || (!facts.ok && facts.lengthMs != 0)) {
        __builtin_trap();
    }
    QFile::remove(path);
    return 0;
}
