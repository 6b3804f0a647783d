// A stand-in for the in-process high-score server, built as "tvservlet_stub.so" in a test
// folder of its own. It writes every call into a log the test reads through
// FakeServlet_Calls, answers every request after one "working" poll, and its answers carry
// the arguments it was given so the test can see them arrive.
#include <string>

#include "online/servlet_api.h"

namespace {

std::string gCalls;
std::string gContents;
int gPollsUntilDone = 0;

std::string Text(const char* text) {
  return text ? text : "(null)";
}

void Answer(const std::string& contents) {
  gContents = contents;
  gPollsUntilDone = 1;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) const char* FakeServlet_Calls() {
  return gCalls.c_str();
}

int HiscoreServer_CreateLocalServer(void) {
  gCalls += "create;";
  return 42;
}

void HiscoreServer_SetServerInfo(int server, const char* gameHandle, const char* key,
                                 const char* const* modeNames, int modeCount) {
  gCalls += "info " + std::to_string(server) + " " + Text(gameHandle) + " " + Text(key);
  for (int i = 0; i < modeCount; ++i) gCalls += " " + Text(modeNames[i]);
  gCalls += ";";
}

void HiscoreServer_LoadServerDefFile(int server) {
  gCalls += "deffile " + std::to_string(server) + ";";
}

void HiscoreServer_RequestCategoryInformation(int server, const char* gameHandle) {
  gCalls += "tables " + Text(gameHandle) + ";";
  Answer("<hiscore><tables><table table=\"local\" name=\"This computer\"/></tables></hiscore>");
}

void HiscoreServer_RequestScores(int server, const char* gameHandle, const char* category,
                                 const char* tableId, const char* username) {
  gCalls += "scores " + Text(gameHandle) + " " + Text(category) + " " + Text(tableId) + " " +
            Text(username) + ";";
  Answer(
      "<hiscore><scores><score name=\"Ann\" score=\"70\" rank=\"1\" guid=\"g\"/>"
      "</scores></hiscore>");
}

void HiscoreServer_SubmitScore(int server, const char* gameHandle, const char* category,
                               const char* accountName, const char* password, const char* guid,
                               const char* version, const char* gameData, int score,
                               const char* key) {
  gCalls += "submit " + Text(gameHandle) + " " + Text(category) + " " + Text(accountName) + " " +
            Text(password) + " " + std::to_string(std::string(Text(guid)).size()) + " " +
            Text(version) + " " + Text(gameData) + " " + std::to_string(score) + " " + Text(key) +
            ";";
  Answer("<hiscore><score/></hiscore>");
}

void HiscoreServer_SubmitMedals(int server, const char* gameHandle, const char* category,
                                const char* accountName, const char* password,
                                const char* medalsXml, const char* key) {
  gCalls += "medals " + Text(accountName) + " " + Text(medalsXml) + ";";
  Answer("<hiscore><medals/></hiscore>");
}

int HiscoreServer_GetStatus(int server) {
  if (gPollsUntilDone > 0) {
    --gPollsUntilDone;
    return 0;
  }
  return 1;
}

const char* HiscoreServer_GetContents(int server) {
  return gContents.c_str();
}

void HiscoreServer_FreeLocalServer(int server) {
  gCalls += "free " + std::to_string(server) + ";";
}

}  // extern "C"
