#include "catalogue/ScanDisk.h"

#include "catalogue/MediaTypes.h"
#include "catalogue/My_TView.h"
#include "catalogue/ScanWindow.h"
#include "platform/Ui.h"
#include "shell/App.h"
#include "shell/Main.h"

#include <memory>

void RunScan(App &app)
{
    AppState &st = app.st;
    // The walk processes messages: a second scan must not start inside the first.
    if (st.ScanRequest.Scanning)
        return;
    st.ScanRequest.Scanning = true;
    // Cleared however the command ends, an error box included.
    const std::unique_ptr<bool, void (*)(bool *)> scanning(&st.ScanRequest.Scanning,
                                                           [](bool *flag) { *flag = false; });

    ResetCatalogue(app);
    if (st.settings.Show_Non_Empty_Tabs)
        SetTypeTabsVisible(app, false);
    const std::unique_ptr<TfrmScanDisks> window = std::make_unique<TfrmScanDisks>(app, app.frmMain);
    const int result = platform::ui().execModal(window.get());
    if (result == 2)
        ResetCatalogue(app);
    else if (st.settings.Expand_Treeview_At_End_Of_Scan)
        ExpandAllTrees(app);
    else
        CollapseAllTrees(app);
    if (st.settings.Show_Non_Empty_Tabs)
        ShowNonEmptyTypeTabs(app, true);
    pcMainChange(app);
}
