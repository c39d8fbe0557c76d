#include "platform/media/MciTypes.h"

#include <QFileInfo>

namespace platform {

namespace {

struct Text
{
    int code;
    const char *french;
    const char *english;
};

const Text texts[] = {
    {MCIERR_HARDWARE, "Le périphérique multimédia ne répond pas ou aucune sortie audio n'est disponible.",
     "The media device is not responding or no audio output is available."},
    {MCIERR_INVALID_DEVICE_NAME, "Le périphérique spécifié n'est pas ouvert ou n'est pas reconnu par MCI.",
     "The specified device is not open or is not recognized by MCI."},
    {MCIERR_OUT_OF_MEMORY, "Mémoire insuffisante pour cette opération.",
     "There is not enough memory available for this task."},
    {MCIERR_DEVICE_OPEN, "Le nom de périphérique est déjà utilisé.",
     "The device name is already being used."},
    {MCIERR_CANNOT_LOAD_DRIVER, "Impossible de charger le pilote de périphérique spécifié.",
     "The specified device driver cannot be loaded."},
    {MCIERR_FILE_NOT_FOUND, "Le fichier spécifié est introuvable. Vérifiez le chemin et le nom de fichier.",
     "Cannot find the specified file. Make sure the path and filename are correct."},
    {MCIERR_INTERNAL, "Une erreur s'est produite dans le pilote de périphérique.",
     "A problem occurred in initializing MCI."},
    {MCIERR_EXTENSION_NOT_FOUND, "Aucun périphérique n'est associé à l'extension de ce fichier.",
     "The specified extension has no device type associated with it."},
    {MCIERR_INVALID_FILE,
     "Le fichier spécifié ne peut pas être lu par le périphérique MCI. Il est peut-être "
     "endommagé ou dans un format non reconnu.",
     "The specified file cannot be played on the specified MCI device. The file may be corrupt, or not in "
     "the correct format."},
    {MCIERR_WAVE_OUTPUTSUNSUITABLE, "Aucun périphérique audio ne peut lire ce fichier.",
     "No wave device that can play files in the current format is installed."},
    {MCIERR_SEQ_NOMIDIPRESENT, "Aucun périphérique MIDI (banque de sons) n'est installé.",
     "There are no MIDI devices installed on the system."},
    {MCIERR_DEVICE_NOT_OPEN, "Le périphérique n'est pas ouvert.", "The device is not open."},
    {MCIERR_FILE_READ, "Une erreur s'est produite lors de la lecture du fichier.",
     "A read from the file failed. Make sure the file is present on your system."},
};

} // namespace

MciResult mciError(int code, const QString &detail)
{
    MciResult r;
    r.code = code;
    if (code == MCI_OK)
        return r;
    r.message = QStringLiteral("Erreur MCI %1.").arg(code);
    r.english = QStringLiteral("MCI error %1.").arg(code);
    for (const Text &t : texts) {
        if (t.code == code) {
            r.message = QString::fromUtf8(t.french);
            r.english = QString::fromUtf8(t.english);
            break;
        }
    }
    if (!detail.isEmpty()) {
        r.message += QStringLiteral(" (%1)").arg(detail);
        r.english += QStringLiteral(" (%1)").arg(detail);
    }
    return r;
}

namespace {

struct Extension
{
    const char *suffix; // upper case, without the dot
    MciDeviceType device;
    const char *demuxer; // null: FFmpeg probes the container
};

// WAV and AVI files are always RIFF, so their demuxer is named; the other containers hold more
// than one codec and are told apart by FFmpeg's probe (an .OGG of Opus, an .M4V that is QuickTime).
const Extension extensions[] = {
    {"WAV", MciDeviceType::WaveAudio, "wav"},    {"MP3", MciDeviceType::WaveAudio, nullptr},
    {"OGG", MciDeviceType::WaveAudio, nullptr},  {"OGA", MciDeviceType::WaveAudio, nullptr},
    {"OPUS", MciDeviceType::WaveAudio, nullptr}, {"FLAC", MciDeviceType::WaveAudio, nullptr},
    {"MID", MciDeviceType::Sequencer, nullptr},  {"AVI", MciDeviceType::AviVideo, "avi"},
    {"MP4", MciDeviceType::AviVideo, nullptr},   {"M4V", MciDeviceType::AviVideo, nullptr},
    {"MOV", MciDeviceType::AviVideo, nullptr},   {"MKV", MciDeviceType::AviVideo, nullptr},
    {"WEBM", MciDeviceType::AviVideo, nullptr},
};

const Extension *extensionOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const Extension &e : extensions)
        if (suffix.compare(QLatin1String(e.suffix), Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

} // namespace

MciDeviceType mciDeviceTypeFor(const QString &path)
{
    const Extension *e = extensionOf(path);
    return e ? e->device : MciDeviceType::None;
}

const char *mciDemuxerFor(const QString &path)
{
    const Extension *e = extensionOf(path);
    return e ? e->demuxer : nullptr;
}

} // namespace platform
