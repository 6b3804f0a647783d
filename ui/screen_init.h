// The dialog library every window script state contains: constants, the description
// machinery (MakeDialog, DoWindow, styles) and the modal-screen functions written in Lua on
// top of the window script's native functions.
#pragma once

extern const char kScreenInitChunk[];
