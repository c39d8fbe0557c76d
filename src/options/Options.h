// TfrmOptions, the modal "Options" window of Tools > Options: the general options (beep, button
// hints, expanded trees after a scan) on "Général", the media types scans look for on "Fichiers",
// the JPEG loading options on "JPEG", and the viewer's comfort on "Visionneuse" (beyond the
// original window: whether a new file keeps the zoom).
//
// Rules:
// - The window is filled from the settings values; a stored value outside its range is shown as
//   the nearest valid one, so only valid values are ever stored.
// - Each group has a change mark, set by a change the user makes to one of its controls (a row
//   ticked and unticked again still counts). Apply and OK store and write the marked groups only,
//   each through its own saver, in the order JPEG, general, files, viewer; nothing marked writes
//   nothing.
// - A group whose saver fails keeps its old values in memory and its mark, Apply stays enabled and
//   OK leaves the window open; the groups saved before it stay saved.
// - Cancel, Escape and the close box discard what was not applied.
// - Switching "keep the catalogue" off removes the kept file at once (the next scan keeps nothing).
// - The hint switch acts at once (app.toolbarHints); the other options act where they are next
//   used: the JPEG options at the next JPEG load, the scan flags from the next scan on.
#pragma once

#include <QDialog>

class App;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class TRadioGroup;

class TfrmOptions : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmOptions(App &app, QWidget *parent = nullptr);

    App &app;
    QTabWidget *PageControlOption = nullptr;
    QWidget *TabSheetGeneral = nullptr, *TabSheetFiles = nullptr, *TabSheetJPEG = nullptr,
            *TabSheetViewer = nullptr;
    QCheckBox *chkGeneralBeepOnMessages = nullptr, *chkGeneralShowHint = nullptr,
              *chkGeneralExpandAfterScan = nullptr, *chkGeneralKeepCatalogue = nullptr,
              *chkGeneralShowThumbnails = nullptr;
    QLabel *Label1 = nullptr;
    QTreeWidget *lvFiles = nullptr;
    QPushButton *btnFilesCheckALL = nullptr, *btnFilesUnckeckALL = nullptr;
    TRadioGroup *rgJPEGScaling = nullptr, *rgJPEGColor = nullptr, *rgJPEGPixel = nullptr,
                *rgJPEGPerformance = nullptr;
    QGroupBox *GroupBoxProgressive = nullptr;
    QCheckBox *chkJPEGProgressiveDisplay = nullptr, *chkJPEGSmoothing = nullptr;
    QCheckBox *chkJPEGExifOrientation = nullptr; // kept with the viewer's comfort settings
    QCheckBox *chkViewerKeepZoom = nullptr;
    QLabel *lblViewerSlideInterval = nullptr;
    QSpinBox *spnViewerSlideInterval = nullptr;
    QCheckBox *chkViewerSlideLoop = nullptr, *chkViewerSlideShuffle = nullptr;
    QPushButton *btnOK = nullptr, *btnCancel = nullptr, *btnApply = nullptr;

    // Stores and writes the marked groups; false when a saver failed (it showed why).
    bool ApplyOptions();
    // Applies when Apply is enabled, then ends the window with OK unless a saver failed.
    void btnOKClick();
    void btnFilesCheckALLClick();
    void btnFilesUnckeckALLClick();

private:
    void createGeneralTab();
    void createFilesTab();
    void createJpegTab();
    void createViewerTab();
    void createButtons();
    void fill();
    void connectHandlers();
    void markChanged(bool &mark);
    void checkAllRows(bool checked);

    bool m_loaded = false; // change handlers act only once the window is filled
    bool m_jpegChanged = false;
    bool m_generalChanged = false;
    bool m_filesChanged = false;
    bool m_viewerChanged = false;
};

// mnuMain_Tools_Options: creates the window, runs it modally through the modal seam, frees it.
int ShowOptionsWindow(App &app);
