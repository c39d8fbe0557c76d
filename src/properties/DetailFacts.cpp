#include "properties/DetailFacts.h"

#include "app/App.h"

#include <algorithm>

DetailFacts ReadDetailFacts(App &app, const QString &path, MediaType type)
{
    DetailFacts f;
    if (!isMediaType(type))
        return f;
    const ViewedRecord &r = app.st.Viewed[type];
    const DetailsKind kind = mediaTypeInfo(type).details;
    const bool readAlways =
        kind == DetailsKind::Image || kind == DetailsKind::Song || kind == DetailsKind::Movie;
    if (r.Path == path && !readAlways) {
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
    // The page's own mark: whether it plays this very file again at its end.
    f.repeat = readAlways && r.Path == path && r.Repeat;
    return f;
}
