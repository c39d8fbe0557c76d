#include "properties/DetailFacts.h"

#include "app/App.h"

#include <algorithm>

DetailFacts ReadDetailFacts(App &app, const QString &path, MediaType type)
{
    DetailFacts f;
    if (!isMediaType(type))
        return f;
    if (const ViewedRecord &r = app.st.Viewed[type]; r.Path == path) {
        // What the page recorded of this very file, with its marks.
        f.ok = true;
        f.width = r.Width;
        f.height = r.Height;
        f.monochrome = r.Monochrome;
        f.lengthMs = r.LengthMs;
        f.repeat = r.Repeat;
        f.inWindow = r.InWindow;
        f.animated = r.Animated;
        f.interlaced = r.Interlaced;
        f.transparent = r.Transparent;
        f.frameCount = r.FrameCount;
        f.speed = r.Speed;
        f.tile = r.Tile;
        return f;
    }
    if (const mediafacts::FactsReader read = mediaTypeInfo(type).facts)
        static_cast<mediafacts::FileFacts &>(f) =
            read(app.drives().toNative(path), {.jpegScale = std::clamp(app.st.settings.JPEG_Scale, 0, 3)});
    return f;
}
