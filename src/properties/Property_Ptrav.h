// The My-computer properties window TfrmProperty_Ptrav: the configured drives, and what the last
// scan found on all of them together.
#pragma once

#include "properties/PropertyWindow.h"

class QLabel;
class QTreeWidget;

class TfrmProperty_Ptrav : public TPropertyWindow
{
    Q_OBJECT
public:
    explicit TfrmProperty_Ptrav(App &app);

    QLabel *lblGeneralHello = nullptr;
    QLabel *Label1 = nullptr;
    QTreeWidget *LvDrives = nullptr;
    propkit::FoundFiles found;
};

// The Files tab shows only when the list on view holds an item (something was scanned).
void ShowComputerProperties(App &app);
