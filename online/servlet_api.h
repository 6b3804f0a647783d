// The entry points of the optional in-process high-score server, the shared library
// "tvservlet_stub.so" in the program folder. The game loads it at run time when it is
// there and then sends every high-score request to it instead of the web service; the
// answers are the same XML texts the web service gives.
//
// All arguments and results are plain C values. Text arguments are zero-terminated; the
// optional ones (the table id and the username of RequestScores) may be null. A request
// function starts a request; GetStatus then answers 0 while it runs, 1 once it is done and
// any other value when it failed, and GetContents the answer of the last request done,
// valid until the next request or FreeLocalServer.
#pragma once

extern "C" {

int HiscoreServer_CreateLocalServer(void);
void HiscoreServer_SetServerInfo(int server, const char* gameHandle, const char* key,
                                 const char* const* modeNames, int modeCount);
void HiscoreServer_LoadServerDefFile(int server);
void HiscoreServer_RequestCategoryInformation(int server, const char* gameHandle);
void HiscoreServer_RequestScores(int server, const char* gameHandle, const char* category,
                                 const char* tableId, const char* username);
void HiscoreServer_SubmitScore(int server, const char* gameHandle, const char* category,
                               const char* accountName, const char* password, const char* guid,
                               const char* version, const char* gameData, int score,
                               const char* key);
void HiscoreServer_SubmitMedals(int server, const char* gameHandle, const char* category,
                                const char* accountName, const char* password,
                                const char* medalsXml, const char* key);
int HiscoreServer_GetStatus(int server);
const char* HiscoreServer_GetContents(int server);
void HiscoreServer_FreeLocalServer(int server);

}  // extern "C"
