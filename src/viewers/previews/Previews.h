// The Preview command's windows: the file last loaded on the page of its type (the page's record),
// read again from disk and shown in a window of its own at its natural size. The picture previews
// are modal (made for one preview, freed after); the AVI preview plays in the animation control's
// window, or as video in the video device's own window (not modal), as the other clips' do. Each page opens
// its own.
//
// Rules:
// - A picture that cannot be read gives the file access error and a beep (none for GIF) and no
//   window; a JPEG whose data turns out damaged while it decodes gives an empty window.
// - The busy cursor is always put back, whatever happens.
#pragma once

#include "components/decoders/Animation.h"

#include <QColor>

class App;
class TMediaPlayer;
class TViewPageAVI_WIN;
struct ViewedRecord;

// The window of a still picture decoded by an image view (PCX, TIF, WMF, EMF).
struct PreviewLook
{
    const char *form; // the window's name: "frmPreview_PCX"
    const char *view; // its view's name: "PicPcx"
    bool eightBit;
    QColor colour; // the page's colour
};
void PreviewImage(App &app, const ViewedRecord &record, const PreviewLook &look);
void PreviewBMP(App &app, const ViewedRecord &record, const QColor &colour);
void PreviewGIF(App &app, const ViewedRecord &record, const QColor &colour);
void PreviewJPG(App &app, const ViewedRecord &record, const QColor &colour);
void PreviewAVI(TViewPageAVI_WIN &page);

// PNG and WebP: the picture player at the picture's size, in the page's colour, playing an
// animation once the window shows.
struct AnimatedLook
{
    const char *form;    // the window's name: "frmPreview_PNG"
    const char *picture; // its player's name: "ImagePNG"
    QColor colour;
    pictures::AnimationFormat format;
};
void PreviewAnimated(App &app, const ViewedRecord &record, const AnimatedLook &look);
// A clip played as video: on the preview's player, in the video device's own window, the page's
// player closed first.
void PreviewVideo(App &app, const ViewedRecord &record, TMediaPlayer *preview, TMediaPlayer *onPage);
