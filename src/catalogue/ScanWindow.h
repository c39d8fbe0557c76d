// TfrmScanDisks, the modal scan window: created by the scan command for one scan and freed after it.
// A one-shot timer started when the window first shows runs the walk of every selected drive, or of
// the one folder, adding one report row per root that says how it ended; the status line shows the
// folder being walked and the search animation plays meanwhile.
//
// Rules:
// - Modal result 2 after a cancel, 1 otherwise. While the walk runs the button cancels (and so do
//   Escape and closing the window); afterwards it reads Close.
// - The window closes by itself after a walk in which nothing was cancelled or failed, unless
//   Dont_Close_Scan_Form is set; a failed root keeps it open so its row can be read.
// - The walk only lets the window run where it processes pending messages; the status line and the
//   window are repainted at most every few hundredths of a second, whatever the number of folders.
#pragma once

#include "catalogue/ScanEngine.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <vector>

class App;
struct Catalogue;
class QLabel;
class QPushButton;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

class TfrmScanDisks : public QDialog, public ScanProgress
{
    Q_OBJECT
public:
    // FormCreate.
    TfrmScanDisks(Catalogue &cat, QWidget *parent);
    ~TfrmScanDisks() override;

    Catalogue &cat;
    App &app;
    QPushButton *btnCancel = nullptr;
    QLabel *Animate1 = nullptr;
    QTreeWidget *lvReportList = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *StatusText = nullptr;
    QTimer *timProc = nullptr;

    void FormActivate();
    void FormDeactivate();
    void btnCancelClick();
    void timProcTimer();

    // ScanProgress.
    void enteringFolder(const QString &path) override;
    void folderDone() override;

signals:
    // The walk enters a folder (every folder, unthrottled).
    void folderEntered(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Escape and the window's close box press the button.
    void reject() override;

private:
    QTreeWidgetItem *addReportRow(const QString &text, int image);
    void setReportRow(QTreeWidgetItem *row, const QString &text, int image);
    void setStatus(const QString &text);
    // Puts the pending status text on screen now, or when the last repaint is old enough.
    void showStatus(bool now);
    void startAnimation();
    void stopAnimation();
    void nextFrame();
    // Ends the modal loop with result (or only records it when the window is already closing).
    void finish(int result);

    QTimer *m_animationTimer = nullptr;
    std::vector<QPixmap> m_frames;
    int m_frame = 0;
    bool m_activated = false;
    QString m_status;
    QElapsedTimer m_sinceRepaint;
};
