// The conversation between the game and a page host that embeds it (the launcher, a portal's
// container, or a test host). Both sides include this header; it holds everything they must
// agree on and depends on nothing but the standard library, so a host program can use it
// without linking any of the game's libraries.
//
// Transport (X11):
// - The host creates a window and starts the game with "-wnd=<window id in hexadecimal>".
//   The game reparents its own window into it; the game's window is then the host window's
//   child (XQueryTree), and that child is where host commands go.
// - Every message is an X11 ClientMessage of format 32 sent with XSendEvent (event mask 0)
//   to the receiving window. message_type is the atom kHostUserAtomName for a WM_USER
//   message or kHostQuitAtomName for the quit message. data.l[0] is wParam, data.l[1] is
//   lParam (each a 32-bit value; Xlib may sign-extend it into a long, so receivers mask it
//   with 0xffffffff), data.l[2] is the offset above WM_USER: 0 for the messages below, 2 for
//   a message the game forwards unchanged to its parent.
// - Messages are posted: neither side waits for the other.
//
// Host commands (host -> game window): WM_USER with wParam = a THostCommand code and
// lParam = 0. Unknown codes are ignored. The quit message ends the game.
//
// Host texts (game -> host window): a text such as
//   GameReady("<data><mode>mahjongcuriomar_web</mode></data>")
// is a call of the page script function of that name. Its bytes, including the terminating
// zero byte, travel in groups of 8 (kHostTextChunkBytes): one WM_USER message per group,
// wParam = bytes 0..3 and lParam = bytes 4..7 of the group, each read as a little-endian
// 32-bit number. The last message ends with the zero byte; bytes after it mean nothing. A
// text of n characters takes (n + 8) / 8 messages. The host joins the bytes up to the zero
// byte (THostTextAssembler) and runs the text as page script.
//
// Container mode ("-pq="): the game sends no host texts; instead it asks its parent window
// to change its presentation with WM_USER, wParam 1 (full screen) or 0 (windowed).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kHostUserAtomName[] = "MAHJONGCURIOMAR_WM_USER";
inline constexpr char kHostQuitAtomName[] = "MAHJONGCURIOMAR_WM_QUIT";
// data.l[2] of a ClientMessage: WM_USER itself, or WM_USER + 2 (forwarded to the parent).
inline constexpr long kHostUserOffset = 0;
inline constexpr long kHostForwardOffset = 2;

// The page's commands, numbered as the page host sends them.
enum THostCommand : uint32_t {
  kHostGameMenu = 1,       // back to the main menu
  kHostMuteOn = 2,         // silence
  kHostMuteOff = 3,        // sound again
  kHostPauseOn = 4,        // pause the game for the page
  kHostPauseOff = 5,       // continue after PauseOn
  kHostGameContinue = 6,   // continue after a GameBreak
  kHostGameStart = 7,      // a game starts for the page (a new one when one is under way)
  kHostRestartGame = 8,    // a new game
  kHostSessionStart = 9,   // continue after SessionReady
  kHostCustomReturn = 10,  // continue after a portal's own dialog
};
inline constexpr uint32_t kHostFirstCommand = kHostGameMenu;
inline constexpr uint32_t kHostLastCommand = kHostCustomReturn;

// The page script function of each command, as a host names them ("" for unknown codes).
inline std::string_view HostCommandName(uint32_t code) {
  constexpr std::array<std::string_view, 11> kNames = {"",
                                                       "GameMenu",
                                                       "MuteOn",
                                                       "MuteOff",
                                                       "PauseOn",
                                                       "PauseOff",
                                                       "GameContinue",
                                                       "GameStart",
                                                       "RestartGame",
                                                       "SessionStart",
                                                       "CustomReturn"};
  return code < kNames.size() ? kNames[code] : std::string_view();
}

inline constexpr size_t kHostTextChunkBytes = 8;
// The host's buffer for one text; bytes beyond it are dropped until the zero byte comes.
inline constexpr size_t kHostTextBufferBytes = 1024;

struct THostTextChunk {
  uint32_t wparam = 0;
  uint32_t lparam = 0;
};

// The messages that carry one host text, terminator included. A zero byte inside the text
// ends it there, as it would for the receiver.
inline std::vector<THostTextChunk> SplitHostText(std::string_view text) {
  const size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  std::vector<THostTextChunk> chunks;
  chunks.reserve(text.size() / kHostTextChunkBytes + 1);
  for (size_t start = 0; start <= text.size(); start += kHostTextChunkBytes) {
    uint8_t group[kHostTextChunkBytes] = {};
    for (size_t i = 0; i < kHostTextChunkBytes && start + i < text.size(); ++i) {
      group[i] = static_cast<uint8_t>(text[start + i]);
    }
    THostTextChunk chunk;
    for (int i = 3; i >= 0; --i) {
      chunk.wparam = (chunk.wparam << 8) | group[i];
      chunk.lparam = (chunk.lparam << 8) | group[4 + i];
    }
    chunks.push_back(chunk);
  }
  return chunks;
}

// The host's side: joins the bytes of WM_USER messages into texts. Each message's wParam
// bytes are taken lowest first up to and including the first zero byte; lParam follows only
// when wParam held no zero. A zero byte completes the text. A text longer than the buffer
// keeps its first kHostTextBufferBytes - 1 bytes.
class THostTextAssembler {
 public:
  // Adds one message; true with the text in *complete when it finished one.
  bool Add(uint64_t wparam, uint64_t lparam, std::string* complete) {
    if (AddWord(static_cast<uint32_t>(wparam), complete)) return true;
    return AddWord(static_cast<uint32_t>(lparam), complete);
  }
  size_t Pending() const { return mCount; }

 private:
  bool AddWord(uint32_t word, std::string* complete) {
    for (int i = 0; i < 4; ++i) {
      const char byte = static_cast<char>((word >> (8 * i)) & 0xffu);
      if (byte == '\0') {
        if (complete) complete->assign(mBuffer.data(), mCount);
        mCount = 0;
        return true;
      }
      if (mCount < mBuffer.size() - 1) mBuffer[mCount++] = byte;
    }
    return false;
  }

  std::array<char, kHostTextBufferBytes> mBuffer{};
  size_t mCount = 0;
};
