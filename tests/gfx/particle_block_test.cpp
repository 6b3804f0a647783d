// Running a list over blocks of particles gives what running it particle by particle gives:
// the same records and the same expiries, for random lists of the deterministic functions,
// with checks that fail for a whole block or for single lanes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "gfx/particle_block.h"
#include "gfx/particle_functions.h"
#include "gfx/particle_locus.h"

namespace {

constexpr int kFloats = 20;

class TListMaker {
 public:
  explicit TListMaker(uint32_t seed) : mRandom(seed) {}

  TParticleInstructionList Make(int statements) {
    mList.clear();
    mSizes.clear();
    for (int s = 0; s < statements; ++s) Statement();
    return mList;
  }

 private:
  int Pick(int n) { return static_cast<int>(mRandom() % static_cast<uint32_t>(n)); }

  void Add(std::shared_ptr<TParticleFunction> f, int argCount) {
    TParticleInstruction instruction;
    instruction.argCount = static_cast<uint8_t>(argCount);
    for (int i = 0; i < std::min(argCount, TParticleInstruction::kMaxArgs); ++i)
      instruction.argSizes[i] = static_cast<uint8_t>(mSizes[mSizes.size() - argCount + i]);
    const int result = f->ResultSize(argCount, instruction.argSizes);
    instruction.function = std::move(f);
    mList.push_back(std::move(instruction));
    mSizes.resize(mSizes.size() - argCount);
    if (result > 0) mSizes.push_back(result);
  }
  void Push(std::vector<float> values) {
    Add(std::make_shared<FPush>(values.data(), static_cast<int>(values.size())), 0);
  }
  // A value of about `size` floats (sometimes another size, to make checks fail).
  void Value(int size, int depth) {
    if (Pick(12) == 0) size = 1 + Pick(3);
    const int choice = depth > 3 ? Pick(2) : Pick(9);
    switch (choice) {
      case 0: {
        std::vector<float> v;
        for (int i = 0; i < std::min(size, 4); ++i)
          v.push_back(static_cast<float>(Pick(400)) / 8 - 20);
        Push(v);
        return;
      }
      case 1: {
        const int base = Pick(kFloats - size + 1);
        Add(std::make_shared<FGetParticleParam>(
                TParticleMemberHandle{static_cast<int16_t>(base), static_cast<uint16_t>(size)}),
            0);
        return;
      }
      case 2:
        Value(size, depth + 1);
        Value(size, depth + 1);
        Add(Pick(2) ? FAdd::Create() : FSub::Create(), 2);
        return;
      case 3:
        Value(size, depth + 1);
        Value(1, depth + 1);
        Add(Pick(2) ? FMul::Create() : FDiv::Create(), 2);
        return;
      case 4:
        Value(size, depth + 1);
        Add(FTimeScale::Create(), 1);
        return;
      case 5:  // an index read: some lanes fall outside the record
        Value(1, depth + 1);
        Value(1, depth + 1);
        Add(FIndex::Create(), 2);
        return;
      case 6: {
        Value(1, depth + 1);
        Value(size, depth + 1);
        const int pieces = Pick(3);
        for (int p = 0; p < pieces; ++p) {
          Push({static_cast<float>(50 + Pick(500))});
          Value(size, depth + 1);
        }
        Add(FFade::Create(), 2 + 2 * pieces);
        return;
      }
      case 7:
        Value(1, depth + 1);
        Add(F2dRotation::Create(), 1);
        return;
      default:
        for (int i = 0; i < std::min(size, 4); ++i) Value(1, depth + 1);
        Add(FVec::Create(), std::min(size, 4));
        return;
    }
  }
  void Statement() {
    switch (Pick(5)) {
      case 0: {  // assignment to a member known when compiling
        const int size = 1 + Pick(4);
        Value(size, 0);
        Add(std::make_shared<FAssignMember>(Pick(kFloats - size + 1), size), 1);
        break;
      }
      case 1:  // assignment with computed target: some lanes fall outside
        Value(2, 0);
        Value(1, 0);
        Push({static_cast<float>(2)});
        Add(FAssign::Create(), 3);
        break;
      case 2:
        Value(1, 0);
        Value(1, 0);
        Add(Pick(2) ? FLt::Create() : FLe::Create(), 2);
        Add(FExpire::Create(), 1);
        break;
      case 3:
        Push({static_cast<float>(Pick(3))});
        Value(1, 0);
        Value(1, 0);
        Add(FNewIndex::Create(), 3);
        break;
      default:
        Add(FAge::Create(), 0);
        break;
    }
  }

  std::mt19937 mRandom;
  TParticleInstructionList mList;
  std::vector<int> mSizes;
};

// A function without a block form of its own (as a game's may be): doubles its argument,
// and fails for particles whose first float is negative.
class FTwice final : public TParticleFunctionClass<FTwice> {
 public:
  static constexpr const char* kClassName = "FTwice";
  int ResultSize(int, const uint8_t* sizes) const override { return sizes[0]; }
  bool Evaluate(TParticleView& view, TParticleCallFrame& frame) override {
    if (view.particle[0] < 0) return false;
    float out[4];
    for (int i = 0; i < frame.ArgSize(0); ++i) out[i] = 2 * frame.Arg(0)[i];
    return frame.Push(out, frame.ArgSize(0));
  }
};

}  // namespace

TEST(ParticleBlockTest, BlocksAgreeWithParticleByParticle) {
  const std::vector<TParticleMember> members = {{0, 2}, {2, 2}, {4, 1}, {5, 4}, {9, 11}};
  std::vector<TParticleFunction*> noFunctions;
  std::mt19937 random(99);
  std::uniform_real_distribution<float> value(-30, 30);
  TParticleStack stack;
  auto blockStack = std::make_unique<TParticleBlockStack>();
  int blocksRun = 0, lanesDropped = 0, lanesExpired = 0;
  for (uint32_t seed = 0; seed < 400; ++seed) {
    const TParticleInstructionList list = TListMaker(seed).Make(6);
    if (!RunsInBlocks(list)) continue;
    ++blocksRun;
    const int lanes = seed % 3 == 0 ? 37 : 64;
    std::vector<float> one(static_cast<size_t>(lanes) * kFloats), many;
    for (float& f : one) f = value(random);
    many = one;
    // Particle by particle.
    std::vector<bool> keep(lanes);
    for (int l = 0; l < lanes; ++l) {
      TParticleView view;
      view.particle = one.data() + l * kFloats;
      view.floatCount = kFloats;
      view.members = &members;
      view.elapsedMs = 16;
      RunParticleInstructions(list, view, stack, noFunctions);
      keep[l] = view.keepAlive;
    }
    // In one block.
    TParticleBlock block;
    block.lanes = lanes;
    for (int l = 0; l < lanes; ++l) block.particle[l] = many.data() + l * kFloats;
    block.active = block.AllLanes();
    block.floatCount = kFloats;
    block.members = &members;
    block.elapsedMs = 16;
    RunParticleBlock(list, block, *blockStack, noFunctions);
    for (int l = 0; l < lanes; ++l) {
      EXPECT_EQ(keep[l], (block.expired >> l & 1) == 0) << "seed " << seed << " lane " << l;
      lanesExpired += !keep[l];
      lanesDropped += !block.Active(l);
      for (int f = 0; f < kFloats; ++f) {
        const float a = one[static_cast<size_t>(l) * kFloats + f];
        const float b = many[static_cast<size_t>(l) * kFloats + f];
        if (std::isnan(a)) {
          EXPECT_TRUE(std::isnan(b)) << "seed " << seed;
        } else {
          ASSERT_NEAR(a, b, 1e-5f * std::max(1.0f, std::fabs(a)))
              << "seed " << seed << " lane " << l << " float " << f;
        }
      }
    }
  }
  // The random lists did exercise what they are for.
  EXPECT_GT(blocksRun, 300);
  EXPECT_GT(lanesDropped, 100);
  EXPECT_GT(lanesExpired, 100);
}

TEST(ParticleBlockTest, FunctionMembersAndForeignFunctionsRunLaneByLane) {
  FLocus locus(3, 4);
  std::vector<TParticleFunction*> functions = {&locus};
  const TParticleInstructionList list = {
      {std::make_shared<FGetParticleParam>(TParticleMemberHandle{-1, 2}), 0, {}},
      {std::make_shared<FTwice>(), 1, {2}},
      {std::make_shared<FAssignMember>(2, 2), 1, {2}}};
  float records[3][4] = {{1, 0, 0, 0}, {-1, 0, 0, 0}, {5, 0, 0, 0}};
  TParticleBlock block;
  block.lanes = 3;
  for (int l = 0; l < 3; ++l) block.particle[l] = records[l];
  block.active = block.AllLanes();
  block.floatCount = 4;
  auto stack = std::make_unique<TParticleBlockStack>();
  RunParticleBlock(list, block, *stack, functions);
  EXPECT_EQ(records[0][2], 6);
  EXPECT_EQ(records[0][3], 8);
  EXPECT_EQ(records[1][2], 0);  // the lane whose check failed writes nothing
  EXPECT_FALSE(block.Active(1));
  EXPECT_EQ(records[2][3], 8);
}

TEST(ParticleBlockTest, ListsThatCannotRunInBlocks) {
  const float one = 1, pair[2] = {1, 2};
  TParticleInstructionList mixedPick = {{std::make_shared<FPush>(&one, 1), 0, {}},
                                        {std::make_shared<FPush>(pair, 2), 0, {}},
                                        {FPick::Create(), 2, {1, 2}}};
  EXPECT_FALSE(RunsInBlocks(mixedPick));
  mixedPick.back().argSizes[1] = 1;
  EXPECT_TRUE(RunsInBlocks(mixedPick));
  TParticleInstructionList deep;
  for (int i = 0; i < 30; ++i) deep.push_back({std::make_shared<FPush>(pair, 2), 0, {}});
  EXPECT_TRUE(RunsInBlocks(deep));
  for (int i = 0; i < 30; ++i) deep.push_back({std::make_shared<FPush>(pair, 2), 0, {}});
  EXPECT_FALSE(RunsInBlocks(deep));  // more rows than a block's stack has
}
