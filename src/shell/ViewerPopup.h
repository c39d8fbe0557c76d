// The viewer popup popmnuViewFile, offered on every picture of the viewer pages: its items follow
// the viewer toolbar (shown when their button is enabled, checked when it is down), the Play item
// is captioned by the type on view, and each separator shows only between groups that have items.
#pragma once

class TfrmMain;

// Sets the popup's items before it opens.
void UpdateViewerPopup(TfrmMain &form);
// Connects the popup's items to the viewer's commands and shows it at a right click on a picture.
void ConnectViewerPopup(TfrmMain &form);
