#include "sound/mem_spooler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sound/sound_data.h"
#include "sound/vorbis_decoder.h"

TMemSpooler::TMemSpooler(std::weak_ptr<TSoundData> data) : mData(std::move(data)) {}

bool TMemSpooler::Read(uint8_t* destination, uint32_t length, uint32_t& got, bool loop) {
  std::memset(destination, 0, length);
  got = 0;
  std::shared_ptr<TSoundData> data = mData.lock();
  if (!data) return false;
  bool more = ReadOnce(*data, destination, length, got);
  if (!loop) return more;
  // A looping sound starts again as often as it takes to fill the destination, so a loop
  // shorter than one read leaves no gap.
  while (!more) {
    Rewind();
    if (got == length) return true;
    uint32_t again = 0;
    more = ReadOnce(*data, destination + got, length - got, again);
    // Nothing even from its beginning: an empty or broken sound, which cannot loop.
    if (again == 0) return false;
    got += again;
  }
  return true;
}

bool TMemSpooler::ReadOnce(TSoundData& data, uint8_t* destination, uint32_t length, uint32_t& got) {
  if (data.IsDecoded()) {
    const uint64_t size = data.PcmBytes();
    const uint64_t take = mPosition < size ? std::min<uint64_t>(length, size - mPosition) : 0;
    if (take) std::memcpy(destination, data.Pcm().data() + mPosition, take);
    mPosition += take;
    got = static_cast<uint32_t>(take);
    return mPosition < size;
  }
  TVorbisDecoder* decoder = data.Decoder();
  if (!decoder) return false;
  const uint64_t frameBytes = static_cast<uint64_t>(data.Format().BlockAlign());
  // Every instance of the sound shares the decoder; seek only when another one moved it.
  const int64_t frame = static_cast<int64_t>(mPosition / frameBytes);
  if (decoder->Tell() != frame && !decoder->Seek(frame)) return false;
  const size_t done = decoder->Decode(destination, length);
  mPosition += done;
  got = static_cast<uint32_t>(done);
  return !decoder->Failed() && done == length - length % frameBytes && done > 0;
}

void TMemSpooler::SetPosition(double seconds) {
  std::shared_ptr<TSoundData> data = mData.lock();
  if (!data || !(seconds > 0)) {
    mPosition = 0;
    return;
  }
  const TSoundFormat format = data->Format();
  const double frame = std::floor(seconds * format.rate + 0.5);
  mPosition = static_cast<uint64_t>(std::min(frame, 1e15)) * format.BlockAlign();
}

double TMemSpooler::Duration() const {
  std::shared_ptr<TSoundData> data = mData.lock();
  return data ? data->Duration() : 0.0;
}
