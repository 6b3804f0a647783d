// The engine's script functions for sound, registered into a script state:
//   PlaySoundEffect(file) → boolean       plays an effect once, in the effects group
//   StartMusic(file) → boolean            the background music piece, looping (see TMusicPlayer)
//   StopMusic()
//   GetMasterVolume() → number            SetMasterVolume(volume)
//   GetSoundGroupVolume(group) → number   the group's own volume (1 when it has none)
//   SetSoundGroupVolume(group, volume)
// They act on the program's sound manager at the time of the call; without one they do
// nothing and answer false or 0.
#pragma once

struct lua_State;

void RegisterSoundFunctions(lua_State* L);
