#include "online/servlet_channel.h"

#include <filesystem>

#include "frame/log.h"
#include "online/hiscore_table.h"
#include "online/online_platform.h"

namespace {

// Resolves one entry point into slot; false (logged) when the library lacks it.
template <typename Function>
bool Resolve(const TSharedLibrary& library, const char* name, Function& slot) {
  slot = reinterpret_cast<Function>(library.Symbol(name));
  if (!slot)
    Log("HiScores: %s lacks %s; using the web service", TServletChannel::kLibraryName, name);
  return slot != nullptr;
}

const char* OrNull(const std::string* text) {
  return text ? text->c_str() : nullptr;
}

}  // namespace

std::unique_ptr<TServletChannel> TServletChannel::Load(TOnlinePlatform& platform,
                                                       const std::string& folder,
                                                       const std::string& gameHandle,
                                                       const std::string& keyText,
                                                       const std::vector<std::string>& modeNames) {
  // A name without a folder would send the loader through the system's library path.
  const std::string path = (folder.empty() ? std::string("./") : folder) + kLibraryName;
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return nullptr;
  std::string error;
  std::unique_ptr<TSharedLibrary> library = platform.LoadLibrary(path, &error);
  if (!library) {
    Log("HiScores: cannot load %s (%s); using the web service", path.c_str(), error.c_str());
    return nullptr;
  }
  TEntryPoints entry{};
  const bool complete =
      Resolve(*library, "HiscoreServer_CreateLocalServer", entry.createLocalServer) &&
      Resolve(*library, "HiscoreServer_SetServerInfo", entry.setServerInfo) &&
      Resolve(*library, "HiscoreServer_LoadServerDefFile", entry.loadServerDefFile) &&
      Resolve(*library, "HiscoreServer_RequestCategoryInformation",
              entry.requestCategoryInformation) &&
      Resolve(*library, "HiscoreServer_RequestScores", entry.requestScores) &&
      Resolve(*library, "HiscoreServer_SubmitScore", entry.submitScore) &&
      Resolve(*library, "HiscoreServer_SubmitMedals", entry.submitMedals) &&
      Resolve(*library, "HiscoreServer_GetStatus", entry.getStatus) &&
      Resolve(*library, "HiscoreServer_GetContents", entry.getContents) &&
      Resolve(*library, "HiscoreServer_FreeLocalServer", entry.freeLocalServer);
  if (!complete) return nullptr;

  std::unique_ptr<TServletChannel> channel(new TServletChannel(std::move(library), entry));
  channel->mServer = entry.createLocalServer();
  if (!gameHandle.empty()) {
    if (!modeNames.empty()) {
      std::vector<const char*> names;
      for (const std::string& name : modeNames) names.push_back(name.c_str());
      entry.setServerInfo(channel->mServer, gameHandle.c_str(), keyText.c_str(), names.data(),
                          static_cast<int>(names.size()));
    }
  } else {
    entry.loadServerDefFile(channel->mServer);
  }
  Log("HiScores: using the local server %s", path.c_str());
  return channel;
}

TServletChannel::TServletChannel(std::unique_ptr<TSharedLibrary> library, const TEntryPoints& entry)
    : mLibrary(std::move(library)), mEntry(entry) {}

TServletChannel::~TServletChannel() {
  mEntry.freeLocalServer(mServer);
}

void TServletChannel::RequestTables(const THiscoreGameInfo& game) {
  mEntry.requestCategoryInformation(mServer, game.gameHandle.c_str());
}

void TServletChannel::RequestScores(const THiscoreGameInfo& game, const std::string* tableId,
                                    const std::string* username) {
  mEntry.requestScores(mServer, game.gameHandle.c_str(), game.category.c_str(), OrNull(tableId),
                       OrNull(username));
}

void TServletChannel::SubmitScore(const THiscoreGameInfo& game, const THiscoreRow& row,
                                  const std::string& accountName, const std::string& password) {
  mEntry.submitScore(mServer, game.gameHandle.c_str(), game.category.c_str(), accountName.c_str(),
                     password.c_str(), row.guid.c_str(), row.version.c_str(), row.gameData.c_str(),
                     row.score, game.keyText.c_str());
}

void TServletChannel::SubmitMedals(const THiscoreGameInfo& game, const std::string& medalsXml,
                                   const std::string& accountName, const std::string& password) {
  mEntry.submitMedals(mServer, game.gameHandle.c_str(), game.category.c_str(), accountName.c_str(),
                      password.c_str(), medalsXml.c_str(), game.keyText.c_str());
}

THiscoreChannel::TStatus TServletChannel::Status() {
  const int status = mEntry.getStatus(mServer);
  return status == 0 ? kWorking : status == 1 ? kDone : kFailed;
}

std::string TServletChannel::Response() {
  const char* contents = mEntry.getContents(mServer);
  return contents ? contents : "";
}
