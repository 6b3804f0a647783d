#include "game/level_layout.h"

#include <gtest/gtest.h>

TEST(LevelLayout, DecodesRecordsIntoTheGrid) {
  TLevelLayout layout;
  layout.DecodeLayoutData("01002306|07001c06|01012005|");
  EXPECT_EQ(layout.TypeAt(0, 35, 6), 1);
  EXPECT_EQ(layout.TypeAt(0, 28, 6), 7);
  EXPECT_EQ(layout.TypeAt(1, 32, 5), 1);
  EXPECT_EQ(layout.PositionCount(), 3);
  EXPECT_EQ(layout.CandidateCount(), 1);
  EXPECT_EQ(layout.LayerCount(), 2);
}

TEST(LevelLayout, LaterRecordForACellWinsAndTypeZeroIsSkipped) {
  TLevelLayout layout;
  layout.DecodeLayoutData("01000203|07000203|00000405|");
  EXPECT_EQ(layout.TypeAt(0, 2, 3), 7);
  EXPECT_EQ(layout.TypeAt(0, 4, 5), 0);
  EXPECT_EQ(layout.PositionCount(), 1);
}

TEST(LevelLayout, RecordsOutsideTheGridAreIgnored) {
  TLevelLayout layout;
  layout.DecodeLayoutData("01070000|01002600|01000010|01ff0101|01060000|");
  EXPECT_EQ(layout.PositionCount(), 1);
  EXPECT_EQ(layout.TypeAt(6, 0, 0), 1);
}

TEST(LevelLayout, ShortRecordKeepsTheBytesItHas) {
  TLevelLayout layout;
  // The last record ends after the x byte: its y reads as 0.
  layout.DecodeLayoutData("01000203|010105");
  EXPECT_EQ(layout.TypeAt(1, 5, 0), 1);
  EXPECT_EQ(layout.PositionCount(), 2);
  // A record broken by a non-hex character keeps only the bytes before it.
  layout.DecodeLayoutData("0100zz03|");
  EXPECT_EQ(layout.TypeAt(0, 0, 0), 1);
  layout.DecodeLayoutData("");
  EXPECT_EQ(layout.PositionCount(), 0);
  EXPECT_EQ(layout.LayerCount(), 0);
}

TEST(LevelLayout, EncodingRoundTripsInVisitingOrder) {
  TLevelLayout layout;
  layout.SetType(1, 4, 2, 1);
  layout.SetType(0, 10, 3, 7);
  layout.SetType(0, 2, 9, 1);
  std::string text = layout.EncodeLayoutData();
  EXPECT_EQ(text, "01000209|07000a03|01010402|");
  TLevelLayout back;
  back.DecodeLayoutData(text);
  EXPECT_EQ(back.Types(), layout.Types());
}
