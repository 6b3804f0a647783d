#include "online/http_request.h"

#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <system_error>
#include <thread>

#include "files/file.h"

namespace {

// The request threads of the process. Each is joined once it has said that it is done, so
// that no request thread is still winding down (its stack, its thread-local data) when the
// program exits, and finished threads do not pile up while the program runs.
struct TRequestThread {
  std::thread thread;
  bool done = false;
};

struct TLiveThreads {
  std::mutex mutex;
  std::condition_variable ended;
  std::list<TRequestThread> threads;

  // Joins the threads that are done; the caller holds the lock. Their last step is to take
  // the lock and mark themselves done, so each join waits only for the thread's exit.
  void JoinDone() {
    for (auto it = threads.begin(); it != threads.end();) {
      if (!it->done) {
        ++it;
        continue;
      }
      it->thread.join();
      it = threads.erase(it);
    }
  }
  bool AllDone() const {
    for (const TRequestThread& entry : threads) {
      if (!entry.done) return false;
    }
    return true;
  }
};

TLiveThreads& LiveThreads() {
  // Never destroyed: a thread still hanging when the program gives up waiting keeps its
  // entry, and destroying a joinable std::thread would end the program.
  static TLiveThreads* live = new TLiveThreads;
  return *live;
}

}  // namespace

THttpRequest::THttpRequest(THttpTransfer transfer, std::unique_ptr<TFile> output, size_t maxBytes)
    : mTransfer(std::move(transfer)), mOutput(std::move(output)), mMaxBytes(maxBytes) {}

THttpRequest::~THttpRequest() = default;

std::shared_ptr<THttpRequest> THttpRequest::Failed(const std::string& url, int status,
                                                   std::string failure) {
  std::shared_ptr<THttpRequest> request(new THttpRequest);
  request->mTransfer.url = url;
  request->mFailure = std::move(failure);
  request->mResult.error = request->mFailure;
  request->mStatus.store(status, std::memory_order_release);
  return request;
}

void THttpRequest::Start(const std::shared_ptr<THttpRequest>& request,
                         std::shared_ptr<THttpTransport> transport) {
  TLiveThreads& live = LiveThreads();
  std::lock_guard<std::mutex> lock(live.mutex);
  live.JoinDone();
  TRequestThread& entry = live.threads.emplace_back();
  // The thread's last step waits for this lock, so it cannot mark the entry before the
  // entry holds it.
  try {
    entry.thread =
        std::thread([&entry, request = request, transport = std::move(transport)]() mutable {
          request->Run(*transport);
          // Let go of the request and the session before the thread counts as done, so that
          // nothing of it runs once the program has stopped waiting.
          request.reset();
          transport.reset();
          TLiveThreads& threads = LiveThreads();
          std::lock_guard<std::mutex> done(threads.mutex);
          entry.done = true;
          threads.ended.notify_all();
        });
  } catch (const std::system_error& error) {
    live.threads.pop_back();
    request->mFailure = std::string("no thread for the request: ") + error.what();
    request->mResult.error = request->mFailure;
    request->Finish(kHttpFailed);
  }
}

bool THttpRequest::Receive(const char* data, size_t size) {
  if (Cancelled()) return false;
  if (size > mMaxBytes - mByteCount.load(std::memory_order_relaxed)) {
    mTooLarge = true;
    return false;
  }
  if (mOutput) {
    if (mOutput->Write(data, size) != size) {
      mWriteFailed = true;
      return false;
    }
  } else {
    mBody.append(data, size);
  }
  mByteCount.fetch_add(size, std::memory_order_relaxed);
  return true;
}

void THttpRequest::Run(THttpTransport& transport) {
  mResult = transport.Perform(mTransfer, *this);
  if (mResult.ok && !mTooLarge && !mWriteFailed) {
    Finish(kHttpComplete);
    return;
  }
  if (mTooLarge)
    mFailure = "the response is larger than " + std::to_string(mMaxBytes) + " bytes";
  else if (mWriteFailed)
    mFailure = "writing the response to its file failed";
  else
    mFailure = mResult.error;
  Finish(kHttpFailed);
}

void THttpRequest::Finish(int status) {
  if (mOutput) mOutput->Close();
  mStatus.store(status, std::memory_order_release);
}

bool WaitForHttpRequests(unsigned timeoutMs) {
  TLiveThreads& live = LiveThreads();
  std::unique_lock<std::mutex> lock(live.mutex);
  const bool allDone = live.ended.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                           [&] { return live.AllDone(); });
  live.JoinDone();
  return allDone;
}

size_t LiveHttpRequestThreads() {
  TLiveThreads& live = LiveThreads();
  std::lock_guard<std::mutex> lock(live.mutex);
  return live.threads.size();
}
