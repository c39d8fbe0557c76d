// Where the program keeps what it can make again (the kept catalogue): $LUMAVISTA_CACHE_DIR when
// set, else $XDG_CACHE_HOME/Lumavista (~/.cache/Lumavista when that is unset or not absolute).
#pragma once

#include <QString>

namespace platform {

QString cacheFolder();
// The kept catalogue's file in that folder.
QString keptCataloguePath();

} // namespace platform
