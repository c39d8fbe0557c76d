// The viewer pane's dispatch by media type: which page and loader show a file, what Stop, Loop and
// Preview do for the file on view, the page backgrounds, and the viewer toolbar's state (applied
// when the notebook's page changes and after every resize of the window or the pane). A type
// outside the table ends the program through the internal error of the operation.
#pragma once

#include "app/MediaType.h"

#include <QString>

class ViewerPane;

void nbkViewerPageChanged(ViewerPane &pane);
void ApplyPageBackground(ViewerPane &pane, MediaType type);
// The buttons of a type; the navigation is always offered, and Play also for a file item selected
// but not shown.
void SetViewerButtons(ViewerPane &pane, MediaType type);
QString PlayCaptionOfType(ViewerPane &pane, MediaType type);

// Runs the loader of the type with a full (drive) path.
void ShowFileByType(ViewerPane &pane, MediaType type, const QString &path);
// Stop, Loop (the pressed state of btnLoop) and Preview for Selection.FileType.
void StopCurrentFile(ViewerPane &pane);
void SetLoopOfType(ViewerPane &pane, bool pressed);
void PreviewCurrentFile(ViewerPane &pane);
// The BMP and JPEG pictures scaled to the page while btnStretch is down.
void ApplyStretch(ViewerPane &pane);
