#include "files/get_char.h"

int TGetCharString::Unget(int byte) {
  if (mPosition == 0) return -1;
  --mPosition;
  return byte;
}

int TGetCharString::GetChar() {
  if (mStopped || mPosition >= mLength) return -1;
  return mData[mPosition++];
}
