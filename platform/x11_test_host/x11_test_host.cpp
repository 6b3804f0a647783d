#include "platform/x11_test_host/x11_test_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "online/host_protocol.h"

extern char** environ;

namespace {

// A window that went away between a query and a request is no reason to stop a test.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

uint64_t NowMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

struct TX11TestHost::TState {
  Display* display = nullptr;
  Window window = 0;
  Atom userAtom = 0;
  Atom quitAtom = 0;
  pid_t pid = -1;
  THostTextAssembler assembler;

  Window GameWindow() const {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    const Window first = count > 0 ? children[0] : 0;
    if (children) XFree(children);
    return first;
  }

  bool Send(Window target, Atom type, long wparam) {
    if (!target) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.format = 32;
    event.xclient.message_type = type;
    event.xclient.data.l[0] = wparam;
    event.xclient.data.l[1] = 0;
    event.xclient.data.l[2] = kHostUserOffset;
    const Status sent = XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
    return sent != 0;
  }
};

TX11TestHost::TX11TestHost() : mState(std::make_unique<TState>()) {}

TX11TestHost::~TX11TestHost() {
  if (mState->pid > 0) WaitForExit(0);
  if (mState->display) XCloseDisplay(mState->display);
}

bool TX11TestHost::Open(const std::string& display, int width, int height) {
  mState->display = XOpenDisplay(display.c_str());
  if (!mState->display) {
    mError = "cannot open display " + display;
    return false;
  }
  XSetErrorHandler(IgnoreXError);
  Display* d = mState->display;
  mState->window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height), 0, 0, 0);
  XStoreName(d, mState->window, "test page host");
  XSelectInput(d, mState->window, StructureNotifyMask | SubstructureNotifyMask);
  XMapWindow(d, mState->window);
  mState->userAtom = XInternAtom(d, kHostUserAtomName, False);
  mState->quitAtom = XInternAtom(d, kHostQuitAtomName, False);
  XSync(d, False);
  return true;
}

uint64_t TX11TestHost::HostWindow() const {
  return mState->window;
}

bool TX11TestHost::Resize(int width, int height) {
  Display* d = mState->display;
  if (!d || !mState->window || width <= 0 || height <= 0) return false;
  XResizeWindow(d, mState->window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(d, False);
  return true;
}

bool TX11TestHost::GameWindowSize(int& width, int& height) {
  const Window game = mState->display ? mState->GameWindow() : 0;
  XWindowAttributes attributes{};
  if (!game || !XGetWindowAttributes(mState->display, game, &attributes)) return false;
  width = attributes.width;
  height = attributes.height;
  return true;
}

bool TX11TestHost::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment) {
  char handle[32];
  std::snprintf(handle, sizeof handle, "-wnd=%lx", static_cast<unsigned long>(mState->window));
  std::vector<std::string> words = {program, handle};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  std::vector<std::string> variables;
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('='));
    if (!environment.count(name)) variables.push_back(variable);
  }
  for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!mOutputFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, mOutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  pid_t pid = -1;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    mError = "cannot start " + program;
    return false;
  }
  mState->pid = pid;
  return true;
}

uint64_t TX11TestHost::WaitForGameWindow(unsigned timeoutMs) {
  const uint64_t end = NowMs() + timeoutMs;
  for (;;) {
    if (const ::Window game = mState->GameWindow()) return game;
    if (NowMs() >= end) return 0;
    Pump(20);
  }
}

bool TX11TestHost::SendCommand(uint32_t code) {
  return mState->Send(mState->GameWindow(), mState->userAtom, static_cast<long>(code));
}

bool TX11TestHost::SendQuit() {
  return mState->Send(mState->GameWindow(), mState->quitAtom, 0);
}

long TX11TestHost::PixelAt(int x, int y) {
  Display* d = mState->display;
  if (!d) return -1;
  XImage* image = XGetImage(d, mState->window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return -1;
  const long pixel = static_cast<long>(XGetPixel(image, 0, 0) & 0xFFFFFFul);
  XDestroyImage(image);
  return pixel;
}

void TX11TestHost::Pump(unsigned ms) {
  Display* d = mState->display;
  if (!d) return;
  const uint64_t end = NowMs() + ms;
  for (;;) {
    while (XPending(d) > 0) {
      XEvent event;
      XNextEvent(d, &event);
      if (event.type != ClientMessage || event.xclient.window != mState->window ||
          event.xclient.message_type != mState->userAtom || event.xclient.format != 32) {
        continue;
      }
      if (event.xclient.data.l[2] != kHostUserOffset) {
        ++mOtherMessages;
        continue;
      }
      std::string text;
      if (mState->assembler.Add(static_cast<uint64_t>(event.xclient.data.l[0]),
                                static_cast<uint64_t>(event.xclient.data.l[1]), &text)) {
        mTexts.push_back(text);
      }
    }
    const uint64_t now = NowMs();
    if (now >= end) return;
    pollfd poller{ConnectionNumber(d), POLLIN, 0};
    poll(&poller, 1, static_cast<int>(std::min<uint64_t>(end - now, 50)));
  }
}

int TX11TestHost::WaitForText(const std::string& prefix, unsigned timeoutMs, size_t from) {
  const uint64_t end = NowMs() + timeoutMs;
  for (;;) {
    for (size_t i = from; i < mTexts.size(); ++i) {
      if (mTexts[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    if (NowMs() >= end) return -1;
    Pump(20);
  }
}

int TX11TestHost::WaitForExit(unsigned timeoutMs) {
  if (mState->pid <= 0) return -1;
  const uint64_t end = NowMs() + timeoutMs;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(mState->pid, &status, WNOHANG);
    if (done == mState->pid) break;
    if (NowMs() >= end) {
      kill(mState->pid, SIGKILL);
      waitpid(mState->pid, &status, 0);
      mState->pid = -1;
      return -1;
    }
    Pump(20);
  }
  mState->pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
