#include "files/package_writer.h"

#include "files/package_directory.h"

namespace {

void PutUint32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

bool BuildPackage(const std::vector<TPackageMember>& members, std::vector<uint8_t>& out,
                  std::string& error) {
  out.clear();
  uint64_t offset = 8;
  for (const TPackageMember& member : members) {
    if (member.name.empty() || member.name.size() > 255) {
      error = "member name must be 1 to 255 bytes long: \"" + member.name + "\"";
      return false;
    }
    offset += 1 + member.name.size() + 8;
  }
  uint64_t total = offset;
  for (const TPackageMember& member : members) total += member.bytes.size();
  if (total > UINT32_MAX) {
    error = "package would exceed 4 GB";
    return false;
  }

  out.reserve(total);
  out.insert(out.end(), kPackageMagic, kPackageMagic + 4);
  PutUint32(out, static_cast<uint32_t>(members.size()));
  for (const TPackageMember& member : members) {
    out.push_back(static_cast<uint8_t>(member.name.size()));
    out.insert(out.end(), member.name.begin(), member.name.end());
    PutUint32(out, static_cast<uint32_t>(offset));
    PutUint32(out, static_cast<uint32_t>(member.bytes.size()));
    offset += member.bytes.size();
  }
  for (const TPackageMember& member : members) {
    out.insert(out.end(), member.bytes.begin(), member.bytes.end());
  }
  return true;
}
