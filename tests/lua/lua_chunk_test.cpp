// The chunk loader refuses every kind of damage with a message and never runs it:
// header fields, truncation, trailing bytes, and code that would reach outside its
// registers, constants, upvalues or code.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"
#include "script/lua/lua_opcodes.h"
#include "tests/lua/dump_bytes.h"

namespace {

class ChunkTest : public testing::Test {
 protected:
  void SetUp() override {
    L = lua_open();
    luaL_openstdlibs(L);
  }
  void TearDown() override { lua_close(L); }

  std::string Compile(const char* src) {
    EXPECT_EQ(luaL_loadbuffer(L, src, strlen(src), "=src"), 0);
    const std::string bytes = DumpBytes(L);
    lua_pop(L, 1);
    return bytes;
  }

  // Loads bytes; answers the error message, or "" when the chunk was accepted.
  std::string Load(const std::string& bytes) {
    int status = luaL_loadbuffer(L, bytes.data(), bytes.size(), "=bin");
    std::string msg = status ? lua_tostring(L, -1) : "";
    lua_pop(L, 1);
    return msg;
  }

  // The main function's code is the last part of a chunk without nested functions.
  static Instruction GetCode(const std::string& b, int fromEnd) {
    Instruction i;
    memcpy(&i, b.data() + b.size() - 4 * fromEnd, 4);
    return i;
  }
  static void SetCode(std::string& b, int fromEnd, Instruction i) {
    memcpy(&b[b.size() - 4 * fromEnd], &i, 4);
  }

  lua_State* L = nullptr;
};

TEST_F(ChunkTest, OwnChunksLoadAndRun) {
  std::string b = Compile("local t = {1, 2, L\"w\"} return t[1] + t[2], t[3]");
  EXPECT_EQ(Load(b), "");
  ASSERT_EQ(luaL_loadbuffer(L, b.data(), b.size(), "=bin"), 0);
  ASSERT_EQ(lua_pcall(L, 0, 2, 0), 0);
  EXPECT_EQ(lua_tonumber(L, -2), 3);
  EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
}

TEST_F(ChunkTest, HeaderFieldsAreChecked) {
  std::string good = Compile("return 1");
  struct {
    size_t offset;
    char value;
    const char* why;
  } cases[] = {
      {4, 0x51, "bad version"}, {5, 0, "bad byte order"},         {6, 8, "bad sizes"},
      {7, 4, "bad sizes"},      {9, 7, "bad instruction format"}, {13, 4, "bad number size"}};
  for (const auto& c : cases) {
    std::string b = good;
    b[c.offset] = c.value;
    std::string msg = Load(b);
    EXPECT_NE(msg.find(c.why), std::string::npos) << c.offset << ": " << msg;
  }
  std::string b = good;
  b[14] ^= 0x40;  // the test number
  EXPECT_NE(Load(b).find("bad number format"), std::string::npos);
}

TEST_F(ChunkTest, TruncationAndTrailingBytesAreRefused) {
  std::string good = Compile("local a, b = 1, 'two' return function() return a, b end");
  for (size_t n = 1; n < good.size(); n++) {
    EXPECT_NE(Load(good.substr(0, n)), "") << "prefix of " << n << " bytes accepted";
  }
  EXPECT_NE(Load(good + "x").find("trailing bytes"), std::string::npos);
}

TEST_F(ChunkTest, RegistersConstantsAndJumpsAreChecked) {
  std::string good = Compile("local a = 'k' local b = a .. a return b");
  // The code ends in "RETURN b 2; RETURN 0 1".
  ASSERT_EQ(GET_OPCODE(GetCode(good, 1)), OP_RETURN);
  struct {
    Instruction ins;
    const char* why;
  } cases[] = {
      {CREATE_ABC(OP_MOVE, 0, 200, 0), "register out of range"},
      {CREATE_ABx(OP_LOADK, 0, 99), "constant out of range"},
      {CREATE_ABx(OP_GETGLOBAL, 0, 99), "bad global name"},
      {CREATE_ABC(OP_GETUPVAL, 0, 0, 0), "upvalue out of range"},
      {CREATE_ABx(OP_JMP, 0, MAXARG_sBx + 50), "jump out of code"},
      {CREATE_ABx(OP_JMP, 0, 0), "jump out of code"},
      {CREATE_ABC(OP_ADD, 0, MAXSTACK + 40, 0), "operand out of range"},
      {CREATE_ABC(OP_CONCAT, 0, 1, 0), "operand out of range"},
      {CREATE_ABC(OP_CALL, 0, 100, 1), "arguments out of range"},
      {CREATE_ABx(OP_CLOSURE, 0, 0), "prototype out of range"},
      {CREATE_ABC(OP_SELF, 249, 0, 0), "operand out of range"},
      {CREATE_ABC(OP_SETLIST, 0, 0, 31), "list out of range"},
      {static_cast<Instruction>(60), "bad opcode"},
  };
  for (const auto& c : cases) {
    std::string b = good;
    SetCode(b, 2, c.ins);
    std::string msg = Load(b);
    EXPECT_NE(msg.find(c.why), std::string::npos)
        << luaP_opinfo[GET_OPCODE(c.ins) % NUM_OPCODES].name << ": " << msg;
  }
  // A test must be followed by a jump, and code must end in a return.
  std::string b = good;
  SetCode(b, 2, CREATE_ABC(OP_EQ, 0, 0, 0));
  EXPECT_NE(Load(b).find("test without a jump"), std::string::npos);
  b = good;
  SetCode(b, 1, CREATE_ABC(OP_MOVE, 0, 0, 0));
  EXPECT_NE(Load(b).find("does not end in a return"), std::string::npos);
}

TEST_F(ChunkTest, NestedFunctionsAreCheckedToo) {
  std::string good = Compile("local x = 1 local f = function() return x end return f()");
  EXPECT_EQ(Load(good), "");
  // Damage every byte in turn: each result is either refused or loads cleanly.
  int refused = 0;
  for (size_t pos = 14; pos < good.size(); pos++) {
    std::string b = good;
    b[pos] = static_cast<char>(b[pos] ^ 0x5a);
    if (!Load(b).empty()) refused++;
  }
  EXPECT_GT(refused, static_cast<int>(good.size()) / 2);
}

}  // namespace

TEST_F(ChunkTest, ValuesUpToTheTopNeedAnOpenCall) {
  std::string good = Compile("local t = {} return f(g())");
  EXPECT_EQ(Load(good), "");
  // The code ends in "CALL g (all results); CALL f (args up to top); RETURN; RETURN".
  std::string b = good;
  Instruction closed = GetCode(b, 4);
  ASSERT_EQ(GET_OPCODE(closed), OP_CALL);
  ASSERT_EQ(GETARG_C(closed), 0);
  SETARG_C(&closed, 2);  // g now leaves one result: f would read a stale top
  SetCode(b, 4, closed);
  EXPECT_NE(Load(b).find("open call expected"), std::string::npos);
}
