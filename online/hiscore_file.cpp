#include "online/hiscore_file.h"

#include "data/prefs_cipher.h"
#include "online/hiscore_store.h"

namespace {

constexpr size_t kChecksumBlock = 8;

std::string ChecksumBytes(uint32_t checksum) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(checksum >> (8 * i));
  return bytes;
}

}  // namespace

uint32_t HiscoreChecksum(std::string_view enciphered) {
  uint32_t checksum = 0;
  for (size_t i = 0; i < enciphered.size(); ++i)
    checksum ^= uint32_t(static_cast<uint8_t>(enciphered[i])) << (8 * (i % 4));
  return checksum;
}

std::string EncodeHiscoreFile(const THiscoreStore& store, const TPrefsCipher& cipher) {
  std::string xml = store.ToXml();
  xml += '\0';
  std::string bytes = cipher.Encrypt(xml);
  bytes += cipher.Encrypt(ChecksumBytes(HiscoreChecksum(bytes)));
  return bytes;
}

THiscoreFileState DecodeHiscoreFile(std::string_view bytes, const TPrefsCipher& cipher,
                                    THiscoreStore& store) {
  if (bytes.empty()) return THiscoreFileState::kEmpty;
  if (bytes.size() <= kChecksumBlock) return THiscoreFileState::kDamaged;
  const std::string_view enciphered = bytes.substr(0, bytes.size() - kChecksumBlock);
  const std::string stored = cipher.Decrypt(bytes.substr(enciphered.size()));
  if (stored != ChecksumBytes(HiscoreChecksum(enciphered))) return THiscoreFileState::kDamaged;
  std::string xml = cipher.Decrypt(enciphered);
  xml.resize(xml.find('\0') == std::string::npos ? xml.size() : xml.find('\0'));
  THiscoreStore read;
  read.ReadXml(xml);
  store = std::move(read);
  return THiscoreFileState::kRead;
}
