// link: luma_platform
// The settings-file parser: any text, any section and key, looked up and rewritten.
#include "platform/Profile.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    bool found = false;
    const QString value = platform::profileLookup(text, "Lumavista", "Icon_Style", &found);
    if (value.size() > platform::kProfileValueMax)
        __builtin_trap();
    const QString updated = platform::profileUpdate(text, "Lumavista", "Icon_Style", "3");
    // A written key reads back as written, whatever the file held before.
    if (platform::profileLookup(updated, "lumavista", "ICON_STYLE", &found) != "3" || !found)
        __builtin_trap();
    return 0;
}
