// The viewer pane pnlRight: the viewer toolbar tbViewer (navigation, play and stop, preview, and the
// toggles loop, stretch and tile) over the notebook nbkViewer, the empty page "VIDE" and one page
// per media type (ViewerPage), held in a table by type. The pane is the viewer port of the other
// subsystems (app/Ports.h); the main window reaches it only through the commands and facts below,
// never its controls. What it does with the file on view is the page's (ViewerDispatch), its
// toolbar's commands are ViewerCommands'.
//
// Rules:
// - A load runs once at a time: a Play asked for while a load lets pending events run is ignored.
// - Loop, Stretch and Tile keep their pressed state from file to file and type to type for the run.
#pragma once

#include "app/MediaType.h"
#include "app/Ports.h"

#include <QFrame>
#include <array>
#include <functional>

class App;
class QStackedWidget;
class QToolBar;
class QToolButton;
class FullScreen;
class Slideshow;
class TViewPageVIDE;
class ViewerPage;
class ViewerZoom;

// The viewer toolbar's commands, mirrored by the Play menu and the viewer popup.
enum class ViewerCommand { First, Previous, Next, Last, Play, Stop, Preview, Loop, Stretch, Tile };

class ViewerPane : public QFrame, public ViewerPort
{
    Q_OBJECT
public:
    ViewerPane(App &app, QWidget *parent);
    ~ViewerPane() override;

    App &app;

    // For the main window.
    QToolBar *toolBar() const { return tbViewer; }
    bool commandEnabled(ViewerCommand command) const;
    bool commandChecked(ViewerCommand command) const;
    // As a click on the command's button (a toggle flips).
    void runCommand(ViewerCommand command);
    // The caption of Play in the viewer popup for the file on view (empty with none).
    QString playCaption() const;
    // The title picture of the empty page (the About window shows it).
    QPixmap titlePicture() const;
    // Places the framed pictures with their centres at a third of the notebook's width and height.
    void CentreFramePanels();
    // The page's background and the toolbar again, after a resize (nbkViewerPageChanged).
    void relayout();
    // Closes what previews left open (the video device's own window) and stops the pages' players:
    // the main window is closing.
    void closePreviews();

    // The zoom of the picture on view and full screen (beyond the original program).
    ViewerZoom &zoom() const { return *m_zoom; }
    FullScreen &fullScreen() const { return *m_fullScreen; }
    Slideshow &slideshow() const { return *m_slideshow; }
    // The file on view to the clipboard (its picture too when it is one); a beep with none.
    bool copyFileOnView();
    // Whether the file on view is a picture shown (what "Copier l'image" offers).
    bool canCopyPicture() const;

    // For the pages and the viewer's own commands.
    QToolButton *button(ViewerCommand command) const;
    ViewerPage *page(MediaType type) const;
    template <class Page> Page *page(MediaType type) const { return static_cast<Page *>(page(type)); }
    TViewPageVIDE *emptyPage() const { return pageVIDE; }
    QStackedWidget *notebook() const { return nbkViewer; }
    QSize notebookSize() const;
    bool loopPressed() const;
    // The page with this name ("VIDE", "ANI", "AVI_WIN", "AVI_VIDEO", "BMP" ... "ICO", "MP3" ...), or
    // nullptr.
    QWidget *viewerPage(const QString &name) const;
    QString currentViewerPage() const;
    void showViewerPage(QWidget *page);
    // A right click on the control opens the viewer popup.
    void offerPopup(QWidget *control);
    // Loads the file again on its page (a sound's loop); false when another load is under way.
    bool loadAgain(ViewerPage *page, const QString &path);

    // ViewerPort.
    bool stopAvailable() const override;
    void stopPlayback() override;
    void showEmptyPage() override;
    void play() override;
    void selectionChanged() override;

    // Whether a load is under way (it may let pending events run).
    bool loading() const { return m_loading; }
    // Runs a load as the one under way; false (and nothing done) when one runs already.
    bool runLoad(const std::function<void()> &load);

signals:
    // The viewer pane was resized (the shell re-lays it out, see pnlRightResize).
    void resized();
    void presentationContextMenuRequested(const QPoint &globalPos);
    // A right click on a page that shows a file: the shell shows popmnuViewFile.
    void viewFileContextMenuRequested(const QPoint &globalPos);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createToolbar();
    void createPages();
    void connectCommands();
    void createZoom();

    QToolBar *tbViewer = nullptr;
    std::array<QToolButton *, 10> m_buttons{}; // by ViewerCommand: btnFirstFile ... btnTile
    QStackedWidget *nbkViewer = nullptr;
    TViewPageVIDE *pageVIDE = nullptr;
    TypeTable<ViewerPage *> m_pages{}; // by type; null for ALL and the rows past the types
    bool m_loading = false;
    ViewerZoom *m_zoom = nullptr;
    FullScreen *m_fullScreen = nullptr;
    Slideshow *m_slideshow = nullptr;
};
