// "tvservlet_stub.so": the game's optional in-process high-score server. The ten
// functions below are the whole interface; they take and return plain C values, and a
// server is named by the integer handle HiscoreServer_CreateLocalServer returned. A null
// text counts as empty (as absent for the optional table id and user name). Calls with
// an unknown handle do nothing (GetStatus answers 2, GetContents "").
//
// The database and the optional definition file live in the player's data folder, or in
// the folder named by the environment variable TVSERVLET_DATA.
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "files/xdg_folders.h"
#include "files/xml_entities.h"
#include "online/server/enciphered_xml.h"
#include "online/server/local_server.h"

#define HISCORE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::mutex gServersMutex;
std::map<int, std::unique_ptr<TLocalServer>> gServers;
int gNextHandle = 1;

TLocalServer* Find(int handle) {
  std::lock_guard lock(gServersMutex);
  auto found = gServers.find(handle);
  return found == gServers.end() ? nullptr : found->second.get();
}

std::string Text(const char* text) {
  return text ? text : "";
}

std::string DataFolder() {
  if (const char* folder = std::getenv("TVSERVLET_DATA"); folder && *folder) return folder;
  const std::string user = ComputeSpecialFolders("", MC_PRODUCT_NAME).user;
  return user.empty() ? "." : user;
}

void AppendAttribute(std::string& out, const char* name, const std::string& value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value);
  out += '"';
}

}  // namespace

HISCORE_EXPORT int HiscoreServer_CreateLocalServer() {
  auto server = std::make_unique<TLocalServer>(DataFolder());
  std::lock_guard lock(gServersMutex);
  const int handle = gNextHandle++;
  gServers.emplace(handle, std::move(server));
  return handle;
}

HISCORE_EXPORT void HiscoreServer_SetServerInfo(int handle, const char* game, const char* key,
                                                const char* const* modeNames, int modeCount) {
  TLocalServer* server = Find(handle);
  if (!server) return;
  std::vector<std::string> modes;
  for (int i = 0; modeNames && i < modeCount; ++i) modes.push_back(Text(modeNames[i]));
  server->SetServerInfo(Text(game), Text(key), modes);
}

HISCORE_EXPORT void HiscoreServer_LoadServerDefFile(int handle) {
  if (TLocalServer* server = Find(handle)) server->LoadServerDefFile();
}

HISCORE_EXPORT void HiscoreServer_RequestCategoryInformation(int handle, const char* game) {
  if (TLocalServer* server = Find(handle)) server->RequestTables(Text(game));
}

HISCORE_EXPORT void HiscoreServer_RequestScores(int handle, const char* game, const char* category,
                                                const char* tableId, const char* username) {
  TLocalServer* server = Find(handle);
  if (!server) return;
  TScoresQuery query;
  query.game = Text(game);
  query.category = Text(category);
  if (tableId) query.tableId = tableId;
  query.username = Text(username);
  server->RequestScores(query);
}

HISCORE_EXPORT void HiscoreServer_SubmitScore(int handle, const char* game, const char* category,
                                              const char* name, const char* password,
                                              const char* guid, const char* version,
                                              const char* gameData, int score,
                                              const char* /*key*/) {
  TLocalServer* server = Find(handle);
  if (!server) return;
  TScoreSubmission submission;
  submission.game = Text(game);
  submission.category = Text(category);
  submission.name = Text(name);
  // The web form sends no password attribute for a score without an account.
  if (password && *password) submission.password = password;
  submission.guid = Text(guid);
  submission.version = Text(version);
  submission.gameData = Text(gameData);
  submission.score = score;
  server->SubmitScore(submission);
}

HISCORE_EXPORT void HiscoreServer_SubmitMedals(int handle, const char* game,
                                               const char* /*category*/, const char* name,
                                               const char* password, const char* medalsXml,
                                               const char* /*key*/) {
  TLocalServer* server = Find(handle);
  if (!server) return;
  // The medals text is the game's list of <medal /> elements: read it exactly as the web
  // form's <medals> element would be read.
  std::string xml = "<medals";
  AppendAttribute(xml, "name", Text(name));
  AppendAttribute(xml, "password", Text(password));
  xml += '>';
  xml += Text(medalsXml);
  xml += "</medals>";
  TMedalSubmission submission;
  submission.game = Text(game);
  std::string error;
  if (ReadMedalsXml(xml, submission, error)) {
    server->SubmitMedals(submission);
  } else {
    server->Refuse("Malformed medals: " + error);
  }
}

HISCORE_EXPORT int HiscoreServer_GetStatus(int handle) {
  TLocalServer* server = Find(handle);
  return server ? server->Status() : TLocalServer::kFailed;
}

HISCORE_EXPORT const char* HiscoreServer_GetContents(int handle) {
  TLocalServer* server = Find(handle);
  return server ? server->Contents() : "";
}

HISCORE_EXPORT void HiscoreServer_FreeLocalServer(int handle) {
  std::unique_ptr<TLocalServer> server;
  {
    std::lock_guard lock(gServersMutex);
    auto found = gServers.find(handle);
    if (found == gServers.end()) return;
    server = std::move(found->second);
    gServers.erase(found);
  }
  // Destroyed outside the lock: it waits for a request in progress.
  server.reset();
}
