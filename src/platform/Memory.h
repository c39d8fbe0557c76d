// Gives memory the program freed back to the system. The allocator keeps freed blocks for later,
// which after a scan of a large disk (a catalogue built, the previous one and the scan's working
// space dropped) would leave the program tens of megabytes larger than what it holds.
#pragma once

namespace platform {

void ReleaseFreedMemory();

} // namespace platform
