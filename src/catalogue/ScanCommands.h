// The scan commands of the drive bar and the menus: the scan mode (drives or one folder), the folder
// box and its browse button, and the scan itself: RunScan empties the catalogue, runs the modal scan
// window (which walks the drives or the folder, see ScanWindow.h and ScanEngine.h) with the store in
// one batch, then keeps the new trees expanded or collapsed, or empties the catalogue again when the
// scan was cancelled.
//
// Rules:
// - ScanRequest.Scanning is set from the start of RunScan to its end, also when the window fails.
// - A folder chosen in the browser must lie on a drive letter; one that does not is refused with a
//   message and changes nothing.
#pragma once

class CataloguePane;

void RunScan(CataloguePane &pane);

void ComboChoiceChange(CataloguePane &pane);
// Shows the scan mode chosen elsewhere (the View menu): 0 drives, 1 folder.
void ChooseScanMode(CataloguePane &pane, int mode);
void txtSelectFolderChange(CataloguePane &pane);
void btnMoreFolderClick(CataloguePane &pane);
void mnuMain_View_ScanNowClick(CataloguePane &pane);
void btnScanDrivesClick(CataloguePane &pane);

// Connects the scan-mode box, the folder box and its button.
void ConnectScanCommands(CataloguePane &pane);
