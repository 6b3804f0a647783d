#include "files/file.h"

#include <filesystem>
#include <system_error>

#include "files/disk_file_data.h"
#include "files/file_system.h"
#include "files/flat_file_map.h"
#include "files/memory_file.h"

namespace {

bool StartsWithFolder(const std::string& path, const std::string& folder) {
  return !folder.empty() && path.size() > folder.size() &&
         path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// Creates the missing folders on the way to a file inside the user or common folder.
// Other paths are written as they are, without making folders for them.
void CreateFoldersFor(const std::string& path) {
  if (!StartsWithFolder(path, UserFolder()) && !StartsWithFolder(path, CommonFolder())) return;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
}

template <typename Container>
bool ReadWholeInto(const std::string& name, Container& out, int mode) {
  out.clear();
  TFile file;
  if (!file.Open(name, mode)) return false;
  const long length = file.GetLength();
  if (length > 0) {
    out.resize(static_cast<size_t>(length));
    out.resize(file.Read(out.data(), out.size()));
  }
  return true;
}

}  // namespace

bool TFile::Open(const std::string& name, int mode) {
  Close();
  const std::string locator = ResolveFileName(name, IsReadingMode(mode));
  if (locator.empty()) return false;
  std::unique_ptr<TFileData> data;
  if (locator[0] == '@') {
    data = std::make_unique<TFlatFileMap>();
  } else if (locator[0] == '&') {
    data = std::make_unique<TMemoryFile>();
  } else {
    if (mode >= kWriteBinary && mode <= kAppendText) CreateFoldersFor(locator);
    data = std::make_unique<TDiskFileData>();
  }
  if (!data->Open(locator, mode)) return false;
  mData = std::move(data);
  return true;
}

std::unique_ptr<TFile> TFile::OpenFile(const std::string& name, int mode) {
  auto file = std::make_unique<TFile>();
  if (!file->Open(name, mode)) return nullptr;
  return file;
}

size_t TFile::Read(void* buffer, size_t count) {
  return mData ? mData->Read(buffer, count) : 0;
}

size_t TFile::Write(const void* buffer, size_t count) {
  return mData ? mData->Write(buffer, count) : 0;
}

void TFile::Seek(long offset, int origin) {
  if (mData) mData->Seek(offset, origin);
}

long TFile::Tell() {
  return mData ? mData->Tell() : -1;
}

long TFile::GetLength() {
  return mData ? mData->GetLength() : 0;
}

bool TFile::Eof() {
  return mData ? mData->Eof() : true;
}

int TFile::GetChar() {
  if (Eof()) return -1;
  unsigned char byte = 0;
  return Read(&byte, 1) == 1 ? byte : -1;
}

void TFile::Unget() {
  if (mData) mData->Unget();
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out, int mode) {
  return ReadWholeInto(name, out, mode);
}

bool ReadWholeFile(const std::string& name, std::string& out, int mode) {
  return ReadWholeInto(name, out, mode);
}
