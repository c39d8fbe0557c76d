// The commands of the viewer toolbar (and of the Play menu and the viewer popup, which mirror it):
// Play (a refresh of a picture), Stop, Preview, the toggles Loop, Stretch and Tile, and the moves to
// the first, previous, next and last file of the list, which select the file in the list (the list
// then shows it as a click would). A move that cannot be made beeps.
#pragma once

class ViewerPane;
enum class ViewerCommand;

// What a click on the command's button runs.
void RunViewerCommand(ViewerPane &pane, ViewerCommand command);

void btnPlayFileClick(ViewerPane &pane);
void btnStopPlayingFileClick(ViewerPane &pane);
void btnPreviewClick(ViewerPane &pane);
void btnLoopClick(ViewerPane &pane);
void btnStretchClick(ViewerPane &pane);
void btnTileClick(ViewerPane &pane);
void btnFirstFileClick(ViewerPane &pane);
void btnPreviousFileClick(ViewerPane &pane);
void btnNextFileClick(ViewerPane &pane);
void btnLastFileClick(ViewerPane &pane);

// The popup's toggles: flip the button, then run its command, so that every place agrees.
void ToggleLoopButton(ViewerPane &pane);
void ToggleStretchButton(ViewerPane &pane);
void ToggleTileButton(ViewerPane &pane);
