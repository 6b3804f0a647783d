// The window types of the game's window library, registered with one call before the
// dialog scripts run (see ui/dialog_vocabulary.h).
#pragma once

class TWindowManager;

void RegisterGameWindowVocabulary(TWindowManager& manager);
