// The main menu and the popup menus: names, French captions and shortcuts. Items whose commands are
// not wired here are wired by the units that own those commands.
#include "app/Language.h"
#include "shell/Main.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace {

struct Item
{
    const char *name; // nullptr: separator
    const char *fr;
    const char *en;
    const char *shortcut;
};

QMenu *buildMenu(QWidget *owner, QMenu *menu, std::initializer_list<Item> items)
{
    for (const Item &it : items) {
        if (!it.name) {
            menu->addSeparator();
            continue;
        }
        if (QString::fromLatin1(it.name).contains("Tiret")) {
            QAction *sep = menu->addSeparator();
            sep->setObjectName(it.name);
            continue;
        }
        auto *a = new QAction(SelectText(QString::fromUtf8(it.fr), QString::fromUtf8(it.en)), owner);
        a->setObjectName(it.name);
        if (it.shortcut && *it.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(it.shortcut)));
        menu->addAction(a);
    }
    return menu;
}

QMenu *topMenu(TfrmMain &form, const char *name, const char *fr, const char *en)
{
    QMenu *m = form.menuBar()->addMenu(SelectText(QString::fromUtf8(fr), QString::fromUtf8(en)));
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

void group(TfrmMain &form, std::initializer_list<const char *> names, bool exclusive)
{
    auto *g = new QActionGroup(&form);
    g->setExclusive(exclusive);
    for (const char *n : names) {
        QAction *a = form.action(n);
        a->setCheckable(true);
        g->addAction(a);
    }
}

} // namespace

void CreateMenus(TfrmMain &f)
{
    f.menuBar()->setObjectName("mnuMain");
    f.mnuMain_File =
        buildMenu(&f, topMenu(f, "mnuMain_File", "&Fichier", "&File"),
                  {
                      {"mnuMain_File_CopySelectedFiles", "&Copier les fichiers sélectionnés...",
                       "&Copy selected files...", ""},
                      {"mnuMain_File_Copy1FileSelected", "&Copier le fichier sélectionné...",
                       "&Copy selected file...", ""},
                      {"mnuMain_File_CopyFile", "&Copier le fichier...", "&Copy file...", ""},
                      {nullptr, "", "", ""},
                      {"mnuMain_File_DeleteSelectedFiles", "&Supprimer les fichiers sélectionnés...",
                       "&Delete selected files...", ""},
                      {"mnuMain_File_Delete1FileSelected", "&Supprimer le fichier sélectionné...",
                       "&Delete selected file...", ""},
                      {"mnuMain_File_DeleteFile", "&Supprimer le fichier...", "&Delete file...", ""},
                      {nullptr, "", "", ""},
                      {"mnuMain_File_Execute", "&Exécuter", "&Execute", ""},
                      {nullptr, "", "", ""},
                      {"mnuMain_File_Properties", "&Propriétés", "&Properties", ""},
                      {nullptr, "", "", ""},
                      {"mnuMain_File_Exit", "&Quitter", "E&xit", "Alt+F4"},
                  });
    f.mnuMain_View = buildMenu(
        &f, topMenu(f, "mnuMain_View", "&Affichage", "&View"),
        {
            {"mnuMain_View_CollapseTreeView", "&Réduire l'arborescence", "&Collapse tree view", ""},
            {"mnuMain_View_ExpandTreeView", "&Développer l'arborescence", "&Expand tree view", ""},
            {nullptr, "", "", ""},
            {"mnuMain_View_TreeviewUpOneLevel", "Remonter d'un &niveau", "&Tree view up one level", ""},
            {nullptr, "", "", ""},
            {"mnuMain_View_LargeIcon", "&Grandes icônes", "Lar&ge icons", ""},
            {"mnuMain_View_SmallIcon", "&Petites icônes", "&Small icons", ""},
            {"mnuMain_View_List", "&Liste", "&List", ""},
            {"mnuMain_View_Report", "Dé&tails", "&Report", ""},
            {nullptr, "", "", ""},
            {"mnuMain_View_Scan_Drives", "Explorer les dis&ques", "Scan &drives", ""},
            {"mnuMain_View_Scan_Folder", "Explorer le do&ssier", "Scan &folder", ""},
            {nullptr, "", "", ""},
            {"mnuMain_View_ScanNow", "&Explorer les disques maintenant", "Sc&an drives now", "F5"},
        });
    f.mnuMain_Play = buildMenu(&f, topMenu(f, "mnuMain_Play", "&Jouer", "&Play"),
                               {
                                   {"mnuMain_Play_FirstFile", "&Premier fichier", "&First file", ""},
                                   {"mnuMain_Play_PreviousFile", "&Fichier précédent", "P&revious file", ""},
                                   {"NextFile", "Fichier &suivant", "&Next file", ""},
                                   {"LastFile", "&Dernier fichier", "L&ast file", ""},
                                   {nullptr, "", "", ""},
                                   {"mnuMain_Play_PlayFile", "&Jouer", "&Play", ""},
                                   {"mnuMain_Play_StopFile", "&Arrêter", "&Stop", ""},
                                   {nullptr, "", "", ""},
                                   {"mnuMain_Play_Preview", "Ap&erçu", "Pre&view", ""},
                                   {nullptr, "", "", ""},
                                   {"mnuMain_Play_Loop", "&Boucle", "&Loop", ""},
                                   {"mnuMain_Play_Stretch", "E&tirer", "Stretc&h", ""},
                                   {"mnuMain_Play_Tile", "&Mosaïque", "&Tile", ""},
                               });
    f.mnuMain_Tools =
        buildMenu(&f, topMenu(f, "mnuMain_Tools", "&Outils", "&Tools"),
                  {
                      {"mnuMain_Tools_DefaultWindow", "&Fenêtre par défaut", "&Default window", ""},
                      {"mnuMain_Tools_DefaultFrames", "&Cadres par défaut", "Default &frames", ""},
                      {nullptr, "", "", ""},
                      {"mnuMain_Tools_Options", "&Options...", "&Options...", ""},
                  });
    f.mnuMain_Help = buildMenu(&f, topMenu(f, "mnuMain_Help", "&?", "&Help"),
                               {
                                   {"Helpcontents1", "&Rubriques d'aide", "Help &contents", "F1"},
                                   {nullptr, "", "", ""},
                                   {"mnuMain_Help_About", "&A propos...", "&About ...", ""},
                               });
    group(f, {"mnuMain_View_LargeIcon", "mnuMain_View_SmallIcon", "mnuMain_View_List", "mnuMain_View_Report"},
          true);
    group(f, {"mnuMain_View_Scan_Drives", "mnuMain_View_Scan_Folder"}, true);
    for (const char *n : {"mnuMain_Play_Loop", "mnuMain_Play_Stretch", "mnuMain_Play_Tile"})
        f.action(n)->setCheckable(true);
    int tag = 0;
    for (const char *n :
         {"mnuMain_View_LargeIcon", "mnuMain_View_SmallIcon", "mnuMain_View_List", "mnuMain_View_Report"})
        f.action(n)->setProperty("Tag", tag++);
    // The shortcuts work whether or not the menu was ever opened.
    for (QAction *a : f.findChildren<QAction *>())
        a->setShortcutContext(Qt::WindowShortcut);

    f.popmnuListView = buildMenu(
        &f, new QMenu(&f),
        {
            {"popmnuLV_Copy1File", "&Copier le fichier sélectionné...", "&Copy selected file...", ""},
            {"popmnuLV_CopySelectedFiles", "&Copier les fichiers sélectionnés...", "&Copy selected files...",
             ""},
            {"popmnuLV_TiretUnderCopy", "", "", ""},
            {"popmnuLV_Delete1File", "S&upprimer le fichier sélectionné...", "&Delete selected file...", ""},
            {"popmnuLV_DeleteSelectedFiles", "S&upprimer les fichiers sélectionnés...",
             "&Delete selected files...", ""},
            {"popmnuLV_TiretUnderDelete", "", "", ""},
            {"popmnuLV_ExecuteFile", "&Exécuter", "&Execute", ""},
            {"popmnuLV_TiretUnderExecute", "", "", ""},
            {"popmnuLV_SelectAll", "&Sélectionner tous les fichiers", "&Select all files", ""},
            {"popmnuLV_TiretUnderSelect", "", "", ""},
            {"popmnuLV_Properties", "&Propriétés", "&Properties", ""},
        });
    f.popmnuListView->setObjectName("popmnuListView");
    f.popmnuTreeView =
        buildMenu(&f, new QMenu(&f),
                  {
                      {"popmnuTV_CollapseTreeView", "&Réduire l'arborescence", "&Collapse tree view", ""},
                      {"popmnuTV_ExpandTreeView", "&Développer l'arborescence", "&Expand tree view", ""},
                      {nullptr, "", "", ""},
                      {"popmnuTV_Properties", "&Propriétés", "&Properties", ""},
                  });
    f.popmnuTreeView->setObjectName("popmnuTreeView");
    f.popmnuViewFile =
        buildMenu(&f, new QMenu(&f),
                  {
                      {"popmnuVF_PlayFile", "", "", ""},
                      {"popmnuVF_StopPlayingFile", "&Arrêter la lecture", "St&op playing file", ""},
                      {"popmnuVF_Tiret_UnderStop", "", "", ""},
                      {"popmnuVF_PreviewFile", "M&ode aperçu", "Pre&view file", ""},
                      {"popmnuVF_Tiret_UnderPreview", "", "", ""},
                      {"popmnuVF_Loop", "&Boucle", "&Loop", ""},
                      {"popmnuVF_Stretch", "&Etirer l'image", "Stretc&h image", ""},
                      {"popmnuVF_Tile", "&Mosaïque", "&Tile image", ""},
                      {"popmnuVF_Tiret_UnderTile", "", "", ""},
                      {"popmnuVF_SaveFile", "Enregistrer le fichier &sous...", "&Save file as...", ""},
                      {"popmnuVF_Tiret_UnderSaveAs", "", "", ""},
                      {"popmnuVF_Execute", "E&xécuter", "&Execute", ""},
                      {"popmnuVF_Tiret_UnderExecute", "", "", ""},
                      {"popmnuVF_Properties", "&Propriétés", "Prop&erties", ""},
                  });
    f.popmnuViewFile->setObjectName("popmnuViewFile");
    for (const char *n : {"popmnuVF_Loop", "popmnuVF_Stretch", "popmnuVF_Tile"})
        f.action(n)->setCheckable(true);
    f.popmnuViewFilePagePresentation =
        buildMenu(&f, new QMenu(&f),
                  {{"popmnuVFPresentation_About", "&A propos de Lumavista...", "&About Lumavista...", ""}});
    f.popmnuViewFilePagePresentation->setObjectName("popmnuViewFilePagePresentation");
}
