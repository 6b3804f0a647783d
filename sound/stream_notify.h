// TStreamNotify: told, on the main thread, that a stream playing one of its sources ended.
#pragma once

class TSoundStream;

class TStreamNotify {
 public:
  virtual ~TStreamNotify() = default;
  virtual void OnStreamEnded(TSoundStream& stream) = 0;
};
