#include "fileops/ShellTexts.h"

#include "app/Language.h"
#include "platform/files/CopyEngine.h"
#include "platform/files/Trash.h"

#include <QFileInfo>

using platform::CopyFailure;
using platform::DeleteFailure;

QString ShellErrorText(int code)
{
    struct Row
    {
        int code;
        const char *french;
        const char *english;
    };
    static const Row rows[] = {
        {0, "Pas assez de mémoire ou de ressources.", "System out of memory or resources."},
        {2, "Fichier non trouvé.", "File not found."},
        {3, "Chemin non trouvé.", "Path was not found."},
        {5, "Accès au fichier refusé.", "Access file denied."},
        {8, "Pas assez de mémoire pour réaliser l'opération.",
         "Not enough memory to complete the operation."},
        {11, "Le fichier EXE est invalide.", ".EXE file is invalid."},
        {26, "Violation de partage.", "Sharing violation."},
        {27, "Association de nom de fichier inavaide ou incomplète.",
         "Incomplete or invalid filename association."},
        {28, "Transaction DDE time-out.", "DDE transaction time out."},
        {29, "Transaction DDE mal terminée.", "DDE transaction failed."},
        {30, "Transaction DDE occupée.", "DDE transaction busy."},
        {31, "Pas d'application associée à l'extension du nom de fichier.",
         "No application associated with the filename extension."},
        {32, "'Dynamic-link library' non trouvée.", "Dynamic-link library not found."},
    };
    QString text = QStringLiteral("Error #") + QString::number(code);
    for (const Row &row : rows)
        if (row.code == code)
            text += QStringLiteral(" - ") +
                    SelectText(QString::fromUtf8(row.french), QString::fromUtf8(row.english));
    return text;
}

namespace {

QString nameOf(const QString &nativePath)
{
    return QFileInfo(nativePath).fileName();
}

} // namespace

QString CopyFailureText(const platform::CopyFileReport &report)
{
    const QString source = nameOf(report.source);
    const QString target = nameOf(report.target);
    QString why;
    switch (report.failure) {
    case CopyFailure::SourceMissing:
        why = SelectText("le fichier n'existe plus", "the file no longer exists");
        break;
    case CopyFailure::SourceUnreadable:
        why = SelectText("le fichier ne peut pas être lu", "the file cannot be read");
        break;
    case CopyFailure::SourceIsFolder:
        why = SelectText("c'est un dossier", "it is a folder");
        break;
    case CopyFailure::SameFile:
        why = SelectText("la destination est ce fichier lui-même", "the destination is the file itself");
        break;
    case CopyFailure::TargetFolderMissing:
        why = SelectText("le dossier destination n'existe pas", "the destination folder does not exist");
        break;
    case CopyFailure::TargetUnwritable:
        why = SelectText("le dossier destination est protégé en écriture",
                         "the destination folder is write-protected");
        break;
    case CopyFailure::TargetIsFolder:
        why =
            SelectText("un dossier porte déjà le nom « %1 »", "a folder is already named \"%1\"").arg(target);
        break;
    case CopyFailure::TargetReadOnly:
        why = SelectText("le fichier « %1 » existant est en lecture seule",
                         "the existing file \"%1\" is read-only")
                  .arg(target);
        break;
    case CopyFailure::DiskFull:
        why = SelectText("le disque destination est plein", "the destination disk is full");
        break;
    case CopyFailure::TooLarge:
        why = SelectText("le fichier est trop gros pour le disque destination",
                         "the file is too large for the destination disk");
        break;
    case CopyFailure::None:
    case CopyFailure::Io:
        why = SelectText("erreur de lecture ou d'écriture", "read or write error");
        if (!report.status.ok() && report.status.error().code != 0)
            why += QStringLiteral(" (%1)").arg(report.status.error().code);
        break;
    }
    return SelectText("Le fichier « %1 » n'a pas été copié : %2.", "The file \"%1\" has not been copied: %2.")
        .arg(source, why);
}

QString DeleteFailureText(const platform::DeleteReport &report)
{
    QString why;
    switch (report.failure) {
    case DeleteFailure::Missing:
        why = SelectText("il n'existe plus", "it no longer exists");
        break;
    case DeleteFailure::IsFolder:
        why = SelectText("c'est un dossier", "it is a folder");
        break;
    case DeleteFailure::AccessDenied:
        why = SelectText("accès refusé", "access denied");
        break;
    case DeleteFailure::ReadOnlyFile:
        why = SelectText("il est en lecture seule", "it is read-only");
        break;
    case DeleteFailure::ReadOnlyFolder:
        why = SelectText("son dossier est protégé en écriture", "its folder is write-protected");
        break;
    case DeleteFailure::ReadOnlyVolume:
        why = SelectText("le disque est protégé en écriture", "the disk is write-protected");
        break;
    case DeleteFailure::None:
    case DeleteFailure::Other:
        why = SelectText("erreur du système", "system error");
        if (!report.status.ok() && report.status.error().code != 0)
            why += QStringLiteral(" (%1)").arg(report.status.error().code);
        break;
    }
    return SelectText("Le fichier « %1 » n'a pas été supprimé : %2.",
                      "The file \"%1\" has not been deleted: %2.")
        .arg(nameOf(report.path), why);
}
