#include "webcontrol/launcher_log.h"

#include <cstdarg>
#include <cstdio>

void LauncherLog(const char* format, ...) {
  char line[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  std::fprintf(stderr, "activex: %s\n", line);
}
