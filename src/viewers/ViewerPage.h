// One page of the viewer's notebook: what the viewer does with the files of one media type. The
// pane holds one page per type in a table (the empty page "VIDE" beside it) and asks the page of the
// file on view for everything it does: the load, Stop, Loop, Stretch, Tile, Preview, the toolbar
// buttons offered, the page's background and the caption of Play. Adding a media type is a row of
// the media-type table, a page class and its line in the pane's table.
//
// Rules:
// - load() shows or plays a file, or returns why it cannot (the pane then gives the file access
//   error); either way the page is left showing that file or its empty state, and the type's
//   record (AppState::Viewed) describes that file.
// - Loads run one at a time (ViewerPane::runLoad); a load that lets events run excludes user input.
// - Every control that shows the file opens the viewer popup on a right click (offerPopup).
#pragma once

#include "app/MediaType.h"
#include "platform/Result.h"

#include <QWidget>
#include <memory>
#include <optional>

class App;
class QStackedWidget;
class ViewerPane;
class ZoomPicture;
struct ViewedRecord;

// The viewer toolbar's buttons a type offers (the four moves are always offered).
struct ViewerTools
{
    bool play = true;
    bool stop = false;
    bool preview = false;
    bool loop = false;
    bool stretch = false;
    bool tile = false;
};

class ViewerPage : public QWidget
{
    Q_OBJECT
public:
    // Makes the page a page of the notebook named name (what the viewer selects it by, and what a
    // screen reader says of it).
    ViewerPage(ViewerPane &pane, QStackedWidget *book, const char *name, MediaType type);

    MediaType type() const { return m_type; }
    ViewerPane &pane() const { return m_pane; }
    virtual ViewerTools tools() const = 0;
    // Shows or plays the file at a drive path.
    virtual platform::Status load(const QString &path) = 0;
    virtual void stop() {}
    virtual void setLoop(bool pressed) { (void)pressed; }
    virtual void setStretch(bool pressed) { (void)pressed; }
    virtual void setTile(bool pressed) { (void)pressed; }
    // The page's colour or tiled picture, put back when the page is shown.
    virtual void applyBackground() {}
    // The caption of Play in the viewer popup.
    virtual QString playCaption() const;
    // Opens the preview window of the file on view (only asked when tools().preview).
    virtual void preview() {}
    // Places what the page centres in itself, after the notebook changed size.
    virtual void placeFrames() {}
    // Closes the media devices the page opened: the main window is closing.
    virtual void closeDevices() {}

    // The zoom (beyond the original program). The picture on view for the zoom view, or null when
    // the page shows none (not a picture page, a file that failed, a JPEG still decoding).
    virtual std::unique_ptr<ZoomPicture> zoomPicture();
    // The colour behind a zoomed picture: the page's.
    virtual QColor zoomBackground() const;
    // Where the page shows its picture's top-left corner at actual size (page coordinates), when it
    // shows it from a corner that scrolls; a zoom view starts there.
    virtual std::optional<QPoint> pictureOrigin() const { return std::nullopt; }

signals:
    // A sound or a video played to its end (the slide show goes on then).
    void playEnded();

protected:
    App &app() const;
    ViewedRecord &record() const;
    ViewerPane &m_pane;

private:
    MediaType m_type;
};
