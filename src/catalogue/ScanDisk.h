// The scan commands of the main window: the scan mode (drives or one folder), the folder box and its
// browse button, and the scan itself: RunScan empties the catalogue, runs the modal scan window
// (which walks the drives or the folder, see ScanWindow.h and ScanEngine.h), then keeps the new trees
// expanded or collapsed, or empties the catalogue again when the scan was cancelled.
//
// Rules:
// - ScanRequest.Scanning is set from the start of RunScan to its end, also when the window fails.
// - A folder chosen in the browser must lie on a drive letter; one that does not is refused with a
//   message and changes nothing.
#pragma once

struct App;

void RunScan(App &app);

void ComboChoiceChange(App &app);
void txtSelectFolderChange(App &app);
void btnMoreFolderClick(App &app);
void mnuMain_View_ScanNowClick(App &app);
void btnScanDrivesClick(App &app);

// Connects the scan-mode box, the folder box and its button, and the scan commands.
void ConnectScanCommands(App &app);
