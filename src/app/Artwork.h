// The program's own artwork (SVG drawings compiled in as resources) and the image lists built from it.
// Index plans: tree pictures 0..19, list pictures 0..18, drive pictures by drive type 0..6.
#pragma once

#include "app/MediaType.h"

#include <QIcon>
#include <QPixmap>
#include <vector>

// An icon from art/<relative> (".svg" is added when missing); a null icon when there is none.
QIcon ArtIcon(const QString &relative);
// A drawing rendered at the given size; a transparent pixmap when there is none.
QPixmap ArtPixmap(const QString &relative, QSize size);
// Normal drawing plus its "hot" variant (shown under the mouse).
QIcon ArtToolbarIcon(const QString &bar, const QString &name);

struct ImageLists
{
    std::vector<QIcon> treeView;     // ilistTreeView: 20 pictures
    std::vector<QIcon> smallList;    // ilistSmallListView: 19 pictures, 16 by 16
    std::vector<QIcon> largeList;    // ilistLargeListView: 19 pictures, 32 by 32
    std::vector<QIcon> disks;        // ilistDisks: 7 pictures by drive type
    std::vector<QIcon> scanReport;   // ilistScanReport: 3 pictures
    std::vector<QPixmap> types;      // 32 by 32 by media type 1..19 (index 0 unused)
    std::vector<QPixmap> driveKinds; // 32 by 32: removable, fixed, network, CD-ROM, RAM, unknown
};
// Draws every list (App::images() keeps them for the run).
ImageLists BuildImageLists();

class App;
// The 32 by 32 picture of a media type ANI..ICO; any other value ends the program with internal
// error 24.
QPixmap MediaTypePicture(App &app, MediaType type);
// The picture of a drive kind: 0 removable, 1 fixed, 2 network, 3 CD-ROM, 4 RAM, other unknown.
QPixmap DriveKindPicture(App &app, int kind);
