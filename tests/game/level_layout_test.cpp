#include "game/level_layout.h"

#include <gtest/gtest.h>

TEST(LevelLayout, DecodesRecordsIntoTheGrid) {
  TLevelLayout layout;
  layout.DecodeLayoutData("01002306|07001c06|01012005|");
  EXPECT_EQ(layout.TypeAt(0, 35, 6), kOrdinaryPosition);
  EXPECT_EQ(layout.TypeAt(0, 28, 6), kCandidatePosition);
  EXPECT_EQ(layout.TypeAt(1, 32, 5), kOrdinaryPosition);
  EXPECT_EQ(layout.PositionCount(), 3);
  EXPECT_EQ(layout.CandidateCount(), 1);
  EXPECT_EQ(layout.LayerCount(), 2);
}

TEST(LevelLayout, LaterRecordForACellWinsAndTypeZeroIsSkipped) {
  TLevelLayout layout;
  layout.DecodeLayoutData("01000203|07000203|00000405|");
  EXPECT_EQ(layout.TypeAt(0, 2, 3), kCandidatePosition);
  EXPECT_EQ(layout.TypeAt(0, 4, 5), kNoPosition);
  EXPECT_EQ(layout.PositionCount(), 1);
}

TEST(LevelLayout, RecordsOutsideTheGridAreIgnored) {
  TLevelLayout layout;
  layout.DecodeLayoutData("01070000|01002600|01000010|01ff0101|01060000|");
  EXPECT_EQ(layout.PositionCount(), 1);
  EXPECT_EQ(layout.TypeAt(6, 0, 0), kOrdinaryPosition);
}

TEST(LevelLayout, ShortRecordKeepsTheBytesItHas) {
  TLevelLayout layout;
  // The last record ends after the x byte: its y reads as 0.
  layout.DecodeLayoutData("01000203|010105");
  EXPECT_EQ(layout.TypeAt(1, 5, 0), kOrdinaryPosition);
  EXPECT_EQ(layout.PositionCount(), 2);
  // A record broken by a non-hex character keeps only the bytes before it.
  layout.DecodeLayoutData("0100zz03|");
  EXPECT_EQ(layout.TypeAt(0, 0, 0), kOrdinaryPosition);
  layout.DecodeLayoutData("");
  EXPECT_EQ(layout.PositionCount(), 0);
  EXPECT_EQ(layout.LayerCount(), 0);
}

TEST(LevelLayout, EncodingRoundTripsInVisitingOrder) {
  TLevelLayout layout;
  layout.SetType(1, 4, 2, kOrdinaryPosition);
  layout.SetType(0, 10, 3, kCandidatePosition);
  layout.SetType(0, 2, 9, kOrdinaryPosition);
  std::string text = layout.EncodeLayoutData();
  EXPECT_EQ(text, "01000209|07000a03|01010402|");
  TLevelLayout back;
  back.DecodeLayoutData(text);
  EXPECT_EQ(back.Types(), layout.Types());
}
