// The particle expression machine: each function's arithmetic and checks, and how a list
// runs over a particle.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "gfx/particle_functions.h"
#include "gfx/particle_locus.h"
#include "gfx/particle_random.h"

namespace {

using TValue = std::vector<float>;

class ParticleMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 20; ++i) particle[i] = static_cast<float>(i + 1);
    members = {{0, 2}, {2, 2}, {4, 1}, {5, 4}, {9, 1}, {10, 10}};
    view.particle = particle;
    view.floatCount = 20;
    view.members = &members;
    view.elapsedMs = 250;
  }
  // Puts the arguments on the stack and evaluates f over them; the result (if any) in out.
  bool Call(TParticleFunction& f, const std::vector<TValue>& args, TValue* out = nullptr) {
    stack.Clear();
    for (const TValue& arg : args)
      EXPECT_TRUE(stack.Put(stack.Depth(), arg.data(), static_cast<int>(arg.size())));
    TParticleCallFrame frame{&functionMembers, &stack, 0, static_cast<int>(args.size())};
    view.keepAlive = true;
    if (!f.Evaluate(view, frame)) return false;
    if (out) {
      out->clear();
      if (frame.first == 1) out->assign(stack.Values(0), stack.Values(0) + stack.Size(0));
    }
    return true;
  }
  TValue Result(TParticleFunction& f, const std::vector<TValue>& args) {
    TValue out;
    EXPECT_TRUE(Call(f, args, &out)) << f.ClassName();
    return out;
  }
  static void ExpectNear(const TValue& actual, const TValue& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << i;
  }
  static void Seed(uint32_t word) {
    const uint32_t key[4] = {word, 2, 3, 4};
    particle_random::Seed(key);
  }

  float particle[20];
  std::vector<TParticleMember> members;
  std::vector<TParticleFunction*> functionMembers;
  TParticleView view;
  TParticleStack stack;
};

}  // namespace

TEST_F(ParticleMachineTest, FadeWalksItsDurations) {
  FFade fade;
  const TValue a{0, 10}, b{4, 20}, c{8, 0};
  auto at = [&](float t) { return Result(fade, {{t}, a, {400}, b, {600}, c}); };
  ExpectNear(at(0), a);
  ExpectNear(at(200), {2, 15});
  ExpectNear(at(400), b);
  ExpectNear(at(700), {6, 10});
  ExpectNear(at(1000), c);
  ExpectNear(at(5000), c);
  ExpectNear(Result(fade, {{123}, a}), a);
  // A duration without a value after it is ignored; values of another size fail.
  ExpectNear(Result(fade, {{200}, a, {400}, b, {50}}), {2, 15});
  EXPECT_FALSE(Call(fade, {{200}, a, {400}, {1, 2, 3}}));
  EXPECT_EQ(fade.ResultSize(6, std::array<uint8_t, 6>{1, 2, 1, 2, 1, 2}.data()), 2);
}

TEST_F(ParticleMachineTest, RandomFunctionsDrawFromTheSharedGenerator) {
  FRange range;
  Seed(7);
  const float u0 = particle_random::Uniform(), u1 = particle_random::Uniform();
  Seed(7);
  ExpectNear(Result(range, {{0, 10}, {1, 30}}), {u0, 10 + 20 * u1});
  EXPECT_NE(u0, u1);  // each component draws its own number
  EXPECT_FALSE(Call(range, {{1}, {1, 2}}));

  FPick pick;
  std::set<size_t> sizes;
  for (uint32_t s = 0; s < 40; ++s) {
    Seed(s);
    const TValue picked = Result(pick, {{1}, {2, 3}, {4, 5, 6, 7}});
    sizes.insert(picked.size());
    if (picked.size() == 2) ExpectNear(picked, {2, 3});
    if (picked.size() == 4) ExpectNear(picked, {4, 5, 6, 7});
  }
  EXPECT_EQ(sizes, (std::set<size_t>{1, 2, 4}));
  EXPECT_FALSE(Call(pick, {}));

  F2dRadius radius;
  for (uint32_t s = 0; s < 10; ++s) {
    const TValue point = Result(radius, {{5}});
    EXPECT_NEAR(std::hypot(point[0], point[1]), 5, 1e-4);
  }
  EXPECT_FALSE(Call(radius, {{5}, {1, 2, 3}}));
  for (int i = 0; i < 1000; ++i) {
    const int value = particle_random::Range(-2, 3);
    ASSERT_GE(value, -2);
    ASSERT_LE(value, 3);
  }
}

TEST_F(ParticleMachineTest, TimeFunctionsUseTheStepsTime) {
  FAge age;
  FTimeScale scale;
  ExpectNear(Result(age, {}), {250});
  ExpectNear(Result(scale, {{100, -8}}), {25, -2});
  view.elapsedMs = 0;  // a particle being created
  ExpectNear(Result(age, {}), {0});
  ExpectNear(Result(scale, {{100, -8}}), {0, 0});

  FExpire expire;
  ExpectNear(Result(expire, {{0}}), {0});
  EXPECT_TRUE(view.keepAlive);
  ExpectNear(Result(expire, {{1}}), {1});
  EXPECT_FALSE(view.keepAlive);
}

TEST_F(ParticleMachineTest, ArithmeticAndItsChecks) {
  FAdd add;
  FSub sub;
  FMul mul;
  FDiv div;
  FLt lt;
  FLe le;
  ExpectNear(Result(add, {{1, 2}, {10, 20}}), {11, 22});
  ExpectNear(Result(sub, {{1, 2}, {10, 20}}), {-9, -18});
  ExpectNear(Result(mul, {{1, 2}, {3}}), {3, 6});
  ExpectNear(Result(div, {{1, 2}, {4}}), {0.25f, 0.5f});
  ExpectNear(Result(lt, {{1}, {1}}), {0});
  ExpectNear(Result(le, {{1}, {1}}), {1});
  EXPECT_FALSE(Call(mul, {{1, 2}, {3, 4}}));  // the factor must be one float
  EXPECT_FALSE(Call(add, {{1, 2, 3}, {1}}));  // b shorter than a
  EXPECT_FALSE(Call(lt, {{1, 2}, {1}}));

  F2dRotation rotation;
  ExpectNear(Result(rotation, {{-3.14159265f / 2}}), {0, -1});
  FVec vec;
  ExpectNear(Result(vec, {{1}, {2}, {3}}), {1, 2, 3});
  EXPECT_FALSE(Call(vec, {{1}, {2}, {3}, {4}, {5}}));
}

TEST_F(ParticleMachineTest, MembersAreReadAndWrittenWithinTheRecord) {
  FIndex index;
  ExpectNear(Result(index, {{5}, {2}}), {7});  // float 6 (components count from 1)
  EXPECT_FALSE(Call(index, {{19}, {3}}));      // float 21 of a 20-float record

  FAssign assign;
  EXPECT_TRUE(Call(assign, {{7, 8, 9}, {2}, {2}}));
  EXPECT_EQ(particle[2], 7);
  EXPECT_EQ(particle[3], 8);
  EXPECT_EQ(particle[4], 5);  // the member has two floats: the third value is not written
  EXPECT_FALSE(Call(assign, {{1, 2}, {19}, {2}}));
  EXPECT_FALSE(Call(assign, {{1}, {-1}, {1}}));
  EXPECT_FALSE(Call(assign, {{1}, {NAN}, {1}}));

  FNewIndex newIndex;
  ExpectNear(Result(newIndex, {{3}, {4}, {-5}}), {-5});  // member 3 is pColor: float 8
  EXPECT_EQ(particle[8], -5);
  EXPECT_FALSE(Call(newIndex, {{3}, {5}, {1}}));
  EXPECT_FALSE(Call(newIndex, {{6}, {1}, {1}}));

  FGetParticleParam get(TParticleMemberHandle{5, 4});
  ExpectNear(Result(get, {}), {6, 7, 8, -5});
  FGetParticleParam outside(TParticleMemberHandle{18, 4});
  EXPECT_FALSE(Call(outside, {}));
  FLocus locus(3, 4);
  functionMembers.push_back(&locus);
  FGetParticleParam function(TParticleMemberHandle{-1, 2});
  ExpectNear(Result(function, {}), {3, 4});
  FGetParticleParam missing(TParticleMemberHandle{-2, 2});
  EXPECT_FALSE(Call(missing, {}));
}

TEST_F(ParticleMachineTest, AFailedCheckEndsTheParticlesList) {
  auto push = [](TValue v) {
    return TParticleInstruction{
        std::make_shared<FPush>(v.data(), static_cast<int>(v.size())), 0, {}};
  };
  auto call = [](std::shared_ptr<TParticleFunction> f, int n) {
    TParticleInstruction instruction{std::move(f), static_cast<uint8_t>(n), {}};
    return instruction;
  };
  // particle[0] = 42; then a multiplication by a 2-float factor fails; particle[1] = 43
  // never happens.
  const TParticleInstructionList list = {push({42}),
                                         push({0}),
                                         push({1}),
                                         call(std::make_shared<FAssign>(), 3),
                                         push({1, 2}),
                                         push({3, 4}),
                                         call(std::make_shared<FMul>(), 2),
                                         push({43}),
                                         push({1}),
                                         push({1}),
                                         call(std::make_shared<FAssign>(), 3)};
  RunParticleInstructions(list, view, stack, functionMembers);
  EXPECT_EQ(particle[0], 42);
  EXPECT_EQ(particle[1], 2);
  // An instruction whose arguments are not on the stack ends the list too.
  const TParticleInstructionList short_list = {push({1}), call(std::make_shared<FAdd>(), 2),
                                               push({9}), push({0}),
                                               push({1}), call(std::make_shared<FAssign>(), 3)};
  RunParticleInstructions(short_list, view, stack, functionMembers);
  EXPECT_EQ(particle[0], 42);
}

TEST_F(ParticleMachineTest, StackKeepsItsLimits) {
  const float values[255] = {};
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(stack.Put(i, values, 255));
  EXPECT_FALSE(stack.Put(4, values, 1));  // 1021 floats
  EXPECT_EQ(stack.Depth(), 4);
  stack.Clear();
  for (int i = 0; i < TParticleStack::kMaxEntries; ++i) ASSERT_TRUE(stack.Put(i, values, 1));
  EXPECT_FALSE(stack.Put(TParticleStack::kMaxEntries, values, 1));
}

TEST_F(ParticleMachineTest, ClassesAnswerTheirNameAndKind) {
  FFade fade;
  FLocus locus;
  EXPECT_STREQ(fade.ClassName(), "FFade");
  EXPECT_TRUE(fade.IsKindOf(&FFade::Create));
  EXPECT_TRUE(fade.IsKindOf(&TParticleFunction::Create));
  EXPECT_FALSE(fade.IsKindOf(&FAdd::Create));
  EXPECT_TRUE(locus.IsKindOf(&FLocus::Create));
  EXPECT_EQ(TParticleMemberHandle::Unpack(TParticleMemberHandle{-3, 2}.Pack()).base, -3);
}
