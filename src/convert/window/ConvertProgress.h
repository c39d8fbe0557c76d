// The progress window of a conversion (frmConvertProgress): the files done of the total, the name
// of the file being converted, and Annuler; once the run has ended, its report in the same window
// (converted, skipped and failed files, each failure with its reason) and Fermer.
// Rules: the run starts when the window shows. Annuler, Escape and the window's close button all
// cancel: the running jobs stop and leave nothing, the others are skipped; the window stays until
// the last running job has stopped, so no work goes on behind a closed window. Once the report is
// up, Fermer, Escape and Return close the window.
#pragma once

#include <QDialog>

namespace convert {
class BatchRun;
}
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class TfrmConvertProgress : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmConvertProgress(convert::BatchRun &run, QWidget *parent = nullptr);

    QLabel *lblConvertProgressFile;
    QProgressBar *pbConvertProgress;
    QPlainTextEdit *txtConvertReport;      // hidden until the run has ended
    QPushButton *btnConvertProgressCancel; // Annuler, then Fermer

    void reject() override; // during the run: a request to cancel

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void ended();

    convert::BatchRun &m_run;
};

// The report of an ended run: how it ended, the counts, then the failures with their reasons.
QString ConvertReportText(const convert::BatchRun &run);
