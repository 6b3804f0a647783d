// A small text script of timed input events that drives the program like a player would,
// for tests and tools ("--input=FILE"). The format is documented in README.md. Each line:
//   <time-ms> <verb> <arguments...>      # comment
// Bad lines are reported with their line number and skipped; the rest still runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/platform_message.h"

struct TInputStep {
  uint32_t timeMs = 0;
  enum Action { kMessage, kQuit, kFrame } action = kMessage;
  TPlatformMessage message;
  int line = 0;
};

class TInputScript {
 public:
  // Parses a whole script; errors get one text per bad line ("line 3: ...").
  static TInputScript Parse(const std::string& text, std::vector<std::string>* errors);
  // Reads and parses a file; false (with an error) when it cannot be read.
  static bool Load(const std::string& path, TInputScript& script, std::vector<std::string>* errors);

  const std::vector<TInputStep>& Steps() const { return mSteps; }
  bool Done() const { return mNext >= mSteps.size(); }
  // Hands out the steps that are due at application time now, in order.
  bool NextDue(uint32_t now, TInputStep& step);

 private:
  void MovePointerToPresses();

  std::vector<TInputStep> mSteps;  // sorted by time, stable
  size_t mNext = 0;
};
