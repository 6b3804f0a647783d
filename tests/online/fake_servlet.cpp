// A stand-in for the in-process high-score server, built as "tvservlet_stub.so" in a test
// folder of its own. It writes every call with its arguments into a log the test reads
// through FakeServlet_Calls, and answers every request after one "working" poll.
#include <initializer_list>
#include <string>

#include "online/servlet_api.h"

namespace {

std::string gCalls;
std::string gContents;
int gPollsUntilDone = 0;

std::string Text(const char* text) {
  return text ? text : "(null)";
}

// Appends one call to the log: its name and its arguments, separated by blanks (piece by
// piece: chained temporaries upset GCC 12's -Wrestrict).
void Record(std::initializer_list<std::string> words) {
  const char* separator = "";
  for (const std::string& word : words) {
    gCalls.append(separator);
    gCalls.append(word);
    separator = " ";
  }
  gCalls.push_back(';');
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
  Record({"create"});
  return 42;
}

void HiscoreServer_SetServerInfo(int server, const char* gameHandle, const char* key,
                                 const char* const* modeNames, int modeCount) {
  std::string names;
  for (int i = 0; i < modeCount; ++i) {
    if (i > 0) names.push_back(' ');
    names.append(Text(modeNames[i]));
  }
  Record({"info", std::to_string(server), Text(gameHandle), Text(key), names});
}

void HiscoreServer_LoadServerDefFile(int server) {
  Record({"deffile", std::to_string(server)});
}

void HiscoreServer_RequestCategoryInformation(int server, const char* gameHandle) {
  Record({"tables", std::to_string(server), Text(gameHandle)});
  Answer("<hiscore><tables><table table=\"local\" name=\"This computer\"/></tables></hiscore>");
}

void HiscoreServer_RequestScores(int server, const char* gameHandle, const char* category,
                                 const char* tableId, const char* username) {
  Record({"scores", std::to_string(server), Text(gameHandle), Text(category), Text(tableId),
          Text(username)});
  Answer(
      "<hiscore><scores><score name=\"Ann\" score=\"70\" rank=\"1\" guid=\"g\"/>"
      "</scores></hiscore>");
}

void HiscoreServer_SubmitScore(int server, const char* gameHandle, const char* category,
                               const char* accountName, const char* password, const char* guid,
                               const char* version, const char* gameData, int score,
                               const char* key) {
  Record({"submit", std::to_string(server), Text(gameHandle), Text(category), Text(accountName),
          Text(password), std::to_string(Text(guid).size()), Text(version), Text(gameData),
          std::to_string(score), Text(key)});
  Answer("<hiscore><score/></hiscore>");
}

void HiscoreServer_SubmitMedals(int server, const char* gameHandle, const char* category,
                                const char* accountName, const char* password,
                                const char* medalsXml, const char* key) {
  Record({"medals", std::to_string(server), Text(gameHandle), Text(category), Text(accountName),
          Text(password), Text(medalsXml), Text(key)});
  Answer("<hiscore><medals/></hiscore>");
}

int HiscoreServer_GetStatus(int /*server*/) {
  if (gPollsUntilDone > 0) {
    --gPollsUntilDone;
    return 0;
  }
  return 1;
}

const char* HiscoreServer_GetContents(int /*server*/) {
  return gContents.c_str();
}

void HiscoreServer_FreeLocalServer(int server) {
  Record({"free", std::to_string(server)});
}

}  // extern "C"
