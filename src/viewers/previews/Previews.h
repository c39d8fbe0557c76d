// The Preview command's windows: the file last loaded on the page of its type (the page's record),
// read again from disk and shown in a window of its own at its natural size. The picture previews
// are modal (made for one preview, freed after); the AVI preview plays in the animation control's
// window, or as video in the video device's own window (not modal).
//
// Rules:
// - A picture that cannot be read gives the file access error and a beep (none for GIF) and no
//   window; a JPEG whose data turns out damaged while it decodes gives an empty window.
// - The busy cursor is always put back, whatever happens.
#pragma once

#include "app/MediaType.h"

class ViewerPane;

void PreviewBMP(ViewerPane &pane);
void PreviewGIF(ViewerPane &pane);
void PreviewJPG(ViewerPane &pane);
void PreviewPCX(ViewerPane &pane);
void PreviewTIF(ViewerPane &pane);
void PreviewWMF(ViewerPane &pane);
void PreviewEMF(ViewerPane &pane);
void PreviewAVI(ViewerPane &pane);
// The preview of a type that has one.
void ShowPreview(ViewerPane &pane, MediaType type);
