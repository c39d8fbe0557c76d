// The items of the main menu and of the popup menus, each a typed member named as the item is (its
// objectName is the same name): a misspelt item does not compile. Separators whose visibility the
// menu rules decide are members too. CreateMenus builds every menu, each item connected to its
// command in the statement that makes it.
#pragma once

class QAction;
class TfrmMain;

struct MenuActions
{
    // Fichier
    QAction *mnuMain_File_CopySelectedFiles = nullptr, *mnuMain_File_Copy1FileSelected = nullptr,
            *mnuMain_File_CopyFile = nullptr, *mnuMain_File_DeleteSelectedFiles = nullptr,
            *mnuMain_File_Delete1FileSelected = nullptr, *mnuMain_File_DeleteFile = nullptr,
            *mnuMain_File_Execute = nullptr, *mnuMain_File_Properties = nullptr, *mnuMain_File_Exit = nullptr;
    // Fichier, beyond the original program
    QAction *mnuMain_File_Convert = nullptr;
    // Affichage
    QAction *mnuMain_View_CollapseTreeView = nullptr, *mnuMain_View_ExpandTreeView = nullptr,
            *mnuMain_View_TreeviewUpOneLevel = nullptr, *mnuMain_View_LargeIcon = nullptr,
            *mnuMain_View_SmallIcon = nullptr, *mnuMain_View_List = nullptr, *mnuMain_View_Report = nullptr,
            *mnuMain_View_Scan_Drives = nullptr, *mnuMain_View_Scan_Folder = nullptr,
            *mnuMain_View_ScanNow = nullptr;
    // Affichage, find as you type (beyond the original program)
    QAction *mnuMain_View_Find = nullptr;
    // Affichage, the viewer's comfort (beyond the original program)
    QAction *mnuMain_View_ZoomIn = nullptr, *mnuMain_View_ZoomOut = nullptr,
            *mnuMain_View_ActualSize = nullptr, *mnuMain_View_FitToWindow = nullptr,
            *mnuMain_View_FullScreen = nullptr;
    // Jouer
    QAction *mnuMain_Play_FirstFile = nullptr, *mnuMain_Play_PreviousFile = nullptr, *NextFile = nullptr,
            *LastFile = nullptr, *mnuMain_Play_PlayFile = nullptr, *mnuMain_Play_StopFile = nullptr,
            *mnuMain_Play_Preview = nullptr, *mnuMain_Play_Loop = nullptr, *mnuMain_Play_Stretch = nullptr,
            *mnuMain_Play_Tile = nullptr, *mnuMain_Play_SlideShow = nullptr;
    // Outils
    QAction *mnuMain_Tools_DefaultWindow = nullptr, *mnuMain_Tools_DefaultFrames = nullptr,
            *mnuMain_Tools_Options = nullptr;
    // ?
    QAction *Helpcontents1 = nullptr, *mnuMain_Help_About = nullptr;
    // popmnuListView
    QAction *popmnuLV_Copy1File = nullptr, *popmnuLV_CopySelectedFiles = nullptr,
            *popmnuLV_TiretUnderCopy = nullptr, *popmnuLV_Delete1File = nullptr,
            *popmnuLV_DeleteSelectedFiles = nullptr, *popmnuLV_TiretUnderDelete = nullptr,
            *popmnuLV_ExecuteFile = nullptr, *popmnuLV_TiretUnderExecute = nullptr,
            *popmnuLV_SelectAll = nullptr, *popmnuLV_TiretUnderSelect = nullptr,
            *popmnuLV_Properties = nullptr, *popmnuLV_Convert = nullptr;
    // popmnuTreeView
    QAction *popmnuTV_CollapseTreeView = nullptr, *popmnuTV_ExpandTreeView = nullptr,
            *popmnuTV_Properties = nullptr, *popmnuTV_Convert = nullptr;
    // popmnuViewFile
    QAction *popmnuVF_PlayFile = nullptr, *popmnuVF_StopPlayingFile = nullptr,
            *popmnuVF_Tiret_UnderStop = nullptr, *popmnuVF_PreviewFile = nullptr,
            *popmnuVF_Tiret_UnderPreview = nullptr, *popmnuVF_Loop = nullptr, *popmnuVF_Stretch = nullptr,
            *popmnuVF_Tile = nullptr, *popmnuVF_Tiret_UnderTile = nullptr, *popmnuVF_CopyPicture = nullptr,
            *popmnuVF_SaveFile = nullptr, *popmnuVF_Tiret_UnderSaveAs = nullptr, *popmnuVF_Execute = nullptr,
            *popmnuVF_Tiret_UnderExecute = nullptr, *popmnuVF_Properties = nullptr,
            *popmnuVF_Convert = nullptr;
    // popmnuViewFilePagePresentation
    QAction *popmnuVFPresentation_About = nullptr;
};

// Builds the main menu and the popup menus of the window (captions, shortcuts, names), each item
// connected to its command. Runs once the panes exist.
void CreateMenus(TfrmMain &form);
