#include "shell/TbarMain.h"

#include "app/Language.h"
#include "app/Libry.h"
#include "app/Settings.h"
#include "catalogue/FileLists.h"
#include "shell/Main.h"

#include <QAction>
#include <QToolButton>

QToolButton *ViewStyleButton(TfrmMain &form, int style)
{
    switch (style) {
    case 0:
        return form.btnLargeIcon;
    case 1:
        return form.btnSmallIcon;
    case 2:
        return form.btnListIcon;
    case 3:
        return form.btnReportIcon;
    default:
        InternalError(form.app, 12, SelectText("Style d'icône ivalide.", "Invalid icon style."));
    }
}

void SetViewStyle(TfrmMain &form, int style)
{
    App &app = form.app;
    bool &running = app.st.SettingViewStyle;
    if (running)
        return;
    running = true;
    struct Clear
    {
        bool &flag;
        ~Clear() { flag = false; }
    } clear{running};
    ViewStyleButton(form, style)->setChecked(true);
    app.st.settings.Icon_Style = style;
    if (!SaveIconStyle(app))
        return;
    ApplyViewStyle(app, SelectionList(form.cataloguePane()));
}

void CheckViewStyleItem(TfrmMain &form, int style)
{
    const MenuActions &m = form.menus;
    QAction *const items[4] = {m.mnuMain_View_LargeIcon, m.mnuMain_View_SmallIcon, m.mnuMain_View_List,
                               m.mnuMain_View_Report};
    if (style < 0 || style > 3)
        InternalError(form.app, 13, SelectText("Numéero ViewStyle invalide.", "Invalid ViewStyle number."));
    items[style]->setChecked(true);
}
