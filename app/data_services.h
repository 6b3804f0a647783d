// Hooks the file system, settings and string tables into the engine's start-up and
// shutdown.
#pragma once

#include "frame/frame_links.h"

void AddDataServices(TFrameServices& services);
