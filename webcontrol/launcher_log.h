// The launcher's diagnostics: one line on the host program's standard error, prefixed with
// "activex: ". The control lives in someone else's process (the page host), so it keeps no
// log file of its own.
#pragma once

void LauncherLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
