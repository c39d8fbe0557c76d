// The viewer pane's dispatch: page backgrounds and the viewer toolbar's state by media type, applied
// when the notebook's page changes and after every resize of the window or the pane.
#pragma once

#include "app/MediaType.h"

#include <QString>

class ViewerPane;

void nbkViewerPageChanged(ViewerPane &pane);
void ApplyPageBackground(ViewerPane &pane, MediaType type);
void SetViewerButtons(ViewerPane &pane, MediaType type);
QString PlayCaptionOfType(ViewerPane &pane, MediaType type);
