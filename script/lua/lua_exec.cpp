// Translation of chunk instructions into the interpreter's executable form.
#include "script/lua/lua_exec.h"

#include <utility>

#include "script/lua/lua_opcodes.h"
#include "script/lua/lua_state.h"

namespace {

uint16_t Reg(int r) {
  return static_cast<uint16_t>(r * static_cast<int>(sizeof(Value)));
}
uint16_t Konst(int rk) {
  return static_cast<uint16_t>((rk - MAXSTACK) * static_cast<int>(sizeof(Value)));
}
uint16_t RegOrKonst(int rk) {
  return ISK(rk) ? Konst(rk) : Reg(rk);
}
void SetBx(ExecInstr* x, uint32_t v) {
  memcpy(&x->b, &v, sizeof v);
}

bool IsStringConstant(const Proto* p, int rk) {
  return ISK(rk) && ttisstring(&p->k[rk - MAXSTACK]);
}

uint8_t Kinds(int b, int c) {
  return static_cast<uint8_t>((ISK(b) ? XK_B_CONSTANT : 0) | (ISK(c) ? XK_C_CONSTANT : 0));
}

// The variant of an operation on RK(B) and RK(C): plain is the any-operands opcode and
// the three that follow it are _RR, _RK and _KR (withKR false when there is no _KR).
ExecOp Variant(ExecOp plain, int b, int c, bool withKR) {
  if (!ISK(b) && !ISK(c)) return static_cast<ExecOp>(plain + 1);
  if (!ISK(b) && ISK(c)) return static_cast<ExecOp>(plain + 2);
  if (withKR && ISK(b) && !ISK(c)) return static_cast<ExecOp>(plain + 3);
  return plain;
}

ExecInstr Translate(const Proto* p, Instruction i) {
  ExecInstr x{};
  int a = GETARG_A(i), b = GETARG_B(i), c = GETARG_C(i);
  x.a = Reg(a);
  switch (GET_OPCODE(i)) {
    case OP_MOVE:
      x.op = X_MOVE;
      x.b = Reg(b);
      break;
    case OP_LOADK:
      x.op = X_LOADK;
      SetBx(&x, static_cast<uint32_t>(GETARG_Bx(i)) * sizeof(Value));
      break;
    case OP_LOADBOOL:
      x.op = X_LOADBOOL;
      x.b = static_cast<uint16_t>(b);
      x.c = static_cast<uint16_t>(c);
      break;
    case OP_LOADNIL:
      x.op = X_LOADNIL;
      x.b = Reg(b);
      break;
    case OP_GETUPVAL:
      x.op = X_GETUPVAL;
      x.b = static_cast<uint16_t>(b);
      break;
    case OP_GETGLOBAL:
      x.op = X_GETGLOBAL;
      SetBx(&x, static_cast<uint32_t>(GETARG_Bx(i)) * sizeof(Value));
      break;
    case OP_GETTABLE:
      x.op = !ISK(c) ? X_GETTABLE : IsStringConstant(p, c) ? X_GETTABLE_S : X_GETTABLE_K;
      x.b = Reg(b);
      x.c = RegOrKonst(c);
      break;
    case OP_SETGLOBAL:
      x.op = X_SETGLOBAL;
      SetBx(&x, static_cast<uint32_t>(GETARG_Bx(i)) * sizeof(Value));
      break;
    case OP_SETUPVAL:
      x.op = X_SETUPVAL;
      x.b = static_cast<uint16_t>(b);
      break;
    case OP_SETTABLE:
      x.op = IsStringConstant(p, b) ? X_SETTABLE_S : X_SETTABLE;
      x.kinds = Kinds(b, c);
      x.b = RegOrKonst(b);
      x.c = RegOrKonst(c);
      break;
    case OP_NEWTABLE:
      x.op = X_NEWTABLE;
      x.b = static_cast<uint16_t>(b);
      x.c = static_cast<uint16_t>(c);
      break;
    case OP_SELF:
      x.op = IsStringConstant(p, c) ? X_SELF_S : X_SELF;
      x.kinds = Kinds(0, c);
      x.b = Reg(b);
      x.c = RegOrKonst(c);
      break;
    case OP_ADD:
    case OP_SUB:
    case OP_MUL:
    case OP_DIV: {
      static const ExecOp plain[] = {X_ADD, X_SUB, X_MUL, X_DIV};
      x.op = Variant(plain[GET_OPCODE(i) - OP_ADD], b, c, true);
      x.kinds = Kinds(b, c);
      x.b = RegOrKonst(b);
      x.c = RegOrKonst(c);
      break;
    }
    case OP_BAND:
    case OP_BOR:
    case OP_SHL:
    case OP_SHR:
      x.op = X_BITWISE;
      x.kinds = static_cast<uint8_t>(Kinds(b, c) | (GET_OPCODE(i) << 2));
      x.b = RegOrKonst(b);
      x.c = RegOrKonst(c);
      break;
    case OP_POW:
      x.op = X_POW;
      x.kinds = Kinds(b, c);
      x.b = RegOrKonst(b);
      x.c = RegOrKonst(c);
      break;
    case OP_UNM:
    case OP_NOT:
      x.op = GET_OPCODE(i) == OP_UNM ? X_UNM : X_NOT;
      x.b = Reg(b);
      break;
    case OP_CONCAT:
      x.op = X_CONCAT;
      x.b = static_cast<uint16_t>(b);
      x.c = static_cast<uint16_t>(c);
      break;
    case OP_JMP:
      x.op = X_JMP;
      SetBx(&x, static_cast<uint32_t>(GETARG_sBx(i)));
      break;
    case OP_EQ:
      // Equality is symmetric and a constant is never a table or userdata (whose "__eq"
      // would see the order), so a constant first operand becomes the second.
      if (ISK(b) && !ISK(c)) std::swap(b, c);
      x.op = Variant(X_EQ, b, c, false);
      x.a = static_cast<uint16_t>(a);
      x.kinds = Kinds(b, c);
      x.b = RegOrKonst(b);
      x.c = RegOrKonst(c);
      break;
    case OP_LT:
    case OP_LE:
      x.op = Variant(GET_OPCODE(i) == OP_LT ? X_LT : X_LE, b, c, true);
      x.a = static_cast<uint16_t>(a);
      x.kinds = Kinds(b, c);
      x.b = RegOrKonst(b);
      x.c = RegOrKonst(c);
      break;
    case OP_TEST:
      x.op = X_TEST;
      x.b = Reg(b);
      x.c = static_cast<uint16_t>(c);
      break;
    case OP_CALL:
    case OP_TAILCALL:
    case OP_RETURN:
      x.op = GET_OPCODE(i) == OP_CALL       ? X_CALL
             : GET_OPCODE(i) == OP_TAILCALL ? X_TAILCALL
                                            : X_RETURN;
      x.b = static_cast<uint16_t>(b);
      x.c = static_cast<uint16_t>(c);
      break;
    case OP_FORLOOP:
    case OP_TFORPREP:
      x.op = GET_OPCODE(i) == OP_FORLOOP ? X_FORLOOP : X_TFORPREP;
      SetBx(&x, static_cast<uint32_t>(GETARG_sBx(i)));
      break;
    case OP_TFORLOOP:
      x.op = X_TFORLOOP;
      x.c = static_cast<uint16_t>(c);
      break;
    case OP_SETLIST:
    case OP_SETLISTO:
      x.op = GET_OPCODE(i) == OP_SETLIST ? X_SETLIST : X_SETLISTO;
      SetBx(&x, static_cast<uint32_t>(GETARG_Bx(i)));
      break;
    case OP_CLOSE:
      x.op = X_CLOSE;
      break;
    case OP_CLOSURE:
      x.op = X_CLOSURE;
      SetBx(&x, static_cast<uint32_t>(GETARG_Bx(i)));
      break;
  }
  return x;
}

}  // namespace

void luaV_translate(lua_State* L, Proto* p) {
  lua_assert(p->exec == nullptr);
  p->exec = luaM_newvector<ExecInstr>(L, p->sizecode);
  for (int pc = 0; pc < p->sizecode; pc++) p->exec[pc] = Translate(p, p->code[pc]);
}
