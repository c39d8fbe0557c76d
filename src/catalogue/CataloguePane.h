// The catalogue pane: the drive bar (scan mode, folder box, drive buttons tbA..tbZ) and the tab
// pane pcMain with one sheet per type (ALL first, then the types alphabetically), each holding a
// folder tree tv<TYPE> over the store, a splitter SplitLeft<TYPE> and a file list lv<TYPE>. The
// shell places the drive bar and the tab pane in its window and wires its menus to the pane's
// commands; the pane reports what the shell shows elsewhere through its signals.
//
// Arrays are indexed by type code (0 ALL .. 12 ICO), not by tab position.
#pragma once

#include "catalogue/Catalogue.h"

#include <QObject>
#include <array>

class CatalogueSearch;
class FolderTreeModel;
class ListedFolderFollow;
class QComboBox;
class QFrame;
class QLineEdit;
class QSplitter;
class QToolBar;
class QToolButton;
class QWidget;
class TFolderTreeView;
class TListView;
class TTypeTabs;

class CataloguePane : public QObject, public FileListPort, public CataloguePort, public FileSelectionPort
{
    Q_OBJECT
public:
    // Creates the controls as children of parent (the shell re-parents them into its layout).
    CataloguePane(Catalogue &catalogue, QWidget *parent);
    ~CataloguePane() override;

    Catalogue &cat;
    App &app;

    // Drive bar.
    QFrame *pnlToolBarDisk = nullptr;
    QWidget *pnlToolBarChoice = nullptr, *pnlToolBarDir = nullptr, *pnlToolBarAllDisks = nullptr;
    QToolBar *tbChoice = nullptr, *tbDir = nullptr, *tbDisk = nullptr;
    QComboBox *ComboChoice = nullptr;
    QToolButton *btnMoreFolder = nullptr;
    QLineEdit *txtSelectFolder = nullptr;
    std::array<QToolButton *, 27> tbDrive{}; // [1..26] = tbA .. tbZ

    // Tab pane, by type code.
    TTypeTabs *pcMain = nullptr;
    std::array<QWidget *, kTypeCount> ts{};
    std::array<TFolderTreeView *, kTypeCount> tv{};
    std::array<FolderTreeModel *, kTypeCount> tm{};
    std::array<QSplitter *, kTypeCount> SplitLeft{};
    std::array<TListView *, kTypeCount> lv{};
    // The column holding a list, under the search field when its tab is on show (pnlList<TYPE>).
    std::array<QWidget *, kTypeCount> pnlList{};
    // The live follow of the listed folder.
    ListedFolderFollow *liveFolder = nullptr;
    // Find as you type over the catalogue (the field edtSearch).
    CatalogueSearch *search = nullptr;

    TFolderTreeView *tree(MediaType t) const { return tv[static_cast<size_t>(code(t))]; }
    TListView *list(MediaType t) const { return lv[static_cast<size_t>(code(t))]; }
    QWidget *sheet(MediaType t) const { return ts[static_cast<size_t>(code(t))]; }

    // The catalogue's part of the start-up: the type and tab tables, the drive table and buttons,
    // the scan mode and folder boxes from the settings, the lists' columns.
    void startUp();
    // The end of the start-up: the empty catalogue, and only the ALL tab when Show_Non_Empty_Tabs.
    void showEmptyCatalogue();

    // Every tree splitter follows the one moved (ignored while it is being done); TreeView_Width takes
    // the width of the ALL tree and is saved.
    void SplitLeftALLMoved(QSplitter *sender);
    // The caption of a type's tab; its tree and list are named after it for screen readers
    // ("Arborescence TOUS", "Liste TOUS").
    void setTabCaption(MediaType type, const QString &caption);
    // Gives the tab pane's splitters room for the wanted tree width before the window is laid out.
    void setTreeWidth(int treeWidth);

    // FileListPort, over the list of the Selection.
    int itemCount() const override;
    bool isFileItem(int row) const override;
    void selectItem(int row) override;
    void deselectAll() override;
    void refreshSelectedItem() override;
    bool currentNodeIsMediaFolder() const override;

    // CataloguePort, over the tree node and list item in focus.
    Node currentNode() const override;
    bool isMediaFolderChild() const override;
    bool showListedFile(const QString &folder, const QString &name) override;
    void listStylesChanged() override;
    // Neither a tree nor a list counts as focused (the start).
    void clearFocusFlags();

    // FileSelectionPort, over the list of the Selection.
    std::vector<SelectedFile> selectedFiles() const override;
    void refillList() override;
    void forgetFileOnView() override;
    void fileGone(const QString &folder, const QString &name) override;

signals:
    // Whether Up one level can act (the shell's button follows).
    void upOneLevelAvailable(bool available);
    void treeContextMenuRequested(const QPoint &globalPos);
    void listContextMenuRequested(const QPoint &globalPos);

private:
    void createDriveBar(QWidget *parent);
    void createTabs(QWidget *parent);
    void connectHandlers();
    static void nameForScreenReaders(QWidget *tree, QWidget *list, const QString &tab);
};
