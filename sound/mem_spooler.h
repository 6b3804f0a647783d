// TMemSpooler: the source of every stream: reads a TSoundData, the decoded PCM or its
// decoder, from a byte position of its own. It holds the data weakly, so a stream of a sound
// that was released plays out what its buffer holds and then ends.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/stream_spooler.h"

class TSoundData;

class TMemSpooler : public TStreamSpooler {
 public:
  explicit TMemSpooler(std::weak_ptr<TSoundData> data);

  bool Read(uint8_t* destination, uint32_t length, uint32_t& got, bool loop) override;
  void SetPosition(double seconds) override;
  double Duration() const override;
  void Close() override { mData.reset(); }
  void Rewind() override { mPosition = 0; }

 private:
  // One pass from the position towards the end; answers whether data is left after it.
  bool ReadOnce(TSoundData& data, uint8_t* destination, uint32_t length, uint32_t& got);

  std::weak_ptr<TSoundData> mData;
  uint64_t mPosition = 0;  // bytes
};
