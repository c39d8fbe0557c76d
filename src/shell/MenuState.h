// Which menu items are shown, enabled, checked and how they read, worked out each time a menu opens
// from the focus and the selection at that moment (nothing is kept between openings).
//
// Rules: the file commands follow the focused list's selection (one file, several files, or
// neither: the plain items, disabled), and are offered only when they have a file item to act on,
// never for folders or drives alone; Properties needs something to describe; the tree commands
// need a selected node in a tree holding more than its root; the Play menu mirrors the viewer
// toolbar; separators are shown or hidden here, never left to the menu.
#pragma once

class TfrmMain;

// The facts the rules read, gathered from the catalogue.
struct CommandFacts
{
    bool treeHasFocus = false;
    bool listHasFocus = false;
    bool treeHasSelectedNode = false; // the tree on view has a selected node
    bool folderSelected = false;      // ... that is a folder (not My computer)
    bool treeHasContent = false;      // ... and it holds more than its root
    bool hasList = false;             // a list is on view
    bool listHasCurrentItem = false;
    bool currentItemIsFile = false;
    int selectedCount = 0;
    int selectedFileCount = 0; // selected items that are files
    bool oneFileToAct = false; // the one-file commands and Execute have a file
    bool listHasFiles = false;
    int listItemCount = 0;
    int listViewStyle = -1;       // the list's style, -1 without a list
    bool filesToConvert = false;  // selected file items of a kind that converts
    bool folderToConvert = false; // the tree's selected node is a folder or a drive
};

CommandFacts GatherCommandFacts(TfrmMain &form);

void UpdateFileMenu(TfrmMain &form, const CommandFacts &facts);
void UpdateViewMenu(TfrmMain &form, const CommandFacts &facts);
void UpdatePlayMenu(TfrmMain &form);
void UpdateTreePopup(TfrmMain &form, const CommandFacts &facts);
void UpdateListPopup(TfrmMain &form, const CommandFacts &facts);
// Runs the Update* of each menu as it opens.
void ConnectMenuStates(TfrmMain &form);
