#include "file_test_fixture.h"
#include "files/file.h"
#include "files/file_map_handler.h"
#include "files/package_directory.h"

namespace {

std::string ReadName(const std::string& name, int mode = kReadBinary) {
  std::string text;
  ReadWholeFile(name, text, mode);
  return text;
}

TEST_F(FileSystemTest, PackageMembersAreListedAndReadInPlace) {
  WriteFile("assets/assets.tvp", Package({{"Anim/Bling.PNG", Bytes("png bytes")},
                                          {"scripts/mainloop.lua", Bytes("print(1)")}}));
  InitFileSystem();

  ASSERT_EQ(PackageList().size(), 1u);
  EXPECT_EQ(PackageList()[0].path, "::assets/assets.tvp");
  // Header 8, entries (1+14+8) and (1+20+8): the first member starts at 60.
  EXPECT_EQ(NameTable().at("anim/bling.png"), "@0:60,9");
  EXPECT_EQ(NameTable().at("scripts/mainloop.lua"), "@0:69,8");
  EXPECT_EQ(ReadName("ANIM/bling.png"), "png bytes");
  EXPECT_EQ(ReadName("scripts/mainloop.lua"), "print(1)");
}

TEST_F(FileSystemTest, MemberEofIsSetOnlyByAReadPastTheEnd) {
  WriteFile("assets/a.tvp", Package({{"m.bin", Bytes("abcd")}}));
  InitFileSystem();
  TFile file;
  ASSERT_TRUE(file.Open("m.bin", kReadBinary));
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 4), 4u);
  EXPECT_FALSE(file.Eof());
  EXPECT_EQ(file.Read(buffer, 1), 0u);
  EXPECT_TRUE(file.Eof());

  file.Seek(0, kSeekEnd);  // seeking to the size clears the flag
  EXPECT_FALSE(file.Eof());
  file.Read(buffer, 1);
  ASSERT_TRUE(file.Eof());
  file.Seek(10, kSeekStart);  // past the end: clamped, flag left alone
  EXPECT_EQ(file.Tell(), 4);
  EXPECT_TRUE(file.Eof());
  file.Seek(-10, kSeekCurrent);
  EXPECT_EQ(file.Tell(), 0);
  EXPECT_FALSE(file.Eof());

  EXPECT_EQ(file.Read(buffer, 8), 4u);
  EXPECT_TRUE(file.Eof());
  file.Unget();
  EXPECT_FALSE(file.Eof());
  EXPECT_EQ(file.GetChar(), 'd');
  EXPECT_EQ(file.Write("x", 1), 0u);
}

TEST_F(FileSystemTest, MemberTextReadsDropCarriageReturnsButKeepTheStoredLength) {
  WriteFile("assets/a.tvp", Package({{"t.txt", Bytes("x\r\ny\r\n")}}));
  InitFileSystem();
  TFile file;
  ASSERT_TRUE(file.Open("t.txt", kReadText));
  EXPECT_EQ(file.GetLength(), 6);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "x\ny");
  EXPECT_EQ(file.Read(buffer, 16), 1u);
  EXPECT_EQ(buffer[0], '\n');
  EXPECT_TRUE(file.Eof());
}

TEST_F(FileSystemTest, LaterPackagesWinAndRegisteringAgainReusesTheIndex) {
  WriteFile("assets/a.tvp", Package({{"same.txt", Bytes("first")}}));
  InitFileSystem();
  WriteFile("assets/b.tvp", Package({{"same.txt", Bytes("second")}, {"other", Bytes("o")}}));
  RegisterPackage("::assets/b.tvp");
  EXPECT_EQ(ReadName("same.txt"), "second");
  EXPECT_EQ(PackageList().size(), 2u);

  // Replaced the way installers do it: a new file renamed over the old one.
  WriteFile("assets/b.new", Package({{"same.txt", Bytes("third")}}));
  TFile open;
  ASSERT_TRUE(open.Open("other", kReadBinary));
  std::filesystem::rename("assets/b.new", "assets/b.tvp");
  RegisterPackage("::assets/b.tvp");
  EXPECT_EQ(PackageList().size(), 2u);
  EXPECT_EQ(ReadName("same.txt"), "third");
  // A member opened before the package was mapped again still reads its old view.
  EXPECT_EQ(open.GetChar(), 'o');
}

TEST_F(FileSystemTest, BadPackagesAddNothingAndLogNothing) {
  StartLog();
  std::string bad = Package({{"x.txt", Bytes("x")}});
  bad[3] = 'Q';
  WriteFile("assets/bad.tvp", bad);
  WriteFile("assets/short.tvp", "TV");
  InitFileSystem();
  EXPECT_FALSE(FileExists("x.txt"));
  EXPECT_TRUE(PackageList().empty());
  EXPECT_EQ(LogText(), "");
}

TEST_F(FileSystemTest, EmptyPackageIsStillMappedAndIndexed) {
  WriteFile("assets/empty.tvp", Package({}));
  InitFileSystem();
  ASSERT_EQ(PackageList().size(), 1u);
  ASSERT_TRUE(PackageList()[0].data);
  EXPECT_TRUE(PackageList()[0].data->mapping.IsOpen());
}

TEST_F(FileSystemTest, EntriesOutsideThePackageAreDroppedAndACutDirectoryEndsEarly) {
  StartLog();
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(BuildPackage({{"good", Bytes("g")}, {"bad", Bytes("b")}, {"tail", Bytes("t")}}, bytes,
                           error));
  // Point the second entry's size far beyond the file.
  const size_t sizeField = 8 + (1 + 4 + 8) + (1 + 3 + 4);
  bytes[sizeField] = 0xff;
  bytes[sizeField + 1] = 0xff;
  WriteFile("assets/p.tvp", std::string(bytes.begin(), bytes.end()));
  InitFileSystem();
  EXPECT_EQ(ReadName("good"), "g");
  EXPECT_FALSE(FileExists("bad"));
  EXPECT_EQ(ReadName("tail"), "t");
  EXPECT_NE(LogText().find("bad"), std::string::npos);

  // A directory that claims more entries than the file holds keeps the complete ones.
  ResetFileSystem();
  std::string cut = Package({{"kept", Bytes("k")}});
  cut[4] = 3;
  cut.resize(8 + 1 + 4 + 8 + 1);  // the member byte doubles as a half entry
  cut[cut.size() - 1] = 'k';
  WriteFile("assets/p.tvp", cut);
  InitFileSystem();
  EXPECT_EQ(NameTable().size(), 2u);  // "kept" and the loose package file itself
  EXPECT_EQ(ReadName("kept"), "k");
}

TEST_F(FileSystemTest, ForgedLocatorsNeverReadOutsideThePackage) {
  StartLog();
  WriteFile("assets/a.tvp", Package({{"m", Bytes("abc")}}));
  InitFileSystem();
  SetNameTableEntry("forged", "@0:5,1000");
  SetNameTableEntry("no-package", "@7:0,1");
  SetNameTableEntry("no-size", "@0:5");
  TFile file;
  EXPECT_FALSE(file.Open("forged", kReadBinary));
  EXPECT_FALSE(file.Open("no-package", kReadBinary));
  EXPECT_FALSE(file.Open("no-size", kReadBinary));
  EXPECT_NE(LogText().find("error reading @0:5,1000 from flat file"), std::string::npos);
}

TEST_F(FileSystemTest, DirectoryReaderReportsEntriesAsStored) {
  const std::string package = Package({{"Mixed/Case.Txt", Bytes("12345")}});
  RegisterMemoryFile("pkg", package.data(), package.size());
  TFile file;
  ASSERT_TRUE(file.Open("pkg", kReadBinary));
  std::vector<TPackageEntry> entries;
  ASSERT_TRUE(ReadPackageDirectory(file, package.size(), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Mixed/Case.Txt");
  EXPECT_EQ(entries[0].offset, 8u + 1 + 14 + 8);
  EXPECT_EQ(entries[0].size, 5u);

  std::vector<uint8_t> out;
  std::string error;
  EXPECT_FALSE(BuildPackage({{std::string(256, 'n'), {}}}, out, error));
  EXPECT_FALSE(BuildPackage({{"", {}}}, out, error));
}

}  // namespace
