// The diagnostic log: one plain-text file per run in the player's data folder. The file
// keeps its first 51200 bytes (start-up messages) and recycles the region after them once
// it passes 100 KB, so it never grows much beyond that. Logging never reports errors. Any
// thread may log; SetLogFolder belongs to start-up and shutdown.
#pragma once

#include <string>

// Turns logging on into folder + "/logfile.txt" (creating the folder, deleting an older
// log), or off when folder is empty.
void SetLogFolder(const std::string& folder);

// printf-style; appends one time-stamped line. Does nothing while logging is off.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The log file's path ("" while logging is off) and the offset of the next line.
const std::string& LogPath();
unsigned LogPosition();
