// Where the program finds its data: the folder that holds "assets/". A build tree or a
// portable copy keeps assets/ beside the program (build/bin/assets/); an installed copy keeps
// the program in <prefix>/bin/ and its data in <prefix>/share/<install name>/assets/. The
// program runs with this folder as its working directory, so every "assets/..." and
// "::assets/..." name resolves there; nothing is ever written into it (the player's files go
// to the user folder).
#pragma once

#include <string>

// The content folder, with a trailing "/", of the program whose folder is programFolder (with
// a trailing "/"): programFolder itself when it holds assets/, else
// programFolder/../share/<installName>/ when that holds assets/, else programFolder, where
// the missing assets are reported by whatever reads them first.
std::string ContentFolderFor(const std::string& programFolder, const std::string& installName);
