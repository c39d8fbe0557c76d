// The viewer popup popmnuViewFile, offered on every viewer page that shows a file: its items follow
// the viewer toolbar (shown when their button is enabled, checked when it is down), the Play item
// is captioned by the type on view, and each separator shows only between groups that have items.
#pragma once

class TfrmMain;

// Sets the popup's items before it opens.
void UpdateViewerPopup(TfrmMain &form);
// Shows the popup at a right click on a page that shows a file.
void ConnectViewerPopup(TfrmMain &form);
