// THttpRequest: one transfer of the HTTP client, run on a thread of its own. The owner and
// the thread share it: the thread writes the body, the byte count and finally the status;
// the owner reads the status and, once it is no longer "in progress", the body and the
// failure text. The owner abandons a request with Release and drops its reference; the
// thread then stops the transfer at the next chance and the last reference frees it.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

#include "online/http_transport.h"

class TFile;

enum THttpStatus : int {
  kHttpInProgress = 0,
  kHttpComplete = 1,
  kHttpFailed = 2,      // connecting, sending or reading failed, or the body was too large
  kHttpFileFailed = 3,  // the output file could not be opened
};

class THttpRequest final : public THttpReceiver {
 public:
  // output: the open file the body goes to, or null to collect it in memory. A body larger
  // than maxBytes fails the request.
  THttpRequest(THttpTransfer transfer, std::unique_ptr<TFile> output, size_t maxBytes);
  ~THttpRequest() override;

  // A request to url that failed before it could start; it never gets a thread.
  static std::shared_ptr<THttpRequest> Failed(const std::string& url, int status,
                                              std::string failure);

  // Runs the transfer on a new thread, which holds the request until it has finished.
  static void Start(const std::shared_ptr<THttpRequest>& request,
                    std::shared_ptr<THttpTransport> transport);

  int Status() const { return mStatus.load(std::memory_order_acquire); }
  // Bytes of body received so far.
  size_t ByteCount() const { return mByteCount.load(std::memory_order_relaxed); }
  // Valid once Status() is not kHttpInProgress (the body so far when it failed).
  const std::string& Body() const { return mBody; }
  bool InMemory() const { return mOutput == nullptr; }
  // Why it failed, for the log; empty when it did not.
  const std::string& Failure() const { return mFailure; }
  // What the transport reported; valid once Status() is not kHttpInProgress.
  const THttpResult& Result() const { return mResult; }
  const THttpTransfer& Transfer() const { return mTransfer; }

  // The owner gives the request up; it must not read the request afterwards.
  void Release() { mReleased.store(true, std::memory_order_release); }

  bool Receive(const char* data, size_t size) override;
  bool Cancelled() const override { return mReleased.load(std::memory_order_acquire); }

 private:
  THttpRequest() = default;
  void Run(THttpTransport& transport);
  void Finish(int status);

  THttpTransfer mTransfer;
  std::unique_ptr<TFile> mOutput;
  size_t mMaxBytes = 0;
  std::string mBody;
  std::string mFailure;
  THttpResult mResult;
  bool mTooLarge = false;
  bool mWriteFailed = false;
  std::atomic<size_t> mByteCount{0};
  std::atomic<int> mStatus{kHttpInProgress};
  std::atomic<bool> mReleased{false};
};

// Waits until every request thread of the process has ended, at most timeoutMs, and joins
// the ended ones; true when none is left. The program calls it before it exits, after
// abandoning its requests (an abandoned transfer stops at its next progress report).
bool WaitForHttpRequests(unsigned timeoutMs);
// Request threads not joined yet (running, or ended since the last start or wait).
size_t LiveHttpRequestThreads();
