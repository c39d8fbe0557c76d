#include "properties/DetailFacts.h"

#include "app/App.h"
#include "components/MediaFacts.h"

#include <algorithm>

namespace {

const ViewedRecord *pictureRecord(const AppState &st, MediaType type)
{
    switch (type) {
    case mtBMP:
        return &st.Viewed[mtBMP];
    case mtPCX:
        return &st.Viewed[mtPCX];
    case mtTIF:
        return &st.Viewed[mtTIF];
    case mtWMF:
        return &st.Viewed[mtWMF];
    case mtEMF:
        return &st.Viewed[mtEMF];
    default:
        return nullptr;
    }
}

void takePicture(DetailFacts &f, const mediafacts::PictureFacts &p)
{
    f.width = p.width;
    f.height = p.height;
    f.monochrome = p.monochrome;
}

// The GIF player shows a file at its normal speed until told otherwise.
constexpr int kNormalGifSpeed = 100;

} // namespace

DetailFacts ReadDetailFacts(App &app, const QString &path, MediaType type)
{
    const AppState &st = app.st;
    DetailFacts f;
    const QString native = app.drives().toNative(path);
    switch (type) {
    case mtBMP:
    case mtPCX:
    case mtTIF:
    case mtWMF:
    case mtEMF:
        if (const ViewedRecord *r = pictureRecord(st, type); r->Path == path) {
            f.width = r->Width;
            f.height = r->Height;
            f.monochrome = r->Monochrome;
        } else {
            takePicture(f, mediafacts::readPictureFacts(native));
        }
        break;
    case mtICO:
    case mtANI: {
        const ViewedRecord &r = type == mtICO ? st.Viewed[mtICO] : st.Viewed[mtANI];
        if (r.Path == path) {
            f.width = r.Width;
            f.height = r.Height;
        } else {
            takePicture(f, mediafacts::readPictureFacts(native));
            f.monochrome = false;
        }
        break;
    }
    case mtJPG:
        if (st.Viewed[mtJPG].Path == path) {
            f.width = st.Viewed[mtJPG].Width;
            f.height = st.Viewed[mtJPG].Height;
        } else {
            takePicture(f, mediafacts::readJpegFacts(native, std::clamp(st.settings.JPEG_Scale, 0, 3)));
            f.monochrome = false;
        }
        break;
    case mtGIF: {
        const ViewedRecord &r = st.Viewed[mtGIF];
        if (r.Path == path) {
            f.width = r.Width;
            f.height = r.Height;
            f.animated = r.Animated;
            f.interlaced = r.Interlaced;
            f.transparent = r.Transparent;
            f.frameCount = r.FrameCount;
            f.speed = r.Speed;
            f.tile = r.Tile;
        } else {
            const mediafacts::GifFacts g = mediafacts::readGifFacts(native);
            f.width = g.width;
            f.height = g.height;
            f.animated = g.animated;
            f.interlaced = g.interlaced;
            f.transparent = g.transparent;
            f.frameCount = g.frameCount;
            f.speed = g.ok ? kNormalGifSpeed : 0;
        }
        break;
    }
    case mtMID:
    case mtWAV: {
        const ViewedRecord &r = type == mtMID ? st.Viewed[mtMID] : st.Viewed[mtWAV];
        if (r.Path == path) {
            f.lengthMs = r.LengthMs;
            f.repeat = r.Repeat;
        } else {
            f.lengthMs = mediafacts::readSoundLengthMs(native);
        }
        break;
    }
    case mtAVI: {
        const ViewedRecord &r = st.Viewed[mtAVI];
        if (r.Path == path) {
            f.inWindow = r.InWindow;
            f.lengthMs = r.LengthMs;
            f.repeat = r.Repeat;
        } else {
            const mediafacts::ClipFacts c = mediafacts::readClipFacts(native);
            f.inWindow = c.inWindow;
            f.lengthMs = c.lengthMs;
        }
        break;
    }
    default:
        break;
    }
    return f;
}
