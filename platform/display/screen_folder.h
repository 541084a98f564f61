// The device's screen/ folder, where the programs on the phone keep their
// screen records: a real folder of the device, never a link out of it, and
// cleared of what programs that died left behind.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "../files/files.h"

namespace platform {

// The folder of the records, in the device folder.
std::filesystem::path ScreenRecordsFolder();

// Opens screen/ without following a link. With `make`, a missing folder is
// made, and a link or anything else in its place is removed first (the
// link itself, never what it points at). Closed (false) when there is none.
HostFd OpenScreenFolder(bool make);

// Whether the entry `name` of the open folder is held under its lock by a
// running program (a record, or a record being made).
bool HeldAt(int folder, const std::string& name);

// Removes from screen/ what no running program holds: the records of
// programs that ended without removing them and their dumps, half-made
// records, and anything malformed under a record's name (empty or garbage
// files, folders, links). Every program does this as it comes on the screen.
void ClearScreenLeftovers(int folder);

}  // namespace platform
