// TStreamSpooler: where a playing stream takes its PCM from, a chunk at a time.
#pragma once

#include <cstdint>

class TStreamSpooler {
 public:
  virtual ~TStreamSpooler() = default;
  // Fills destination with up to length bytes of the sound from the current position; the
  // destination is zeroed first, so whatever the sound does not fill stays silent. got is
  // the number of bytes that came from the sound. With loop the sound starts again from its
  // beginning whenever it runs out, so a looping source never ends. Answers whether more
  // data follows.
  virtual bool Read(uint8_t* destination, uint32_t length, uint32_t& got, bool loop) = 0;
  virtual void SetPosition(double seconds) = 0;
  virtual double Duration() const = 0;
  // Lets go of the sound; later reads give silence and no more data.
  virtual void Close() = 0;
  virtual void Rewind() = 0;
};
