// Values shared by the media-control devices: result of a command (error code and the system's
// French/English message), notification kinds, and the device chosen for a file.
// Codes keep the numbers of the media control interface so callers can show or log them as such.
#pragma once

#include <QString>

namespace platform {

enum MciErrorCode : int {
    MCI_OK = 0,
    MCIERR_HARDWARE = 262,
    MCIERR_INVALID_DEVICE_NAME = 263,
    MCIERR_OUT_OF_MEMORY = 264,
    MCIERR_DEVICE_OPEN = 265,
    MCIERR_CANNOT_LOAD_DRIVER = 266,
    MCIERR_FILE_NOT_FOUND = 275,
    MCIERR_INTERNAL = 277,
    MCIERR_EXTENSION_NOT_FOUND = 281,
    MCIERR_INVALID_FILE = 304,
    MCIERR_WAVE_OUTPUTSUNSUITABLE = 324,
    MCIERR_SEQ_NOMIDIPRESENT = 343,
    MCIERR_DEVICE_NOT_OPEN = 289,
    MCIERR_FILE_READ = 348,
};

// Result of a device command: code 0 is success; otherwise message (French, shown) and english.
struct MciResult
{
    int code = MCI_OK;
    QString message;
    QString english;
    bool ok() const { return code == MCI_OK; }
};

// Builds the result of a code with the system's text for it; detail (may be empty) is appended
// to both texts, for logs and the command-line tool.
MciResult mciError(int code, const QString &detail = {});

// Notification kinds, with the values of the media control interface.
enum class MciNotify : int { Successful = 1, Superseded = 2, Aborted = 4, Failure = 8 };

// WaveAudio plays every sound FFmpeg decodes, AviVideo every clip (the names are the devices').
enum class MciDeviceType { None, WaveAudio, Sequencer, AviVideo };

// The device of a file, from its extension, any case: sounds (.WAV .MP3 .OGG .OGA .OPUS .FLAC),
// tunes (.MID) and clips (.AVI .MP4 .M4V .MOV .MKV .WEBM).
MciDeviceType mciDeviceTypeFor(const QString &path);
// FFmpeg's demuxer for the file ("wav", "avi"), or null when its container is to be probed.
const char *mciDemuxerFor(const QString &path);

} // namespace platform
