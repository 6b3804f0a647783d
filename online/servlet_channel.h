// TServletChannel: the high-score requests handed to the in-process server
// "tvservlet_stub.so" (online/servlet_api.h) instead of the web service.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "online/hiscore_channel.h"
#include "online/servlet_api.h"

class TOnlinePlatform;
class TSharedLibrary;

class TServletChannel final : public THiscoreChannel {
 public:
  static constexpr char kLibraryName[] = "tvservlet_stub.so";

  // Loads the library from folder ("" for the working directory) and creates its server;
  // null when the library is not there, cannot be loaded or lacks an entry point (logged).
  // With a game handle, the server is told the game and its mode names; without, it reads
  // its own definition file.
  static std::unique_ptr<TServletChannel> Load(TOnlinePlatform& platform, const std::string& folder,
                                               const std::string& gameHandle,
                                               const std::string& keyText,
                                               const std::vector<std::string>& modeNames);
  ~TServletChannel() override;

  void RequestTables(const THiscoreGameInfo& game) override;
  void RequestScores(const THiscoreGameInfo& game, const std::string* tableId,
                     const std::string* username) override;
  void SubmitScore(const THiscoreGameInfo& game, const THiscoreRow& row,
                   const std::string& accountName, const std::string& password) override;
  void SubmitMedals(const THiscoreGameInfo& game, const std::string& medalsXml,
                    const std::string& accountName, const std::string& password) override;
  TStatus Status() override;
  std::string Response() override;

 private:
  struct TEntryPoints {
    decltype(&HiscoreServer_CreateLocalServer) createLocalServer;
    decltype(&HiscoreServer_SetServerInfo) setServerInfo;
    decltype(&HiscoreServer_LoadServerDefFile) loadServerDefFile;
    decltype(&HiscoreServer_RequestCategoryInformation) requestCategoryInformation;
    decltype(&HiscoreServer_RequestScores) requestScores;
    decltype(&HiscoreServer_SubmitScore) submitScore;
    decltype(&HiscoreServer_SubmitMedals) submitMedals;
    decltype(&HiscoreServer_GetStatus) getStatus;
    decltype(&HiscoreServer_GetContents) getContents;
    decltype(&HiscoreServer_FreeLocalServer) freeLocalServer;
  };

  TServletChannel(std::unique_ptr<TSharedLibrary> library, const TEntryPoints& entry);

  std::unique_ptr<TSharedLibrary> mLibrary;
  TEntryPoints mEntry;
  int mServer = 0;
};
