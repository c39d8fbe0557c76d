// The scan commands of the main window: the scan mode (drives or one folder), the folder box and its
// browse button, and the scan itself (the modal scan window walks the drives or the folder).
#pragma once

struct App;

void ComboChoiceChange(App &app);
void txtSelectFolderChange(App &app);

// Connects the scan-mode box, the folder box and its button, and the scan commands.
void ConnectScanCommands(App &app);
