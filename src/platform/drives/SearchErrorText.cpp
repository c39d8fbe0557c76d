#include "platform/drives/DirSearch.h"

namespace platform {

namespace {

struct CodeText
{
    int code;
    const char *french;
    const char *english;
};

// Every code the directory search can return, in the system's words.
constexpr CodeText kCodeTexts[] = {
    {ERROR_SUCCESS, "L'opération a réussi.", "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "Le fichier spécifié est introuvable.",
     "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "Le chemin d'accès spécifié est introuvable.",
     "The system cannot find the path specified."},
    {ERROR_ACCESS_DENIED, "Accès refusé.", "Access is denied."},
    {ERROR_INVALID_DRIVE, "Le lecteur spécifié est introuvable.",
     "The system cannot find the drive specified."},
    {ERROR_NO_MORE_FILES, "Il n'y a plus de fichiers.", "There are no more files."},
    {ERROR_NOT_READY, "Le périphérique n'est pas prêt.", "The device is not ready."},
};

} // namespace

QString searchErrorText(int code, bool french)
{
    for (const CodeText &t : kCodeTexts)
        if (t.code == code)
            return QString::fromUtf8(french ? t.french : t.english);
    return french ? QStringLiteral("Erreur inconnue (code %1).").arg(code)
                  : QStringLiteral("Unknown error (code %1).").arg(code);
}

} // namespace platform
