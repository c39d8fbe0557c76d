// A sound's or a clip's length as its device would report it once open, asked of the file alone:
// no device is opened, so nothing that plays is disturbed and no sound output is needed.
#pragma once

#include <QString>
#include <cstdint>

namespace platform::media {

// The length in milliseconds of a sound, a MIDI tune or a clip (the device is chosen by the
// extension, see mciDeviceTypeFor); 0 when the file cannot be read or its device would refuse it.
int64_t probeMediaLengthMs(const QString &nativePath);

} // namespace platform::media
