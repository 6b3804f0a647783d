// The saved file of the high-score service, "user:hiscore.dat": the store's XML with its
// terminating zero byte, enciphered (Blowfish, the preferences cipher), followed by a
// 32-bit checksum of the enciphered bytes, enciphered on its own into one 8-byte block.
// The checksum XORs byte i of the enciphered XML into byte i mod 4 of the value (byte 0
// the lowest).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TPrefsCipher;
struct THiscoreStore;

enum class THiscoreFileState {
  kEmpty,    // no bytes: a fresh start
  kRead,     // the checksum matched and the XML was read
  kDamaged,  // too short or the checksum did not match: nothing was read
};

std::string EncodeHiscoreFile(const THiscoreStore& store, const TPrefsCipher& cipher);

// Reads bytes into store (which is left alone unless the result is kRead).
THiscoreFileState DecodeHiscoreFile(std::string_view bytes, const TPrefsCipher& cipher,
                                    THiscoreStore& store);

uint32_t HiscoreChecksum(std::string_view enciphered);
