// TTvHiscores: the high-score service of the game. Locally it keeps, per game category, a
// table of the best 500 scores, and per player the remembered server account; both live
// enciphered in "user:hiscore.dat". Online it asks the high-score server for its list of
// tables, downloads one table, submits a local score (each one once) and submits medals.
//
// Where the server is: the setting "hiscoreserver", else the first line of
// "hiscoreserver.txt" in the content folder (beside assets/: build/bin/ in a build tree,
// <prefix>/share/<game>/ when installed), a URL such as
// "http://scores.example.org/go/hiscore" (an address without a path gets "/go/hiscore").
// When the in-process server "tvservlet_stub.so" is in the program folder, every request
// goes to it instead. With neither, online scores are off: nothing touches the network and
// every request fails at once with kOnlineOffMessage.
//
// The screens drive it: a request, then Poll every frame until it answers 0 (done) or 2
// (failed, with a message for the player). The end of a level adds local scores. Main
// thread only.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/prefs_cipher.h"
#include "online/hiscore_channel.h"
#include "online/hiscore_response.h"
#include "online/hiscore_store.h"

class TOnlinePlatform;

// Where the service finds its files and the platform; the defaults are the running
// program's.
struct THiscoreSetup {
  std::string programFolder;  // with a trailing "/"; "" for the working directory
  // Where "hiscoreserver.txt" and "hiscore.xml" are, with a trailing "/": the folder that
  // holds assets/ (frame/content_folder.h). "" for the program folder.
  std::string contentFolder;
  TOnlinePlatform* platform = nullptr;

  static THiscoreSetup ForThisProgram();
};

class TTvHiscores {
 public:
  enum TParameter { kLanguage = 0, kPlayerName = 1, kCategory = 2 };
  enum TPollResult { kPollDone = 0, kPollWorking = 1, kPollFailed = 2 };

  static constexpr char kSavedFile[] = "user:hiscore.dat";
  static constexpr char kConnectFailedMessage[] =
      "Unable to connect to server. Please try again later.";
  static constexpr char kOnlineOffMessage[] = "Online high scores are off.";

  // savingAllowed: whether changes are written to the saved file (the game passes true).
  explicit TTvHiscores(bool savingAllowed);
  TTvHiscores(bool savingAllowed, const THiscoreSetup& setup);
  ~TTvHiscores();
  TTvHiscores(const TTvHiscores&) = delete;
  TTvHiscores& operator=(const TTvHiscores&) = delete;

  // kLanguage (ignored once "hiscore.xml" has fixed it), kPlayerName (also forgets the
  // username of score requests), kCategory (the game mode's category name).
  void SetParameter(TParameter kind, const std::string& text);

  // Adds a score of the current player to the current category's table and saves. With
  // onePerPlayer the player keeps only their best score. True when the score is in the
  // table afterwards.
  bool AddLocalScore(int score, bool onePerPlayer, const std::string& gameData = std::string(),
                     const std::string& serverData = std::string());

  // Whether requests can reach a server (the web service or the in-process one).
  bool OnlineScoresAvailable() const { return mChannel != nullptr; }
  void RequestTables();
  // The scores of the table at this index of the table list (without a table when the
  // index is outside the list).
  void RequestScores(int tableIndex);
  // Submits the player's first local score that has not been submitted yet. remember keeps
  // the account and password for the player, otherwise any remembered one is forgotten.
  // False when there is nothing to submit.
  bool SubmitScore(const std::string& accountName, const std::string& password, bool remember);
  // Sends medals XML for the account; false when the medals or the account name are empty.
  bool SubmitMedals(const std::string& medalsXml, const std::string& accountName,
                    const std::string& password, bool remember);

  // The state of the last request: kPollWorking, kPollDone, or kPollFailed with a message
  // for the player in buffer (cut to length - 1 bytes, always terminated). *accepted (may
  // be null) tells after a score submission whether the server took the score.
  int Poll(char* buffer, size_t length, bool* accepted);

  // The current category's local table (local) or the downloaded one.
  int GetRowCount(bool local) const;
  const THiscoreRow* GetRow(bool local, int index) const;
  // local: the player's first local row not yet submitted. global: the requesting
  // account's row of the downloaded table, else the downloaded row of the player's account
  // whose guid is one of the player's local scores. Null when there is none.
  const THiscoreRow* GetPlayerEntry(bool global) const;
  // The player's remembered account; false when there is none.
  bool GetAccount(std::string* name, std::string* password) const;

  int GetTableCount() const { return static_cast<int>(mTables.size()); }
  // The display name of a table of the list; false when the index is outside it.
  bool GetTableName(int index, std::string* name) const;

  // Diagnostics and tests.
  const std::string& ServerUrl() const { return mServerUrl; }
  const std::string& Language() const { return mGame.language; }
  const std::string& PlayerName() const { return mPlayerName; }
  const std::string& Category() const { return mGame.category; }
  const THiscoreStore& Store() const { return mStore; }

 private:
  enum TRequestKind { kSubmit = 0, kScores = 1, kTables = 2 };

  void ReadConfiguration(const std::string& folder);
  void ReadServerAddress(const std::string& folder);
  void Load();
  void Save();
  void RememberAccount(const std::string& accountName, const std::string& password, bool remember);
  const THiscoreTable* CurrentTable() const;
  void BeginRequest(TRequestKind kind);
  // The text Poll reports when a request failed.
  const std::string& FailureMessage() const;
  int Fail(char* buffer, size_t length, const std::string& message) const;
  int FinishScores(const std::string& response, const THiscoreResponse& parsed);
  int FinishTables(const THiscoreResponse& parsed);
  int FinishSubmit(const std::string& response, const THiscoreResponse& parsed);
  // Reads the answer of the request that has just ended; a TPollResult.
  int TakeAnswer();

  THiscoreGameInfo mGame;
  std::string mVersion;
  std::string mPlayerName;
  std::string mUsername;
  bool mLanguageLocked = false;
  std::string mDefaultError;
  std::string mServerUrl;
  TPrefsCipher mCipher;
  bool mSavingAllowed;

  THiscoreStore mStore;
  std::string mDamagedBytes;  // a saved file that could not be read, kept aside at the next save

  std::unique_ptr<THiscoreChannel> mChannel;
  bool mRequested = false;
  bool mAnswered = false;  // the last request's answer has been taken in
  int mAnswerResult = kPollFailed;
  bool mAnswerAccepted = false;
  TRequestKind mRequestKind = kSubmit;
  bool mMedalsRequest = false;
  std::string mSubmitCategory;  // the table and player of the submission in flight
  std::string mSubmitPlayer;
  std::string mUserMessage;

  std::vector<THiscoreTableInfo> mTables;
  bool mTablesReceived = false;
  std::vector<THiscoreRow> mDownloaded;
  int mAccountRow = -1;
};
