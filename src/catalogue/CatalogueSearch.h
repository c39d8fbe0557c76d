// Find as you type: the search field above the file list (edtSearch) and what it does to the list of
// the current tab. Typing shows the catalogue's media files whose names match (ALL: every type; a
// type's tab: that type), in natural order, with their folder in a fifth column; the status bar counts
// them. Escape in the field, or emptying it, brings the folder's list back as it was, selection
// included.
//
// Rules:
// - The search runs over the catalogue (NameSearch), never over the disks, on its own thread; each
//   keystroke overtakes the search before it. Results are rows made when shown (SearchRows).
// - A result is a file item like any other (its own folder in TListItem::folder): the viewer, the
//   file commands and the properties reach it through the Selection.
// - One list at a time shows results. Changing tabs brings the old one's folder back and searches the
//   new one; anything else that fills the searched list (a click in the tree, a scan) ends the search
//   and empties the field.
// - Whoever changes the catalogue's index lets the search go first (Catalogue::indexChanging).
#pragma once

#include "app/Global.h"
#include "catalogue/search/NameSearch.h"
#include "catalogue/store/ScanIndex.h"

#include <QObject>
#include <memory>
#include <vector>

class CataloguePane;
class QLineEdit;
class QWidget;

class CatalogueSearch : public QObject
{
    Q_OBJECT
public:
    explicit CatalogueSearch(CataloguePane &pane);
    ~CatalogueSearch() override;

    QLineEdit *field() const { return m_field; }
    search::NameSearch &engine() { return *m_engine; }
    // Ctrl+F: the field of the current tab, its text selected.
    void focusField();
    // Whether a list shows results, and which.
    bool active() const { return m_list != mtNone; }
    MediaType searchedList() const { return m_list; }
    // Whether the results of the last keystroke are still to come.
    bool pending() const { return m_waiting != 0 && m_waiting != m_shown; }
    const search::NameSearch &engine() const { return *m_engine; }
    // The folder's list back, as it was (Escape).
    void leave();
    // The results again, now (a command changed files): the file on view stays selected when listed.
    void refresh();
    // A file the program deleted: the catalogue and the results forget it.
    void fileGone(const QString &folder, const QString &name);
    // Another program changed a folder of the index: its media files become those listed now. The
    // results on show are not made again here (the caller refills the list).
    void folderRelisted(uint32_t folder, const std::vector<ScanIndex::ListedFile> &listed);
    // The field moves above the list of the tab on show.
    void placeField(MediaType type);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Saved
    {
        SelectionRecord selection;
        bool selectionWasHere = false;
        std::vector<std::pair<int, int>> selected;
        int current = -1;
        int fileCount = 0;
    };
    void textChanged(const QString &text);
    void show(const std::shared_ptr<const search::Results> &results);
    void restore(bool touchSelection);
    void foreignReset(MediaType type);
    void indexChanging();

    CataloguePane &m_pane;
    QLineEdit *m_field;
    std::unique_ptr<search::NameSearch> m_engine;
    MediaType m_list = mtNone; // the list showing results
    Saved m_saved;
    bool m_applying = false; // our own change of a list's rows
    uint64_t m_waiting = 0;  // the serial of the search whose results the list awaits
    uint64_t m_shown = 0;    // the serial of the results on show
};
