// The main menu and the popup menus: names, French captions, shortcuts, and the command each item
// runs, all in the statement that makes the item.
#include "shell/MenuMain.h"

#include "app/App.h"
#include "app/Language.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/CatalogueSearch.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/ScanCommands.h"
#include "convert/window/ConvertCommands.h"
#include "fileops/FileCommands.h"
#include "options/Options.h"
#include "properties/PropertiesDispatch.h"
#include "shell/About.h"
#include "shell/Help.h"
#include "shell/Main.h"
#include "shell/TbarMain.h"
#include "viewers/ViewerCommands.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/Slideshow.h"
#include "viewers/zoom/ViewerZoom.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <functional>

namespace {

// Adds the items of one menu.
class Items
{
public:
    Items(TfrmMain &form, QMenu *menu) : m_form(form), m_menu(menu) {}

    QAction *item(const char *name, const char *fr, const char *en, std::function<void()> run,
                  const char *shortcut = nullptr, bool checkable = false)
    {
        auto *a = new QAction(SelectText(QString::fromUtf8(fr), QString::fromUtf8(en)), &m_form);
        a->setObjectName(QString::fromLatin1(name));
        if (shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        // The shortcuts work whether or not the menu was ever opened.
        a->setShortcutContext(Qt::WindowShortcut);
        a->setCheckable(checkable);
        if (run)
            QObject::connect(a, &QAction::triggered, &m_form, std::move(run));
        m_menu->addAction(a);
        return a;
    }
    QAction *separator(const char *name = nullptr)
    {
        QAction *s = m_menu->addSeparator();
        if (name)
            s->setObjectName(QString::fromLatin1(name));
        return s;
    }

private:
    TfrmMain &m_form;
    QMenu *m_menu;
};

// The item's member, and its name from the member: the two never disagree.
#define ITEM(member, ...) a.member = items.item(#member, __VA_ARGS__)
#define SEPARATOR(member) a.member = items.separator(#member)

QMenu *topMenu(TfrmMain &form, const char *name, const char *fr, const char *en)
{
    QMenu *m = form.menuBar()->addMenu(SelectText(QString::fromUtf8(fr), QString::fromUtf8(en)));
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

QMenu *popup(TfrmMain &form, const char *name)
{
    auto *m = new QMenu(&form);
    m->setObjectName(name);
    return m;
}

void group(TfrmMain &form, std::initializer_list<QAction *> actions)
{
    auto *g = new QActionGroup(&form);
    g->setExclusive(true);
    for (QAction *a : actions)
        g->addAction(a);
}

void fileMenu(TfrmMain &f, MenuActions &a)
{
    App &app = f.app;
    Items items(f, f.mnuMain_File = topMenu(f, "mnuMain_File", "&Fichier", "&File"));
    ITEM(mnuMain_File_CopySelectedFiles, "&Copier les fichiers sélectionnés...", "&Copy selected files...",
         [&app] { CopySelectedFiles(app); });
    ITEM(mnuMain_File_Copy1FileSelected, "&Copier le fichier sélectionné...", "&Copy selected file...",
         [&app] { CopyOneFile(app, false); });
    ITEM(mnuMain_File_CopyFile, "&Copier le fichier...", "&Copy file...", {});
    items.separator();
    ITEM(mnuMain_File_DeleteSelectedFiles, "&Supprimer les fichiers sélectionnés...",
         "&Delete selected files...", [&app] { DeleteSelectedFiles(app); });
    ITEM(mnuMain_File_Delete1FileSelected, "&Supprimer le fichier sélectionné...", "&Delete selected file...",
         [&app] { DeleteOneFile(app); });
    ITEM(mnuMain_File_DeleteFile, "&Supprimer le fichier...", "&Delete file...", {});
    items.separator();
    ITEM(mnuMain_File_Execute, "&Exécuter", "&Execute", [&app] { ExecuteSelectedFile(app); });
    ITEM(mnuMain_File_Convert, "Co&nvertir...", "Co&nvert...", [&app] { ConvertSelectedFiles(app); });
    items.separator();
    ITEM(mnuMain_File_Properties, "&Propriétés", "&Properties", [&app] { ShowPropertiesForFocus(app); });
    items.separator();
    ITEM(
        mnuMain_File_Exit, "&Quitter", "E&xit", [&f] { f.close(); }, "Alt+F4");
}

// The zoom items are offered while the picture on view can be zoomed: the viewer says when that
// changes, so that their shortcuts work at once and not only after the menu was opened.
void viewerComfortItems(TfrmMain &f, MenuActions &a, Items &items)
{
    ViewerZoom *zoom = &f.viewerPane().zoom();
    FullScreen *full = &f.viewerPane().fullScreen();
    items.separator();
    ITEM(
        mnuMain_View_ZoomIn, "Zoom &avant", "Zoom &in", [zoom] { zoom->zoomIn(); }, "Ctrl++");
    a.mnuMain_View_ZoomIn->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    ITEM(
        mnuMain_View_ZoomOut, "&Zoom arrière", "Zoom &out", [zoom] { zoom->zoomOut(); }, "Ctrl+-");
    ITEM(
        mnuMain_View_ActualSize, "Ta&ille réelle", "Actual si&ze", [zoom] { zoom->actualSize(); }, "Ctrl+0");
    ITEM(
        mnuMain_View_FitToWindow, "Ajuster à la &fenêtre", "Fit to &window", [zoom] { zoom->fitToWindow(); },
        "Ctrl+9");
    ITEM(
        mnuMain_View_FullScreen, "Plein é&cran", "F&ull screen", [full] { full->toggle(); }, "F11");
    const auto offer = [&a](bool available) {
        for (QAction *item : {a.mnuMain_View_ZoomIn, a.mnuMain_View_ZoomOut, a.mnuMain_View_ActualSize,
                              a.mnuMain_View_FitToWindow})
            item->setEnabled(available);
    };
    offer(zoom->available());
    QObject::connect(zoom, &ViewerZoom::availabilityChanged, &f, offer);
}

void viewMenu(TfrmMain &f, MenuActions &a)
{
    CataloguePane *pane = &f.cataloguePane();
    Items items(f, f.mnuMain_View = topMenu(f, "mnuMain_View", "&Affichage", "&View"));
    ITEM(mnuMain_View_CollapseTreeView, "&Réduire l'arborescence", "&Collapse tree view",
         [pane] { mnuMain_View_CollapseTreeViewClick(*pane); });
    ITEM(mnuMain_View_ExpandTreeView, "&Développer l'arborescence", "&Expand tree view",
         [pane] { mnuMain_View_ExpandTreeViewClick(*pane); });
    items.separator();
    ITEM(mnuMain_View_TreeviewUpOneLevel, "Remonter d'un &niveau", "&Tree view up one level",
         [pane] { mnuMain_View_TreeviewUpOneLevelClick(*pane); });
    items.separator();
    const auto style = [&f](int s) { return [&f, s] { SetViewStyle(f, s); }; };
    ITEM(mnuMain_View_LargeIcon, "&Grandes icônes", "Lar&ge icons", style(0), nullptr, true);
    ITEM(mnuMain_View_SmallIcon, "&Petites icônes", "&Small icons", style(1), nullptr, true);
    ITEM(mnuMain_View_List, "&Liste", "&List", style(2), nullptr, true);
    ITEM(mnuMain_View_Report, "Dé&tails", "&Report", style(3), nullptr, true);
    items.separator();
    ITEM(
        mnuMain_View_Scan_Drives, "Explorer les dis&ques", "Scan &drives",
        [pane] { ChooseScanMode(*pane, 0); }, nullptr, true);
    ITEM(
        mnuMain_View_Scan_Folder, "Explorer le do&ssier", "Scan &folder",
        [pane] { ChooseScanMode(*pane, 1); }, nullptr, true);
    items.separator();
    ITEM(
        mnuMain_View_ScanNow, "&Explorer les disques maintenant", "Sc&an drives now",
        [pane] { mnuMain_View_ScanNowClick(*pane); }, "F5");
    items.separator();
    ITEM(
        mnuMain_View_Find, "Rec&hercher...", "Fi&nd...", [pane] { pane->search->focusField(); }, "Ctrl+F");
    viewerComfortItems(f, a, items);
    group(f,
          {a.mnuMain_View_LargeIcon, a.mnuMain_View_SmallIcon, a.mnuMain_View_List, a.mnuMain_View_Report});
    group(f, {a.mnuMain_View_Scan_Drives, a.mnuMain_View_Scan_Folder});
}

void playMenu(TfrmMain &f, MenuActions &a)
{
    // The Play menu mirrors the viewer toolbar: an item is a click on its button.
    ViewerPane *viewer = &f.viewerPane();
    const auto click = [viewer](ViewerCommand c) { return [viewer, c] { viewer->runCommand(c); }; };
    using C = ViewerCommand;
    Items items(f, f.mnuMain_Play = topMenu(f, "mnuMain_Play", "&Jouer", "&Play"));
    ITEM(mnuMain_Play_FirstFile, "&Premier fichier", "&First file", click(C::First));
    ITEM(mnuMain_Play_PreviousFile, "&Fichier précédent", "P&revious file", click(C::Previous));
    ITEM(NextFile, "Fichier &suivant", "&Next file", click(C::Next));
    ITEM(LastFile, "&Dernier fichier", "L&ast file", click(C::Last));
    items.separator();
    ITEM(mnuMain_Play_PlayFile, "&Jouer", "&Play", click(C::Play));
    ITEM(mnuMain_Play_StopFile, "&Arrêter", "&Stop", click(C::Stop));
    items.separator();
    ITEM(mnuMain_Play_Preview, "Ap&erçu", "Pre&view", click(C::Preview));
    items.separator();
    ITEM(mnuMain_Play_Loop, "&Boucle", "&Loop", click(C::Loop), nullptr, true);
    ITEM(mnuMain_Play_Stretch, "E&tirer", "Stretc&h", click(C::Stretch), nullptr, true);
    ITEM(mnuMain_Play_Tile, "&Mosaïque", "&Tile", click(C::Tile), nullptr, true);
    items.separator();
    Slideshow *show = &viewer->slideshow();
    ITEM(
        mnuMain_Play_SlideShow, "D&iaporama", "&Slide show", [show] { show->start(); }, "F9");
}

void toolsAndHelpMenus(TfrmMain &f, MenuActions &a)
{
    App &app = f.app;
    {
        Items items(f, f.mnuMain_Tools = topMenu(f, "mnuMain_Tools", "&Outils", "&Tools"));
        ITEM(mnuMain_Tools_DefaultWindow, "&Fenêtre par défaut", "&Default window",
             [&f] { f.SetDefaultWindow(); });
        ITEM(mnuMain_Tools_DefaultFrames, "&Cadres par défaut", "Default &frames",
             [&f] { f.SetDefaultFrames(); });
        items.separator();
        ITEM(mnuMain_Tools_Options, "&Options...", "&Options...", [&app] { ShowOptionsWindow(app); });
    }
    Items items(f, f.mnuMain_Help = topMenu(f, "mnuMain_Help", "&?", "&Help"));
    ITEM(
        Helpcontents1, "&Rubriques d'aide", "Help &contents", [&app] { ShowHelp(app); }, "F1");
    items.separator();
    ITEM(mnuMain_Help_About, "&A propos...", "&About ...", [&f] { f.showAbout(); });
}

void listPopup(TfrmMain &f, MenuActions &a)
{
    App &app = f.app;
    CataloguePane *pane = &f.cataloguePane();
    Items items(f, f.popmnuListView = popup(f, "popmnuListView"));
    ITEM(popmnuLV_Copy1File, "&Copier le fichier sélectionné...", "&Copy selected file...",
         [&app] { CopyOneFile(app, false); });
    ITEM(popmnuLV_CopySelectedFiles, "&Copier les fichiers sélectionnés...", "&Copy selected files...",
         [&app] { CopySelectedFiles(app); });
    SEPARATOR(popmnuLV_TiretUnderCopy);
    ITEM(popmnuLV_Delete1File, "S&upprimer le fichier sélectionné...", "&Delete selected file...",
         [&app] { DeleteOneFile(app); });
    ITEM(popmnuLV_DeleteSelectedFiles, "S&upprimer les fichiers sélectionnés...", "&Delete selected files...",
         [&app] { DeleteSelectedFiles(app); });
    SEPARATOR(popmnuLV_TiretUnderDelete);
    ITEM(popmnuLV_ExecuteFile, "&Exécuter", "&Execute", [&app] { ExecuteSelectedFile(app); });
    ITEM(popmnuLV_Convert, "Co&nvertir...", "Co&nvert...", [&app] { ConvertSelectedFiles(app); });
    SEPARATOR(popmnuLV_TiretUnderExecute);
    ITEM(popmnuLV_SelectAll, "&Sélectionner tous les fichiers", "&Select all files",
         [pane] { SelectAllFiles(*pane); });
    SEPARATOR(popmnuLV_TiretUnderSelect);
    ITEM(popmnuLV_Properties, "&Propriétés", "&Properties", [&app] { ShowListProperties(app); });
}

void treePopup(TfrmMain &f, MenuActions &a)
{
    App &app = f.app;
    CataloguePane *pane = &f.cataloguePane();
    Items items(f, f.popmnuTreeView = popup(f, "popmnuTreeView"));
    ITEM(popmnuTV_CollapseTreeView, "&Réduire l'arborescence", "&Collapse tree view",
         [pane] { mnuMain_View_CollapseTreeViewClick(*pane); });
    ITEM(popmnuTV_ExpandTreeView, "&Développer l'arborescence", "&Expand tree view",
         [pane] { mnuMain_View_ExpandTreeViewClick(*pane); });
    items.separator();
    ITEM(popmnuTV_Convert, "Co&nvertir...", "Co&nvert...", [&app] { ConvertCurrentFolder(app); });
    ITEM(popmnuTV_Properties, "&Propriétés", "&Properties", [&app] { ShowTreeProperties(app); });
}

void viewerPopups(TfrmMain &f, MenuActions &a)
{
    App &app = f.app;
    ViewerPane *viewer = &f.viewerPane();
    const auto run = [viewer](void (*command)(ViewerPane &)) {
        return [viewer, command] { command(*viewer); };
    };
    {
        Items items(f, f.popmnuViewFile = popup(f, "popmnuViewFile"));
        // Captioned by the type on view as the popup opens.
        ITEM(popmnuVF_PlayFile, "", "", run(btnPlayFileClick));
        ITEM(popmnuVF_StopPlayingFile, "&Arrêter la lecture", "St&op playing file",
             run(btnStopPlayingFileClick));
        SEPARATOR(popmnuVF_Tiret_UnderStop);
        ITEM(popmnuVF_PreviewFile, "M&ode aperçu", "Pre&view file", run(btnPreviewClick));
        SEPARATOR(popmnuVF_Tiret_UnderPreview);
        // The toggles flip their button, then run its command, so that every place agrees.
        ITEM(popmnuVF_Loop, "&Boucle", "&Loop", run(ToggleLoopButton), nullptr, true);
        ITEM(popmnuVF_Stretch, "&Etirer l'image", "Stretc&h image", run(ToggleStretchButton), nullptr, true);
        ITEM(popmnuVF_Tile, "&Mosaïque", "&Tile image", run(ToggleTileButton), nullptr, true);
        SEPARATOR(popmnuVF_Tiret_UnderTile);
        ITEM(popmnuVF_CopyPicture, "&Copier l'image", "&Copy picture",
             [viewer] { viewer->copyFileOnView(); });
        ITEM(popmnuVF_SaveFile, "Enregistrer le fichier &sous...", "&Save file as...",
             [&app] { CopyOneFile(app, true); });
        SEPARATOR(popmnuVF_Tiret_UnderSaveAs);
        ITEM(popmnuVF_Execute, "E&xécuter", "&Execute", [&app] { ExecuteFileOnView(app); });
        ITEM(popmnuVF_Convert, "Co&nvertir...", "Co&nvert...", [&app] { ConvertFileOnView(app); });
        SEPARATOR(popmnuVF_Tiret_UnderExecute);
        ITEM(popmnuVF_Properties, "&Propriétés", "Prop&erties", [&app] { ShowListProperties(app); });
    }
    Items items(f, f.popmnuViewFilePagePresentation = popup(f, "popmnuViewFilePagePresentation"));
    ITEM(popmnuVFPresentation_About, "&A propos de Lumavista...", "&About Lumavista...",
         [&f] { f.showAbout(); });
}

#undef ITEM
#undef SEPARATOR

} // namespace

void CreateMenus(TfrmMain &f)
{
    f.menuBar()->setObjectName("mnuMain");
    MenuActions &a = f.menus;
    fileMenu(f, a);
    viewMenu(f, a);
    playMenu(f, a);
    toolsAndHelpMenus(f, a);
    listPopup(f, a);
    treePopup(f, a);
    viewerPopups(f, a);
}
