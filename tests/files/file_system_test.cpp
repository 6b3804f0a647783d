#include "files/file_system.h"

#include "file_test_fixture.h"
#include "files/file.h"

namespace {

std::string ReadName(const std::string& name, int mode = kReadBinary) {
  std::string text;
  ReadWholeFile(name, text, mode);
  return text;
}

TEST_F(FileSystemTest, NamesResolveCaseInsensitivelyWithTheAssetsPrefixes) {
  WriteFile("assets/Fonts/Default.mvec", "font");
  InitFileSystem();

  EXPECT_EQ(ResolveFileName("fonts/default.mvec", true), "assets/Fonts/Default.mvec");
  EXPECT_TRUE(FileExists("FONTS/DEFAULT.MVEC"));
  EXPECT_TRUE(FileExists("assets/fonts/default.mvec"));
  EXPECT_TRUE(FileExists("Assets\\fonts/default.mvec"));
  EXPECT_FALSE(FileExists("fonts\\default.mvec"));
  EXPECT_FALSE(FileExists("assetsfonts/default.mvec"));
  EXPECT_FALSE(FileExists("assets/assets/fonts\\default.mvec"));
  EXPECT_EQ(ReadName("Assets/Fonts/Default.MVEC"), "font");
}

TEST_F(FileSystemTest, LooseFilesReplacePackageMembersOfTheSameName) {
  WriteFile("assets/assets.tvp",
            Package({{"Scripts/Main.lua", Bytes("packed")}, {"only/packed.txt", Bytes("p")}}));
  WriteFile("assets/scripts/main.lua", "loose");
  InitFileSystem();

  EXPECT_EQ(ReadName("scripts/main.lua"), "loose");
  EXPECT_EQ(ReadName("only/packed.txt"), "p");
  EXPECT_EQ(ResolveFileName("only/packed.txt", true)[0], '@');
}

TEST_F(FileSystemTest, ExcludedNamesAreSkippedAsLooseFilesButFoundInPackages) {
  WriteFile("final.txt", "Hidden.txt\tsecret/\r\nsecret levels/one.xml");
  WriteFile("assets/hidden.txt", "loose");
  WriteFile("assets/levels/one.xml", "one");
  WriteFile("assets/levels/two.xml", "two");
  WriteFile("assets/data.tvp", Package({{"levels/one.xml", Bytes("packed one")}}));
  InitFileSystem();

  EXPECT_FALSE(FileExists("hidden.txt"));
  EXPECT_EQ(ReadName("levels/one.xml"), "packed one");
  EXPECT_EQ(ReadName("levels/two.xml"), "two");
  // Writing is not refused: the name is only hidden from reading.
  EXPECT_TRUE(IsExcludedName("HIDDEN.TXT"));
}

TEST_F(FileSystemTest, ExclusionFileResetTokenAndSizeLimit) {
  WriteFile("final.txt", "a.txt b.txt -* c.txt");
  WriteFile("assets/a.txt", "a");
  WriteFile("assets/c.txt", "c");
  InitFileSystem();
  EXPECT_TRUE(FileExists("a.txt"));
  EXPECT_FALSE(FileExists("c.txt"));

  ResetFileSystem();
  std::string big = "a.txt ";
  big.resize(100000, ' ');
  WriteFile("final.txt", big);
  InitFileSystem();
  EXPECT_TRUE(FileExists("a.txt"));

  ResetFileSystem();
  big.resize(99999);
  WriteFile("final.txt", big);
  InitFileSystem();
  EXPECT_FALSE(FileExists("a.txt"));
}

TEST_F(FileSystemTest, FirstPeekReadsItsOwnExclusionFile) {
  WriteFile("final.txt", "a.txt");
  WriteFile("firstpeek.txt", "b.txt");
  WriteFile("assets/a.txt", "a");
  WriteFile("assets/b.txt", "b");
  InitFileSystem({.firstPeek = true});
  EXPECT_TRUE(FileExists("a.txt"));
  EXPECT_FALSE(FileExists("b.txt"));
}

TEST_F(FileSystemTest, UserFilesAreCreatedOnWriteAndCachedForLaterReads) {
  SetFileSystemFolders((root / "home").string(), (root / "all").string(), (root / "desk").string());
  InitFileSystem();

  EXPECT_FALSE(FileExists("user:prefs.dat"));
  EXPECT_FALSE(FileExists("user:saves/slot1.dat"));
  {
    TFile file;
    ASSERT_TRUE(file.Open("user:saves/slot1.dat", kWriteBinary));
    EXPECT_EQ(file.Write("abc", 3), 3u);
  }
  EXPECT_EQ(ReadDiskFile(root / "home/saves/slot1.dat"), "abc");
  EXPECT_EQ(NameTable().at("user:saves/slot1.dat"), (root / "home/saves/slot1.dat").string());
  EXPECT_EQ(ReadName("USER:Saves/Slot1.dat"), "abc");

  {
    TFile file;
    ASSERT_TRUE(file.Open("common:shared/scores.dat", kAppendBinary));
    file.Write("x", 1);
  }
  EXPECT_EQ(ReadDiskFile(root / "all/shared/scores.dat"), "x");
}

TEST_F(FileSystemTest, UserAndCommonFoldersAreScannedWithTheirPrefixes) {
  WriteFile("home/Profile/Stats.DAT", "s");
  WriteFile("all/shared.dat", "c");
  SetFileSystemFolders((root / "home/").string(), (root / "all").string(), "");
  InitFileSystem();
  EXPECT_EQ(ResolveFileName("user:profile/stats.dat", true),
            (root / "home/Profile/Stats.DAT").string());
  EXPECT_TRUE(FileExists("common:shared.dat"));

  ResetFileSystem();
  SetFileSystemFolders((root / "home").string(), (root / "all").string(), "");
  InitFileSystem({.activeX = true});
  std::string name;
  EXPECT_FALSE(ListNextFile("user:", name, true));
  EXPECT_FALSE(ListNextFile("common:", name, true));
  // ... but single names still resolve one by one.
  EXPECT_TRUE(FileExists("common:shared.dat"));
}

TEST_F(FileSystemTest, ReadOnlyUserFilesAreNotFoundForReading) {
  WriteFile("home/locked.dat", "x");
  std::filesystem::permissions(root / "home/locked.dat", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  if (std::ofstream(root / "home/locked.dat", std::ios::app).is_open()) {
    GTEST_SKIP() << "running with rights that ignore file permissions";
  }
  SetFileSystemFolders((root / "home").string(), "", "");
  EXPECT_FALSE(FileExists("user:locked.dat"));
}

TEST_F(FileSystemTest, EmptyFoldersResolveToNothing) {
  SetFileSystemFolders("", "", "");
  InitFileSystem();
  EXPECT_EQ(ResolveFileName("user:prefs.dat", false), "");
  EXPECT_EQ(ResolveFileName("common:display.xml", false), "");
  EXPECT_EQ(ResolveFileName("desktop:shot.png", false), "");
  TFile file;
  EXPECT_FALSE(file.Open("user:prefs.dat", kWriteBinary));
  EXPECT_TRUE(NameTable().empty());
}

TEST_F(FileSystemTest, LiteralPathsBypassTheNameTable) {
  WriteFile("assets/settings.xml", "loose");
  WriteFile("Other/Mixed.TXT", "literal");
  InitFileSystem();
  SetNameTableEntry("settings.xml", "&1,1");  // the table would say something else

  EXPECT_EQ(ResolveFileName("::assets/settings.xml", true), "assets/settings.xml");
  EXPECT_EQ(ReadName("::assets/settings.xml"), "loose");
  EXPECT_EQ(ReadName("::Other/Mixed.TXT"), "literal");
  EXPECT_FALSE(FileExists("::other/missing.txt"));
  // A literal path must exist even for writing.
  TFile file;
  EXPECT_FALSE(file.Open("::new.txt", kWriteBinary));
}

TEST_F(FileSystemTest, MemoryFilesReadTextWithoutCarriageReturnsAndClampSeeks) {
  static const char kData[] = "one\r\ntwo\r\n";
  RegisterMemoryFile("Mem/Text.TXT", kData, sizeof kData - 1);
  EXPECT_EQ(ReadName("mem/text.txt", kReadText), "one\ntwo\n");
  EXPECT_EQ(ReadName("mem/text.txt", kReadBinary), "one\r\ntwo\r\n");

  TFile file;
  ASSERT_TRUE(file.Open("mem/text.txt", kReadBinary));
  EXPECT_EQ(file.GetLength(), 10);
  file.Seek(-5, kSeekStart);
  EXPECT_EQ(file.Tell(), 0);
  file.Seek(4, kSeekCurrent);
  file.Seek(2, kSeekCurrent);
  EXPECT_EQ(file.Tell(), 6);
  file.Seek(100, kSeekEnd);
  EXPECT_EQ(file.Tell(), 10);
  EXPECT_TRUE(file.Eof());
  EXPECT_EQ(file.GetChar(), -1);
  file.Unget();
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_EQ(file.Write("x", 1), 0u);

  TFile writer;
  EXPECT_FALSE(writer.Open("mem/text.txt", kWriteBinary));

  RegisterMemoryFile("MEM/text.txt", kData, 0);
  EXPECT_FALSE(FileExists("mem/text.txt"));
}

TEST_F(FileSystemTest, DiskTextReadsDropCarriageReturnsAndUngetRestoresTheLastByte) {
  WriteFile("assets/dos.txt", "a\r\nb\r\n");
  InitFileSystem();
  EXPECT_EQ(ReadName("dos.txt", kReadText), "a\nb\n");
  EXPECT_EQ(ReadName("dos.txt", 9), "a\nb\n");  // unknown modes read text

  TFile file;
  ASSERT_TRUE(file.Open("dos.txt", kReadBinary));
  EXPECT_EQ(file.GetChar(), 'a');
  file.Unget();
  EXPECT_EQ(file.GetChar(), 'a');
  EXPECT_EQ(file.GetLength(), 6);
  EXPECT_EQ(file.Tell(), 1);
  file.Seek(-1, kSeekEnd);
  EXPECT_EQ(file.GetChar(), '\n');
  EXPECT_FALSE(file.Eof());
  EXPECT_EQ(file.GetChar(), -1);
  EXPECT_TRUE(file.Eof());
}

TEST_F(FileSystemTest, ClosedHandlesAnswerNeutrally) {
  TFile file;
  char byte = 0;
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Read(&byte, 1), 0u);
  EXPECT_EQ(file.Write(&byte, 1), 0u);
  EXPECT_EQ(file.Tell(), -1);
  EXPECT_EQ(file.GetLength(), 0);
  EXPECT_TRUE(file.Eof());
  EXPECT_EQ(file.GetChar(), -1);
  file.Seek(3, kSeekStart);
  file.Unget();
  EXPECT_EQ(TFile::OpenFile("nothing/here.txt", kReadBinary), nullptr);
  EXPECT_FALSE(file.Open("", kReadBinary));
}

TEST_F(FileSystemTest, ListNextFileWalksAVirtualFolderInKeyOrder) {
  WriteFile("assets/levels/b.xml", "");
  WriteFile("assets/levels/a.xml", "");
  WriteFile("assets/levels/tutorial/t.xml", "");
  WriteFile("assets/levelsx.txt", "");
  WriteFile("assets/intro.lua", "");
  InitFileSystem();

  auto list = [](const std::string& prefix, bool recursive) {
    std::vector<std::string> names;
    std::string name;
    while (ListNextFile(prefix, name, recursive)) names.push_back(name);
    return names;
  };
  EXPECT_EQ(list("Levels/", false), (std::vector<std::string>{"levels/a.xml", "levels/b.xml"}));
  EXPECT_EQ(list("levels/", true),
            (std::vector<std::string>{"levels/a.xml", "levels/b.xml", "levels/tutorial/t.xml"}));
  EXPECT_EQ(list("", false), (std::vector<std::string>{"intro.lua", "levelsx.txt"}));
  EXPECT_EQ(list("user:", true), std::vector<std::string>{});

  std::string name = "levels/a.xml";
  ASSERT_TRUE(ListNextFile("levels/", name, false));
  EXPECT_EQ(name, "levels/b.xml");
}

}  // namespace

namespace {

TEST_F(FileSystemTest, ACircularLinkInTheAssetFolderEndsTheScan) {
  WriteFile("assets/a.txt", "a");
  std::filesystem::create_directory_symlink("../assets", "assets/loop");
  InitFileSystem();
  EXPECT_TRUE(FileExists("a.txt"));
  std::string deep;
  for (int i = 0; i < 32; ++i) deep += "loop/";
  EXPECT_TRUE(FileExists(deep + "a.txt"));
  EXPECT_FALSE(FileExists(deep + "loop/a.txt"));  // the scan stops before the system would
}

}  // namespace
