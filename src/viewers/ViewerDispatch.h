// The viewer pane's dispatch: page backgrounds and the viewer toolbar's state by media type, applied
// when the notebook's page changes and after every resize of the window or the pane.
#pragma once

#include <QString>

struct App;

void nbkViewerPageChanged(App &app);
void ApplyPageBackground(App &app, int mediaType);
void SetViewerButtons(App &app, int mediaType);
QString PlayCaptionOfType(App &app, int mediaType);
