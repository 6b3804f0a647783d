// The game program's dialog vocabulary: the window types and script constants of the game
// layer (the engine's own are in ui/engine_vocabulary.cpp). A game library with window
// classes of its own either adds its rows here or registers its own table the same way
// (see ui/dialog_vocabulary.h).
#pragma once

class TWindowManager;

void RegisterGameVocabulary(TWindowManager& manager);
