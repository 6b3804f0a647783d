// TProgramRun: a test that runs the game, in a data folder of its own, either as the real
// program (headless, as a child process) or through the program's own start-up and GameMain
// in this process, with a body run inside the event loop (for the steps that have no input
// yet, such as winning a level). In-process runs act as the executable in the build's bin
// folder, so the preferences store's installation section is the real program's. A driven
// in-process run draws offscreen and follows an input script like the headless program, and
// lets the test look at the window tree while it runs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

class TApplication;
class TGameApp;

class TProgramRun : public ::testing::Test {
 protected:
  explicit TProgramRun(std::string folderPrefix) : mPrefix(std::move(folderPrefix)) {}
  void SetUp() override;
  void TearDown() override;

  // The program's start-up and GameMain in this process, with body run at the first idle
  // pass of the loop; the run then quits through the normal path. Answers the exit status.
  static int RunInProcess(std::function<void(TApplication&, TGameApp&)> body,
                          const std::string& commandLine = "");
  // The program's start-up and GameMain in this process, drawing offscreen; watch runs at
  // every update pass of the loop, to look at the windows as the run goes and to drive it
  // (TApplication::SetInputScript; the "frame" marks of those scripts write frames to
  // frames). The exit time ends a run that the watch does not. arguments are added to the
  // command line (settings such as options=...).
  static int RunDriven(const std::string& frames, int exitAfterMs,
                       std::function<void(TApplication&, TGameApp&)> watch,
                       const std::string& arguments = "");
  // The real program, until it quits by itself after ms (or its input script ends it).
  // arguments are passed through the shell as they are.
  static int RunProgram(int ms, const std::string& arguments = "");
  static std::string ReadFile(const std::filesystem::path& path);
  std::string Log() const { return ReadFile(userFolder / "logfile.txt"); }

  std::filesystem::path folder;
  std::filesystem::path userFolder;
  std::filesystem::path previousDirectory;

 private:
  std::string mPrefix;
};
