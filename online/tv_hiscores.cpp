#include "online/tv_hiscores.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>

#include "data/settings.h"
#include "files/file.h"
#include "files/replace_file.h"
#include "files/xml_node.h"
#include "frame/application.h"
#include "frame/log.h"
#include "online/hiscore_file.h"
#include "online/hiscore_web_channel.h"
#include "online/online_platform.h"
#include "online/servlet_channel.h"

namespace {

constexpr char kServicePath[] = "/go/hiscore";
constexpr char kConfigFile[] = "hiscore.xml";
constexpr char kServerFile[] = "hiscoreserver.txt";

std::string NewGuid() {
  std::random_device random;
  char text[33];
  std::snprintf(text, sizeof text, "%08x%08x%08x%08x", static_cast<unsigned>(random()),
                static_cast<unsigned>(random()), static_cast<unsigned>(random()),
                static_cast<unsigned>(random()));
  return text;
}

// The service's address from what the player configured, or "" when it is unusable.
std::string ServiceUrl(std::string_view configured) {
  const size_t first = configured.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::string();
  const std::string url(
      configured.substr(first, configured.find_last_not_of(" \t\r\n") + 1 - first));
  const bool http = strncasecmp(url.c_str(), "http://", 7) == 0;
  const bool https = strncasecmp(url.c_str(), "https://", 8) == 0;
  if (!http && !https) {
    Log("HiScores: ignoring the server address '%s': it is not an http:// or https:// address",
        url.c_str());
    return std::string();
  }
  const size_t hostStart = http ? 7 : 8;
  return url.find('/', hostStart) == std::string::npos ? url + kServicePath : url;
}

// The game's mode names for the in-process server: "tvgamemodename1", "...2", up to the
// first empty one.
std::vector<std::string> ModeNames() {
  std::vector<std::string> names;
  for (int i = 1;; ++i) {
    const std::string name = GetSetting("tvgamemodename" + std::to_string(i));
    if (name.empty()) return names;
    names.push_back(name);
  }
}

}  // namespace

THiscoreSetup THiscoreSetup::ForThisProgram() {
  THiscoreSetup setup;
  if (TApplication* app = TApplication::Get()) {
    setup.programFolder = app->Data().programFolder;
    setup.contentFolder = app->Data().contentFolder;
  }
  setup.platform = GetOnlinePlatform();
  return setup;
}

TTvHiscores::TTvHiscores(bool savingAllowed)
    : TTvHiscores(savingAllowed, THiscoreSetup::ForThisProgram()) {}

TTvHiscores::TTvHiscores(bool savingAllowed, const THiscoreSetup& setup)
    : mSavingAllowed(savingAllowed) {
  mGame.keyText = GetSetting("encryptionkey");
  if (mGame.keyText.empty()) Log("ERROR: No encryption key set before TTvHiscores construction!");
  mCipher.SetKey(mGame.keyText);
  mGame.gameHandle = GetSetting("tvgamehandle");
  if (mGame.gameHandle.empty()) mGame.gameHandle = GetSetting("gamename");
  mVersion = GetSetting("version");
  mGame.language = "en";

  if (setup.platform) {
    mChannel = TServletChannel::Load(*setup.platform, setup.programFolder,
                                     GetSetting("tvgamehandle"), mGame.keyText, ModeNames());
  }
  // An installed program's folder is <prefix>/bin/, which holds no data of the game's.
  const std::string& settingsFolder =
      setup.contentFolder.empty() ? setup.programFolder : setup.contentFolder;
  ReadConfiguration(settingsFolder);
  Load();
  ReadServerAddress(settingsFolder);
  if (!mChannel && !mServerUrl.empty()) {
    mChannel = std::make_unique<THiscoreWebChannel>(mServerUrl, mCipher);
    Log("HiScores: server %s", mServerUrl.c_str());
  } else if (!mChannel) {
    Log("HiScores: no high-score server is set up; online scores are off");
  }
}

TTvHiscores::~TTvHiscores() = default;

void TTvHiscores::ReadConfiguration(const std::string& folder) {
  TXmlNode document;
  document.LoadFile("::" + folder + kConfigFile);
  const TXmlNode* root = document.FindChild("hiscore");
  if (!root) return;
  if (const TXmlNode* language = root->FindChild("language")) {
    mGame.language = language->GetText();
    mLanguageLocked = true;
  }
  if (const TXmlNode* error = root->FindChild("defaulterror")) mDefaultError = error->GetText();
}

void TTvHiscores::ReadServerAddress(const std::string& folder) {
  std::string configured = GetSetting("hiscoreserver");
  if (configured.empty()) {
    std::string text;
    if (ReadWholeFile("::" + folder + kServerFile, text, kReadText))
      configured = text.substr(0, text.find('\n'));
  }
  mServerUrl = ServiceUrl(configured);
}

void TTvHiscores::Load() {
  std::string bytes;
  if (!ReadWholeFile(kSavedFile, bytes, kReadBinary)) return;
  if (DecodeHiscoreFile(bytes, mCipher, mStore) == THiscoreFileState::kDamaged) {
    Log("HiScores: Checksum did not match! Ignoring saved score data.");
    mDamagedBytes = bytes;
  }
}

void TTvHiscores::Save() {
  if (!mSavingAllowed) return;
  std::string error;
  if (!mDamagedBytes.empty()) {
    // The unreadable file is kept once, before the first save replaces it.
    const std::string keptAs = std::string(kSavedFile) + ".damaged";
    if (ReplaceWholeFile(keptAs, mDamagedBytes, &error))
      Log("HiScores: the unreadable score file is kept as %s", keptAs.c_str());
    else
      Log("HiScores: could not keep the unreadable score file: %s", error.c_str());
    mDamagedBytes.clear();
  }
  if (!ReplaceWholeFile(kSavedFile, EncodeHiscoreFile(mStore, mCipher), &error))
    Log("HiScores: saving %s failed, the old file is unchanged: %s", kSavedFile, error.c_str());
}

void TTvHiscores::SetParameter(TParameter kind, const std::string& text) {
  switch (kind) {
    case kLanguage:
      if (!mLanguageLocked) mGame.language = text;
      break;
    case kPlayerName:
      mPlayerName = text;
      mUsername.clear();
      break;
    case kCategory:
      mGame.category = text;
      break;
  }
}

const THiscoreTable* TTvHiscores::CurrentTable() const {
  const auto found = mStore.tables.find(mGame.category);
  return found == mStore.tables.end() ? nullptr : &found->second;
}

bool TTvHiscores::AddLocalScore(int score, bool onePerPlayer, const std::string& gameData,
                                const std::string& serverData) {
  THiscoreRow row;
  row.score = score;
  row.name = mPlayerName;
  row.gameData = gameData;
  row.serverData = serverData;
  row.version = mVersion;
  row.valid = true;
  row.guid = NewGuid();
  const bool added = mStore.tables[mGame.category].Add(std::move(row), onePerPlayer);
  Save();
  return added;
}

void TTvHiscores::BeginRequest(TRequestKind kind) {
  mRequestKind = kind;
  mRequested = true;
  mAnswered = false;
  mAnswerAccepted = false;
  mMedalsRequest = false;
  // A message belongs to the answer it came with; a later failure must not repeat it.
  mUserMessage.clear();
}

void TTvHiscores::RequestTables() {
  BeginRequest(kTables);
  if (mChannel) mChannel->RequestTables(mGame);
}

void TTvHiscores::RequestScores(int tableIndex) {
  BeginRequest(kScores);
  if (!mChannel) return;
  const std::string* tableId = nullptr;
  if (tableIndex >= 0 && tableIndex < GetTableCount()) tableId = &mTables[tableIndex].id;
  // Without a username of its own the request names the player's remembered account, so
  // that the server can mark its row.
  std::string username = mUsername;
  if (username.empty()) GetAccount(&username, nullptr);
  mChannel->RequestScores(mGame, tableId, username.empty() ? nullptr : &username);
}

bool TTvHiscores::SubmitScore(const std::string& accountName, const std::string& password,
                              bool remember) {
  const THiscoreTable* table = CurrentTable();
  const THiscoreRow* row = table ? table->FirstUnsubmitted(mPlayerName) : nullptr;
  if (!row) return false;
  BeginRequest(kSubmit);
  mSubmitCategory = mGame.category;
  mSubmitPlayer = mPlayerName;
  mUsername = accountName;
  if (mChannel) mChannel->SubmitScore(mGame, *row, accountName, password);
  RememberAccount(accountName, password, remember);
  return true;
}

bool TTvHiscores::SubmitMedals(const std::string& medalsXml, const std::string& accountName,
                               const std::string& password, bool remember) {
  if (medalsXml.empty() || accountName.empty()) return false;
  BeginRequest(kSubmit);
  mMedalsRequest = true;
  mSubmitCategory = mGame.category;
  mSubmitPlayer = mPlayerName;
  if (mChannel) mChannel->SubmitMedals(mGame, medalsXml, accountName, password);
  RememberAccount(accountName, password, remember);
  return true;
}

// The file is saved once the server has answered.
void TTvHiscores::RememberAccount(const std::string& accountName, const std::string& password,
                                  bool remember) {
  if (remember)
    mStore.accounts[mPlayerName] = {mPlayerName, accountName, password};
  else
    mStore.accounts.erase(mPlayerName);
}

const std::string& TTvHiscores::FailureMessage() const {
  if (!mUserMessage.empty()) return mUserMessage;
  static const std::string kConnectFailed = kConnectFailedMessage;
  return mDefaultError.empty() ? kConnectFailed : mDefaultError;
}

int TTvHiscores::Fail(char* buffer, size_t length, const std::string& message) const {
  if (buffer && length > 0) {
    const size_t count = std::min(message.size(), length - 1);
    std::memcpy(buffer, message.data(), count);
    buffer[count] = '\0';
  }
  return kPollFailed;
}

int TTvHiscores::Poll(char* buffer, size_t length, bool* accepted) {
  if (accepted) *accepted = false;
  if (!mChannel) return Fail(buffer, length, kOnlineOffMessage);
  if (!mRequested) return Fail(buffer, length, FailureMessage());
  if (!mAnswered) {
    const THiscoreChannel::TStatus status = mChannel->Status();
    if (status == THiscoreChannel::kWorking) return kPollWorking;
    // The answer is taken in once: polling again repeats the result without saving again.
    mAnswered = true;
    mAnswerResult = status == THiscoreChannel::kDone ? TakeAnswer() : kPollFailed;
  }
  if (accepted) *accepted = mAnswerAccepted;
  return mAnswerResult == kPollDone ? kPollDone : Fail(buffer, length, FailureMessage());
}

int TTvHiscores::TakeAnswer() {
  const std::string response = mChannel->Response();
  const THiscoreResponse parsed(response);
  switch (parsed.Problem()) {
    case THiscoreResponse::kNone:
      break;
    case THiscoreResponse::kNotHiscoreXml:
      Log("HiScore XML parsing error!");
      break;
    case THiscoreResponse::kUserMessage:
      mUserMessage = parsed.ProblemText();
      Log("HiScore User Message: %s", mUserMessage.c_str());
      break;
    case THiscoreResponse::kProtocolError:
      Log("HiScore Protocol Error: %s", parsed.ProblemText().c_str());
      break;
  }

  switch (mRequestKind) {
    case kScores:
      return FinishScores(response, parsed);
    case kTables:
      return FinishTables(parsed);
    case kSubmit:
      return FinishSubmit(response, parsed);
  }
  return kPollFailed;
}

int TTvHiscores::FinishScores(const std::string& response, const THiscoreResponse& parsed) {
  if (parsed.Valid()) {
    if (parsed.ReadScores(mDownloaded, mAccountRow)) return kPollDone;
    Log("HiScores parsed incorrectly");
  }
  if (response.find("Missing required parameter: type") != std::string::npos)
    mUserMessage = "Score request failed because game mode is not valid";
  else if (!mTablesReceived)
    mUserMessage = "Score request failed because no category information has been received yet";
  return kPollFailed;
}

int TTvHiscores::FinishTables(const THiscoreResponse& parsed) {
  if (!parsed.Valid()) return kPollFailed;
  if (!parsed.ReadTables(mTables)) {
    Log("HiScore Tables parsed incorrectly");
    return kPollFailed;
  }
  mTablesReceived = true;
  return kPollDone;
}

int TTvHiscores::FinishSubmit(const std::string& response, const THiscoreResponse& parsed) {
  if (!parsed.Valid()) {
    if (response.find("hiscore.error.invalidUsernameOrPassword") != std::string::npos) {
      mStore.accounts.erase(mSubmitPlayer);
      Save();
    }
    return kPollFailed;
  }
  if (!mMedalsRequest && !parsed.Has("medals")) {
    const auto table = mStore.tables.find(mSubmitCategory);
    if (table != mStore.tables.end()) {
      for (THiscoreRow& row : table->second.Rows()) {
        if (row.name == mSubmitPlayer) row.submitted = true;
      }
    }
    mAnswerAccepted = parsed.Has("score");
  }
  Save();
  return kPollDone;
}

int TTvHiscores::GetRowCount(bool local) const {
  if (!local) return static_cast<int>(mDownloaded.size());
  const THiscoreTable* table = CurrentTable();
  return table ? static_cast<int>(table->Rows().size()) : 0;
}

const THiscoreRow* TTvHiscores::GetRow(bool local, int index) const {
  if (index < 0 || index >= GetRowCount(local)) return nullptr;
  return local ? &CurrentTable()->Rows()[index] : &mDownloaded[index];
}

const THiscoreRow* TTvHiscores::GetPlayerEntry(bool global) const {
  const THiscoreTable* table = CurrentTable();
  if (!global) return table ? table->FirstUnsubmitted(mPlayerName) : nullptr;
  if (mAccountRow >= 0 && mAccountRow < static_cast<int>(mDownloaded.size()))
    return &mDownloaded[mAccountRow];
  if (!table) return nullptr;
  std::string account;
  if (!GetAccount(&account, nullptr)) account = mUsername.empty() ? mPlayerName : mUsername;
  for (const THiscoreRow& downloaded : mDownloaded) {
    if (downloaded.name != account || downloaded.guid.empty()) continue;
    for (const THiscoreRow& own : table->Rows()) {
      if (own.guid == downloaded.guid) return &downloaded;
    }
  }
  return nullptr;
}

bool TTvHiscores::GetAccount(std::string* name, std::string* password) const {
  const auto found = mStore.accounts.find(mPlayerName);
  if (found == mStore.accounts.end()) return false;
  if (name) *name = found->second.name;
  if (password) *password = found->second.password;
  return true;
}

bool TTvHiscores::GetTableName(int index, std::string* name) const {
  if (index < 0 || index >= GetTableCount()) return false;
  if (name) *name = mTables[index].name;
  return true;
}
