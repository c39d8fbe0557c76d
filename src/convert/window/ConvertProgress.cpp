#include "convert/window/ConvertProgress.h"

#include "app/Language.h"
#include "convert/BatchRun.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using convert::JobOutcome;

namespace {

QString text(const char *fr, const char *en)
{
    return SelectText(QString::fromUtf8(fr), QString::fromUtf8(en));
}

// The program's reason for a failure; the component's own words follow for the curious.
QString reasonOf(const convert::Job &job, const platform::Error &error)
{
    using Kind = platform::Error::Kind;
    QString reason;
    switch (error.kind) {
    case Kind::FileOpen:
        reason = text("le fichier ne peut pas être lu", "the file cannot be read");
        break;
    case Kind::InvalidData:
        reason = text("fichier endommagé ou incomplet", "damaged or incomplete file");
        break;
    case Kind::TooLarge:
        reason = text("image trop grande", "picture too large");
        break;
    case Kind::Io:
        reason = text("écriture impossible dans la destination", "the destination cannot be written");
        break;
    case Kind::Device:
    case Kind::Other:
        reason = text("conversion impossible", "cannot be converted");
        break;
    }
    QString detail = error.message;
    if (detail.startsWith(job.input + QLatin1String(": ")))
        detail = detail.mid(job.input.size() + 2);
    return detail.isEmpty() ? reason : QStringLiteral("%1 (%2)").arg(reason, detail);
}

} // namespace

QString ConvertReportText(const convert::BatchRun &run)
{
    int converted = 0, skipped = 0, failed = 0;
    QStringList failures;
    for (qsizetype i = 0; i < run.outcomes().size(); ++i) {
        const JobOutcome &outcome = run.outcomes()[i];
        switch (outcome.state) {
        case JobOutcome::State::Converted:
            ++converted;
            break;
        case JobOutcome::State::Pending:
        case JobOutcome::State::Skipped:
            ++skipped;
            break;
        case JobOutcome::State::Failed: {
            ++failed;
            const convert::Job &job = run.jobs()[i];
            failures << QStringLiteral("%1 : %2").arg(QFileInfo(job.input).fileName(),
                                                      reasonOf(job, outcome.error));
            break;
        }
        }
    }
    QString head;
    if (run.stopReason()) {
        QString folder;
        for (qsizetype i = 0; i < run.outcomes().size() && folder.isEmpty(); ++i)
            if (run.outcomes()[i].state == JobOutcome::State::Failed &&
                run.outcomes()[i].error.kind == platform::Error::Kind::Io)
                folder = QDir::toNativeSeparators(run.jobs()[i].outFolder);
        head = text("La conversion s'est arrêtée : la destination ne peut pas recevoir les fichiers "
                    "(accès refusé ou disque plein).\n%1",
                    "The conversion stopped: the destination cannot take the files (no access or disk "
                    "full).\n%1")
                   .arg(folder);
    } else if (run.cancelRequested()) {
        head = text("La conversion a été annulée.", "The conversion was cancelled.");
    } else {
        head = text("La conversion est terminée.", "The conversion is complete.");
    }
    QString report = head + QStringLiteral("\n\n") +
                     text("Fichiers convertis : %1\nFichiers ignorés : %2\nÉchecs : %3",
                          "Files converted: %1\nFiles skipped: %2\nFailures: %3")
                         .arg(converted)
                         .arg(skipped)
                         .arg(failed);
    if (!failures.isEmpty())
        report += QStringLiteral("\n\n") + failures.join(QLatin1Char('\n'));
    return report;
}

TfrmConvertProgress::TfrmConvertProgress(convert::BatchRun &run, QWidget *parent)
    : QDialog(parent), m_run(run)
{
    setObjectName(QStringLiteral("frmConvertProgress"));
    setWindowTitle(text("Conversion en cours", "Converting"));
    setModal(true);
    setMinimumWidth(440);
    auto *layout = new QVBoxLayout(this);
    lblConvertProgressFile = new QLabel(text("Préparation...", "Starting..."), this);
    lblConvertProgressFile->setObjectName(QStringLiteral("lblConvertProgressFile"));
    lblConvertProgressFile->setTextFormat(Qt::PlainText);
    lblConvertProgressFile->setAccessibleName(text("Fichier en cours", "Current file"));
    layout->addWidget(lblConvertProgressFile);
    pbConvertProgress = new QProgressBar(this);
    pbConvertProgress->setObjectName(QStringLiteral("pbConvertProgress"));
    pbConvertProgress->setRange(0, run.total());
    pbConvertProgress->setValue(0);
    pbConvertProgress->setFormat(text("%v sur %m", "%v of %m"));
    pbConvertProgress->setAccessibleName(text("Fichiers traités", "Files done"));
    layout->addWidget(pbConvertProgress);
    txtConvertReport = new QPlainTextEdit(this);
    txtConvertReport->setObjectName(QStringLiteral("txtConvertReport"));
    txtConvertReport->setReadOnly(true);
    txtConvertReport->setAccessibleName(text("Compte rendu", "Report"));
    txtConvertReport->setMinimumHeight(140);
    txtConvertReport->hide();
    layout->addWidget(txtConvertReport, 1);
    btnConvertProgressCancel = new QPushButton(text("Annuler", "Cancel"), this);
    btnConvertProgressCancel->setObjectName(QStringLiteral("btnConvertProgressCancel"));
    btnConvertProgressCancel->setAccessibleName(btnConvertProgressCancel->text());
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(btnConvertProgressCancel);
    layout->addLayout(row);
    connect(btnConvertProgressCancel, &QPushButton::clicked, this, &TfrmConvertProgress::reject);

    connect(&run, &convert::BatchRun::jobStarted, this, [this](int index) {
        if (m_run.cancelRequested())
            return;
        const QString name = QFileInfo(m_run.jobs().at(index).input).fileName();
        lblConvertProgressFile->setText(text("Conversion de %1", "Converting %1").arg(name));
    });
    connect(&run, &convert::BatchRun::jobEnded, this, [this] { pbConvertProgress->setValue(m_run.ended()); });
    connect(&run, &convert::BatchRun::finished, this, &TfrmConvertProgress::ended);
}

void TfrmConvertProgress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_run.start(); // once: a second show does nothing
    btnConvertProgressCancel->setFocus();
}

void TfrmConvertProgress::reject()
{
    if (m_run.isFinished()) {
        done(m_run.cancelRequested() ? QDialog::Rejected : QDialog::Accepted);
        return;
    }
    if (m_run.cancelRequested())
        return;
    m_run.cancel();
    btnConvertProgressCancel->setEnabled(false);
    lblConvertProgressFile->setText(text("Annulation...", "Cancelling..."));
}

void TfrmConvertProgress::closeEvent(QCloseEvent *event)
{
    if (m_run.isFinished()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

void TfrmConvertProgress::ended()
{
    const bool stopped = m_run.stopReason().has_value();
    setWindowTitle(stopped                   ? text("Conversion arrêtée", "Conversion stopped")
                   : m_run.cancelRequested() ? text("Conversion annulée", "Conversion cancelled")
                                             : text("Conversion terminée", "Conversion complete"));
    lblConvertProgressFile->setText(text("Compte rendu :", "Report:"));
    txtConvertReport->setPlainText(ConvertReportText(m_run));
    txtConvertReport->show();
    btnConvertProgressCancel->setText(text("Fermer", "Close"));
    btnConvertProgressCancel->setAccessibleName(btnConvertProgressCancel->text());
    btnConvertProgressCancel->setEnabled(true);
    btnConvertProgressCancel->setDefault(true);
    btnConvertProgressCancel->setFocus();
}
