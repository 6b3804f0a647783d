#include "frame/input_script.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "frame/event.h"
#include "frame/virtual_keys.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A whole-token integer (decimal, or 0x hexadecimal); false for anything else.
bool ToInt(const std::string& token, long& value) {
  if (token.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(token.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || parsed < -1000000000L || parsed > 1000000000L) return false;
  value = parsed;
  return true;
}

int ButtonFromName(const std::string& name) {
  if (name == "left") return kButtonLeft;
  if (name == "right") return kButtonRight;
  if (name == "middle") return kButtonMiddle;
  if (name == "x1") return kButtonX1;
  if (name == "x2") return kButtonX2;
  return 0;
}

class TLineParser {
 public:
  TLineParser(const std::vector<std::string>& tokens, int line, std::vector<TInputStep>& out)
      : mTokens(tokens), mLine(line), mOut(out) {}

  // Returns "" on success, else what is wrong with the line.
  std::string Parse() {
    long time = 0;
    if (!ToInt(mTokens[0], time) || time < 0) return "time must be a number of milliseconds";
    mTime = static_cast<uint32_t>(time);
    if (mTokens.size() < 2) return "missing event after the time";
    const std::string verb = Lower(mTokens[1]);
    mNext = 2;
    if (verb == "move") return Pointer(kMsgMouseMove, 0, false);
    if (verb == "down") return Button(true, false);
    if (verb == "up") return Button(false, true);
    if (verb == "click") return Button(true, true);
    if (verb == "wheel") return Wheel();
    if (verb == "hover") return Pointer(kMsgMouseHover, 0, false);
    if (verb == "keydown") return Key(true, false);
    if (verb == "keyup") return Key(false, true);
    if (verb == "key") return Key(true, true);
    if (verb == "char") return Char();
    if (verb == "text") return Text();
    if (verb == "close") return Simple(kMsgClose, 0);
    if (verb == "paint") return Simple(kMsgPaint, 0);
    if (verb == "leave") return Simple(kMsgMouseLeave, 0);
    if (verb == "minimize") return Simple(kMsgSize, 1);
    if (verb == "restore") return Simple(kMsgSize, 0);
    if (verb == "activate") return Simple(kMsgMouseActivate, 0);
    if (verb == "focus") {
      long on = 0;
      if (mTokens.size() != 3 || !ToInt(mTokens[2], on) || (on != 0 && on != 1)) {
        return "focus takes 0 or 1";
      }
      return Simple(kMsgActivateApp, on);
    }
    if (verb == "host") {
      long code = 0;
      if (mTokens.size() != 3 || !ToInt(mTokens[2], code)) return "host takes a command number";
      TPlatformMessage message;
      message.type = kMsgUser;  // as a page host posts it to the game window
      message.wparam = code;
      Add(message);
      return {};
    }
    if (verb == "quit") return Plain(TInputStep::kQuit);
    if (verb == "frame") return Plain(TInputStep::kFrame);
    return "unknown event '" + mTokens[1] + "'";
  }

 private:
  // Trailing words: modifiers, and for buttons a button name.
  std::string Modifiers(int& keyState, bool& alt, bool& extended, int* button) {
    for (; mNext < mTokens.size(); ++mNext) {
      const std::string word = Lower(mTokens[mNext]);
      if (word == "shift") {
        keyState |= kModShift;
      } else if (word == "ctrl") {
        keyState |= kModCtrl;
      } else if (word == "alt") {
        alt = true;
      } else if (word == "ext") {
        extended = true;
      } else if (button && ButtonFromName(word)) {
        *button = ButtonFromName(word);
      } else {
        return "unexpected '" + mTokens[mNext] + "'";
      }
    }
    return {};
  }

  std::string Position(TPlatformMessage& message) {
    long x = 0, y = 0;
    if (mNext + 1 >= mTokens.size() || !ToInt(mTokens[mNext], x) || !ToInt(mTokens[mNext + 1], y)) {
      return "expected a position X Y";
    }
    if (x < -32768 || x > 32767 || y < -32768 || y > 32767) return "position out of range";
    message.x = static_cast<int>(x);
    message.y = static_cast<int>(y);
    mNext += 2;
    return {};
  }

  std::string Pointer(int type, int, bool) {
    TPlatformMessage message;
    message.type = type;
    if (std::string error = Position(message); !error.empty()) return error;
    if (mNext != mTokens.size()) return "unexpected '" + mTokens[mNext] + "'";
    Add(message);
    return {};
  }

  std::string Button(bool down, bool up) {
    TPlatformMessage message;
    if (std::string error = Position(message); !error.empty()) return error;
    int button = kButtonLeft;
    bool alt = false, extended = false;
    if (std::string error = Modifiers(message.keyState, alt, extended, &button); !error.empty()) {
      return error;
    }
    message.button = button;
    if (down) {
      message.type = kMsgButtonDown;
      Add(message);
    }
    if (up) {
      message.type = kMsgButtonUp;
      Add(message);
    }
    return {};
  }

  std::string Wheel() {
    TPlatformMessage message;
    message.type = kMsgWheel;
    if (std::string error = Position(message); !error.empty()) return error;
    long delta = 0;
    if (mNext + 1 != mTokens.size() || !ToInt(mTokens[mNext], delta) || delta == 0) {
      return "wheel takes X Y and a non-zero step";
    }
    message.wheel = delta > 0 ? 1 : -1;
    Add(message);
    return {};
  }

  std::string Key(bool down, bool up) {
    if (mTokens.size() < 3) return "expected a key name";
    const int key = VirtualKeyFromName(mTokens[2].c_str());
    if (key <= 0 || key > 255) return "unknown key '" + mTokens[2] + "'";
    mNext = 3;
    TPlatformMessage message;
    message.key = key;
    if (std::string error = Modifiers(message.keyState, message.alt, message.extended, nullptr);
        !error.empty()) {
      return error;
    }
    if (down) {
      message.type = message.alt ? kMsgSysKeyDown : kMsgKeyDown;
      Add(message);
    }
    if (up) {
      TPlatformMessage release;
      release.type = kMsgKeyUp;
      release.key = key;
      Add(release);
    }
    return {};
  }

  // A single character stands for itself; a longer token is a code (decimal or 0x).
  std::string Char() {
    if (mTokens.size() != 3) return "char takes one character or code";
    long code = 0;
    const std::string& token = mTokens[2];
    if (token.size() == 1) {
      code = static_cast<unsigned char>(token[0]);
    } else if (Lower(token) == "space") {
      code = ' ';
    } else if (!ToInt(token, code) || code <= 0 || code > 0xFFFF) {
      return "bad character code '" + token + "'";
    }
    TPlatformMessage message;
    message.type = kMsgChar;
    message.key = static_cast<int>(code);
    Add(message);
    return {};
  }

  // "text" types the rest of the line (single blanks between words).
  std::string Text() {
    if (mTokens.size() < 3) return "text needs something to type";
    for (size_t i = 2; i < mTokens.size(); ++i) {
      if (i > 2) AddChar(' ');
      for (char c : mTokens[i]) AddChar(static_cast<unsigned char>(c));
    }
    return {};
  }

  void AddChar(int code) {
    TPlatformMessage message;
    message.type = kMsgChar;
    message.key = code;
    Add(message);
  }

  std::string Simple(int type, long wparam) {
    if (type != kMsgActivateApp && mTokens.size() != 2) return "unexpected arguments";
    TPlatformMessage message;
    message.type = type;
    message.wparam = wparam;
    Add(message);
    return {};
  }

  std::string Plain(TInputStep::Action action) {
    if (mTokens.size() != 2) return "unexpected arguments";
    TInputStep step;
    step.timeMs = mTime;
    step.action = action;
    step.line = mLine;
    mOut.push_back(step);
    return {};
  }

  void Add(const TPlatformMessage& message) {
    TInputStep step;
    step.timeMs = mTime;
    step.message = message;
    step.line = mLine;
    mOut.push_back(step);
  }

  const std::vector<std::string>& mTokens;
  int mLine;
  std::vector<TInputStep>& mOut;
  uint32_t mTime = 0;
  size_t mNext = 2;
};

}  // namespace

TInputScript TInputScript::Parse(const std::string& text, std::vector<std::string>* errors) {
  TInputScript script;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::vector<std::string> tokens;
    for (std::string word; words >> word;) tokens.push_back(word);
    if (tokens.empty()) continue;
    std::vector<TInputStep> steps;
    const std::string error = TLineParser(tokens, number, steps).Parse();
    if (!error.empty()) {
      if (errors) errors->push_back("line " + std::to_string(number) + ": " + error);
      continue;
    }
    script.mSteps.insert(script.mSteps.end(), steps.begin(), steps.end());
  }
  std::stable_sort(script.mSteps.begin(), script.mSteps.end(),
                   [](const TInputStep& a, const TInputStep& b) { return a.timeMs < b.timeMs; });
  script.MovePointerToPresses();
  return script;
}

// A real button or wheel event happens where the pointer is, so the windows there have seen
// it arrive (a button lights up, and one that kept the pointer lets it go). A script's press
// elsewhere is given the move a mouse would have made first.
void TInputScript::MovePointerToPresses() {
  std::vector<TInputStep> steps;
  steps.reserve(mSteps.size());
  bool known = false;
  int x = 0, y = 0;
  for (const TInputStep& step : mSteps) {
    const TPlatformMessage& message = step.message;
    const bool press = step.action == TInputStep::kMessage &&
                       (message.type == kMsgButtonDown || message.type == kMsgButtonUp ||
                        message.type == kMsgWheel);
    if (press && (!known || message.x != x || message.y != y)) {
      TInputStep move = step;
      move.message = TPlatformMessage{};
      move.message.type = kMsgMouseMove;
      move.message.x = message.x;
      move.message.y = message.y;
      steps.push_back(move);
    }
    if (press || (step.action == TInputStep::kMessage && message.type == kMsgMouseMove)) {
      known = true;
      x = message.x;
      y = message.y;
    } else if (step.action == TInputStep::kMessage && message.type == kMsgMouseLeave) {
      known = false;  // back over the window, the pointer arrives with a move
    }
    steps.push_back(step);
  }
  mSteps = std::move(steps);
}

bool TInputScript::Load(const std::string& path, TInputScript& script,
                        std::vector<std::string>* errors) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (errors) errors->push_back("cannot read input script " + path);
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  script = Parse(text.str(), errors);
  return true;
}

bool TInputScript::NextDue(uint32_t now, TInputStep& step) {
  if (mNext >= mSteps.size() || mSteps[mNext].timeMs > now) return false;
  step = mSteps[mNext++];
  return true;
}
