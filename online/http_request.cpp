#include "online/http_request.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "files/file.h"

namespace {

// The request threads still running, so that the program can let them end before exit.
struct TLiveThreads {
  std::mutex mutex;
  std::condition_variable ended;
  int count = 0;
};
TLiveThreads& LiveThreads() {
  static TLiveThreads* live = new TLiveThreads;  // never destroyed: threads may outlive main
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
  {
    std::lock_guard<std::mutex> lock(LiveThreads().mutex);
    ++LiveThreads().count;
  }
  std::thread([request = request, transport = std::move(transport)]() mutable {
    request->Run(*transport);
    // Let go of the request and the session before the thread counts as ended, so that
    // nothing of it runs once the program has stopped waiting.
    request.reset();
    transport.reset();
    TLiveThreads& live = LiveThreads();
    std::lock_guard<std::mutex> lock(live.mutex);
    --live.count;
    live.ended.notify_all();
  }).detach();
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
  return live.ended.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return live.count == 0; });
}
