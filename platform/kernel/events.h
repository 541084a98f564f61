// The phone's named events as the device keeps them: how often each was
// signalled, counted in phone.db for the device tool.
#pragma once

namespace platform {

// The table of signal counts, for a fresh device.
void CreateEventTables();

}  // namespace platform
