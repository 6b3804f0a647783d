#include "online/hiscore_file.h"

#include <gtest/gtest.h>

#include <string>

#include "data/prefs_cipher.h"
#include "online/hiscore_store.h"

namespace {

constexpr char kKey[] = "KPlaxRD7wAAA";

// Every byte but NUL in one text, to prove that names and data survive the file.
std::string AllBytes() {
  std::string text;
  for (int byte = 1; byte < 256; ++byte) text += static_cast<char>(byte);
  return text;
}

THiscoreStore SampleStore() {
  THiscoreStore store;
  store.accounts["Ann"] = {"Ann", "ann_online", "p\"w<d>&"};
  store.accounts[AllBytes()] = {AllBytes(), AllBytes(), AllBytes()};
  THiscoreRow row;
  row.score = 1200;
  row.name = "Ann";
  row.guid = "0123456789abcdef0123456789abcdef";
  row.version = "1.0.0.0";
  row.valid = true;
  store.tables["mahjongcuriomar_adventure"].Add(row, false);
  row.score = 800;
  row.name = AllBytes();
  row.gameData = AllBytes();
  row.serverData = "<medal/> & more";
  row.submitted = true;
  store.tables["mahjongcuriomar_adventure"].Add(row, false);
  row = THiscoreRow();  // a row with every optional text empty
  row.score = -5;
  row.valid = true;
  store.tables[AllBytes()].Add(row, false);
  return store;
}

TEST(HiscoreFileTest, RoundTripKeepsEveryByte) {
  const TPrefsCipher cipher(kKey);
  const THiscoreStore store = SampleStore();
  const std::string bytes = EncodeHiscoreFile(store, cipher);
  THiscoreStore read;
  ASSERT_EQ(DecodeHiscoreFile(bytes, cipher, read), THiscoreFileState::kRead);
  EXPECT_EQ(read, store);
}

TEST(HiscoreFileTest, LayoutIsEncipheredXmlThenEncipheredChecksum) {
  const TPrefsCipher cipher(kKey);
  const THiscoreStore store = SampleStore();
  const std::string bytes = EncodeHiscoreFile(store, cipher);
  const std::string xml = store.ToXml();
  ASSERT_EQ(bytes.size(), (xml.size() + 1 + 8) / 8 * 8 + 8);
  const std::string body = bytes.substr(0, bytes.size() - 8);
  EXPECT_EQ(cipher.Decrypt(body), xml + '\0');
  const uint32_t checksum = HiscoreChecksum(body);
  const std::string stored = cipher.Decrypt(bytes.substr(body.size()));
  ASSERT_EQ(stored.size(), 4u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(static_cast<uint8_t>(stored[i]), static_cast<uint8_t>(checksum >> (8 * i)));
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\"?>\n<user player=\"", 0), 0u);
}

TEST(HiscoreFileTest, ChecksumXorsBytesIntoFourLanes) {
  EXPECT_EQ(HiscoreChecksum(""), 0u);
  EXPECT_EQ(HiscoreChecksum(std::string("\x01\x02\x03\x04\x05", 5)), 0x04030204u);
  EXPECT_EQ(HiscoreChecksum(std::string("\xff\x00\x00\x00\xff", 5)), 0u);
}

TEST(HiscoreFileTest, DamagedFilesReadNothing) {
  const TPrefsCipher cipher(kKey);
  const std::string good = EncodeHiscoreFile(SampleStore(), cipher);
  THiscoreStore untouched;
  untouched.accounts["keep"] = {"keep", "me", ""};
  const THiscoreStore before = untouched;

  EXPECT_EQ(DecodeHiscoreFile("", cipher, untouched), THiscoreFileState::kEmpty);
  EXPECT_EQ(DecodeHiscoreFile("12345678", cipher, untouched), THiscoreFileState::kDamaged);
  for (size_t at : {size_t(0), good.size() / 2, good.size() - 9, good.size() - 1}) {
    std::string bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x10);
    EXPECT_EQ(DecodeHiscoreFile(bad, cipher, untouched), THiscoreFileState::kDamaged) << at;
  }
  EXPECT_EQ(DecodeHiscoreFile(good.substr(0, good.size() - 8), cipher, untouched),
            THiscoreFileState::kDamaged);
  EXPECT_EQ(DecodeHiscoreFile(good, TPrefsCipher("OtherKey1234"), untouched),
            THiscoreFileState::kDamaged);
  EXPECT_EQ(untouched, before);
}

TEST(HiscoreFileTest, ReadingSkipsWhatItCannotUse) {
  THiscoreStore store;
  store.ReadXml(
      "<?xml version=\"1.0\"?>\n"
      "<user player=\"Ann\" name=\"a\" pass=\"b\"/>\n"
      "<score name=\"empty\"></score>\n"
      "<score name=\"mixed\"><row rank=\"9\" score=\"10\" submit=\"2\" name=\"x\"/>"
      "<junk/><row score=\"99999999999\" name=\"y\"/><row rank=\"1\" score=\"abc\"/></score>\n"
      "<unknown/>");
  EXPECT_EQ(store.accounts.size(), 1u);
  EXPECT_EQ(store.tables.count("empty"), 0u);
  ASSERT_EQ(store.tables.count("mixed"), 1u);
  const auto& rows = store.tables["mixed"].Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, "y");  // ordered by score and ranked again
  EXPECT_EQ(rows[0].score, 2147483647);
  EXPECT_EQ(rows[1].score, 10);
  EXPECT_TRUE(rows[1].submitted);
  EXPECT_EQ(rows[1].rank, 2);
  EXPECT_EQ(rows[2].score, 0);
  EXPECT_TRUE(rows[2].valid);
}

}  // namespace
