#include "platform/launcher/posix_launch_platform.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/launcher/cabinet_extractor.h"
#include "webcontrol/game_command_line.h"
#include "webcontrol/launcher_log.h"

extern char** environ;

namespace {

// The folder name's fixed part; mkdtemp makes the rest unique.
constexpr char kFolderPrefix[] = "tv_MahjongCuriomar.1.0.0.18.";
constexpr char kCabinetName[] = "__game.cab";

bool IsFolder(const char* path) {
  struct stat info {};
  return path && *path && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// Writes all of bytes to a new file (never through an existing name or link).
bool WriteNewFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  return close(fd) == 0 && written == bytes.size();
}

}  // namespace

TPosixLaunchPlatform::TPosixLaunchPlatform(std::string_view payload, uint64_t window,
                                           std::vector<std::string> environment)
    : mPayload(payload), mWindow(window), mEnvironment(std::move(environment)) {}

std::string TPosixLaunchPlatform::FolderBase() {
  for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (IsFolder(value)) return value;
  }
  return "/tmp";
}

std::string TPosixLaunchPlatform::HostProgram() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.string();
}

std::string TPosixLaunchPlatform::MakeFolder() {
  std::string pattern = FolderBase() + "/" + kFolderPrefix + "XXXXXX";
  if (!mkdtemp(pattern.data())) {
    LauncherLog("cannot make a folder like %s", pattern.c_str());
    return {};
  }
  return pattern;
}

bool TPosixLaunchPlatform::Unpack(const std::string& folder) {
  if (mPayload.empty()) {
    LauncherLog("the control carries no game");
    return false;
  }
  const std::string cabinet = folder + "/" + kCabinetName;
  if (!WriteNewFile(cabinet, mPayload)) {
    LauncherLog("cannot write %s", cabinet.c_str());
    return false;
  }
  const bool extracted = ExtractCabinet(cabinet, folder);
  unlink(cabinet.c_str());
  const std::string program = folder + "/" + kGameProgramName;
  if (extracted && chmod(program.c_str(), 0700) != 0) {
    LauncherLog("the cabinet holds no %s", kGameProgramName);
    return false;
  }
  return extracted;
}

long TPosixLaunchPlatform::StartGame(const std::string& folder,
                                     const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {kGameProgramName};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  std::vector<std::string> variables;
  for (char** entry = environ; entry && *entry; ++entry) variables.emplace_back(*entry);
  variables.insert(variables.end(), mEnvironment.begin(), mEnvironment.end());
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  // The game runs in its folder; the host's own working folder is left alone.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  const std::string program = folder + "/" + kGameProgramName;
  pid_t pid = -1;
  const int result =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    LauncherLog("cannot start %s: error %d", program.c_str(), result);
    return -1;
  }
  return pid;
}

void TPosixLaunchPlatform::WaitForGame(long process) {
  int status = 0;
  while (waitpid(static_cast<pid_t>(process), &status, 0) < 0 && errno == EINTR) {
  }
}

bool TPosixLaunchPlatform::RemoveFolder(const std::string& folder) {
  // A file still in use elsewhere may keep the removal failing for a moment: try for 2 s.
  for (int attempt = 0; attempt <= 100; ++attempt) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    if (!error && !std::filesystem::exists(std::filesystem::symlink_status(folder))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}
