// The viewer pane's dispatch: the page of a type shows a file, and what Stop, Loop and Preview do
// for the file on view, the page backgrounds and the viewer toolbar's state (applied when the
// notebook's page changes and after every resize of the window or the pane) are that page's. A
// type without a page ends the program through the internal error of the operation.
#pragma once

#include "app/MediaType.h"

#include <QString>

class ViewerPage;
class ViewerPane;

void nbkViewerPageChanged(ViewerPane &pane);
void ApplyPageBackground(ViewerPane &pane, MediaType type);
// The buttons of a type; the navigation is always offered, and Play also for a file item selected
// but not shown.
void SetViewerButtons(ViewerPane &pane, MediaType type);
QString PlayCaptionOfType(const ViewerPane &pane, MediaType type);

// Shows a file (a full drive path) on the page of its type.
void ShowFileByType(ViewerPane &pane, MediaType type, const QString &path);
// Loads the file on the page; a file the page cannot show gives the file access error.
void LoadOnPage(ViewerPane &pane, ViewerPage *page, const QString &path);
// Stop, Loop (the pressed state of btnLoop) and Preview for OnView.FileType.
void StopCurrentFile(ViewerPane &pane);
void SetLoopOfType(ViewerPane &pane, bool pressed);
void PreviewCurrentFile(ViewerPane &pane);
// The pictures that stretch, scaled to their page while btnStretch is down.
void ApplyStretch(ViewerPane &pane);
