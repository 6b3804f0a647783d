// The interpreter's own form of a function's code, made once per prototype from its chunk
// instructions (which stay as they are for dumping, checking and debug information).
//
// There is one executable instruction per chunk instruction, so positions, jump offsets
// and line numbers carry over unchanged. What the chunk instruction leaves to be decoded
// on every execution is decided here once: whether an operand is a register or a
// constant (and whether a constant key is a string) selects a variant of the opcode, and
// register and constant operands become byte offsets from the frame's base or the
// function's constants.
#pragma once

#include "script/lua/lua_object.h"

// Variants: _RR both operands registers, _RK register then constant, _KR constant then
// register, _S a string constant as key. The plain arithmetic and comparison opcodes and
// the bitwise ones take any operands and read their kinds from ExecInstr::kinds.
enum ExecOp : uint8_t {
  X_MOVE,
  X_LOADK,
  X_LOADBOOL,
  X_LOADNIL,
  X_GETUPVAL,
  X_GETGLOBAL,
  X_GETTABLE,  // key in a register
  X_GETTABLE_S,
  X_GETTABLE_K,  // a constant key of another type
  X_SETGLOBAL,
  X_SETUPVAL,
  X_SETTABLE,    // any key and value
  X_SETTABLE_S,  // string constant key, any value
  X_NEWTABLE,
  X_SELF,
  X_SELF_S,
  X_ADD,
  X_ADD_RR,
  X_ADD_RK,
  X_ADD_KR,
  X_SUB,
  X_SUB_RR,
  X_SUB_RK,
  X_SUB_KR,
  X_MUL,
  X_MUL_RR,
  X_MUL_RK,
  X_MUL_KR,
  X_DIV,
  X_DIV_RR,
  X_DIV_RK,
  X_DIV_KR,
  X_BITWISE,  // &, |, << and >>: the chunk opcode in `kinds` bits 2 and up
  X_POW,
  X_UNM,
  X_NOT,
  X_CONCAT,
  X_JMP,
  X_EQ,
  X_EQ_RR,
  X_EQ_RK,
  X_LT,
  X_LT_RR,
  X_LT_RK,
  X_LT_KR,
  X_LE,
  X_LE_RR,
  X_LE_RK,
  X_LE_KR,
  X_TEST,
  X_CALL,
  X_TAILCALL,
  X_RETURN,
  X_FORLOOP,
  X_TFORLOOP,
  X_TFORPREP,
  X_SETLIST,
  X_SETLISTO,
  X_CLOSE,
  X_CLOSURE,
  X_NUM_OPS
};

// Operand kinds of the plain variants.
enum : uint8_t { XK_B_CONSTANT = 1, XK_C_CONSTANT = 2 };

struct ExecInstr {
  uint8_t op;     // ExecOp
  uint8_t kinds;  // XK_ bits for the plain variants
  uint16_t a;     // register A as a byte offset, or the chunk's A where it is a flag
  uint16_t b;     // B: a byte offset for registers and constants, else as in the chunk
  uint16_t c;     // C, the same
};
static_assert(sizeof(ExecInstr) == 8);

// Bx and sBx take the place of B and C together.
inline uint32_t XGETBx(const ExecInstr* i) {
  uint32_t v;
  memcpy(&v, &i->b, sizeof v);
  return v;
}
inline int32_t XGETsBx(const ExecInstr* i) {
  int32_t v;
  memcpy(&v, &i->b, sizeof v);
  return v;
}

// Makes p->exec from p->code (checked code: the parser's or the chunk loader's).
void luaV_translate(lua_State* L, Proto* p);
