// Instruction format and the opcode table.
//
// An instruction is 32 bits: opcode in the low 6 bits, then C (9 bits), B (9 bits)
// and A (8 bits) at the top; Bx is B and C together (18 bits), sBx is Bx minus
// MAXARG_sBx. An RK operand below MAXSTACK is a register, otherwise constant
// number (operand - MAXSTACK).
#pragma once

#include "script/lua/lua_object.h"

enum OpMode { iABC, iABx, iAsBx };

constexpr int SIZE_C = 9, SIZE_B = 9, SIZE_Bx = SIZE_C + SIZE_B, SIZE_A = 8, SIZE_OP = 6;
constexpr int POS_C = SIZE_OP, POS_B = POS_C + SIZE_C, POS_Bx = POS_C, POS_A = POS_B + SIZE_B;
constexpr int MAXARG_Bx = (1 << SIZE_Bx) - 1;
constexpr int MAXARG_sBx = MAXARG_Bx >> 1;
constexpr int MAXARG_A = (1 << SIZE_A) - 1;
constexpr int MAXARG_B = (1 << SIZE_B) - 1;
constexpr int MAXARG_C = (1 << SIZE_C) - 1;
constexpr int MAXSTACK = 250;  // registers per function; RK operands above are constants
constexpr int NO_REG = MAXARG_A;
constexpr int LFIELDS_PER_FLUSH = 32;  // SETLIST batch size

// Opcodes in chunk numbering. The bitwise operators sit between DIV and UNM; "^"
// (exclusive or on numbers) keeps the power operator's slot name.
enum OpCode {
  OP_MOVE,       // A B     R(A) := R(B)
  OP_LOADK,      // A Bx    R(A) := Kst(Bx)
  OP_LOADBOOL,   // A B C   R(A) := (Bool)B; if (C) PC++
  OP_LOADNIL,    // A B     R(A) := ... := R(B) := nil
  OP_GETUPVAL,   // A B     R(A) := UpValue[B]
  OP_GETGLOBAL,  // A Bx    R(A) := Gbl[Kst(Bx)]
  OP_GETTABLE,   // A B C   R(A) := R(B)[RK(C)]
  OP_SETGLOBAL,  // A Bx    Gbl[Kst(Bx)] := R(A)
  OP_SETUPVAL,   // A B     UpValue[B] := R(A)
  OP_SETTABLE,   // A B C   R(A)[RK(B)] := RK(C)
  OP_NEWTABLE,   // A B C   R(A) := {} (array size fb2int(B), hash size 2^C)
  OP_SELF,       // A B C   R(A+1) := R(B); R(A) := R(B)[RK(C)]
  OP_ADD,        // A B C   R(A) := RK(B) + RK(C)
  OP_SUB,        // A B C   R(A) := RK(B) - RK(C)
  OP_MUL,        // A B C   R(A) := RK(B) * RK(C)
  OP_DIV,        // A B C   R(A) := RK(B) / RK(C)
  OP_BAND,       // A B C   R(A) := RK(B) & RK(C)   (32-bit integers)
  OP_BOR,        // A B C   R(A) := RK(B) | RK(C)
  OP_SHL,        // A B C   R(A) := RK(B) << RK(C)
  OP_SHR,        // A B C   R(A) := RK(B) >> RK(C)  (logical)
  OP_POW,        // A B C   R(A) := RK(B) ^ RK(C)   (xor on numbers, else "__pow")
  OP_UNM,        // A B     R(A) := -R(B)
  OP_NOT,        // A B     R(A) := not R(B)
  OP_CONCAT,     // A B C   R(A) := R(B).. ... ..R(C)
  OP_JMP,        // sBx     PC += sBx
  OP_EQ,         // A B C   if ((RK(B) == RK(C)) ~= A) then PC++
  OP_LT,         // A B C   if ((RK(B) <  RK(C)) ~= A) then PC++
  OP_LE,         // A B C   if ((RK(B) <= RK(C)) ~= A) then PC++
  OP_TEST,       // A B C   if (R(B) <=> C) then R(A) := R(B) else PC++ (next is a JMP)
  OP_CALL,       // A B C   R(A), ..., R(A+C-2) := R(A)(R(A+1), ..., R(A+B-1))
  OP_TAILCALL,   // A B C   return R(A)(R(A+1), ..., R(A+B-1))
  OP_RETURN,     // A B     return R(A), ..., R(A+B-2)
  OP_FORLOOP,    // A sBx   R(A) += R(A+2); if R(A) <?= R(A+1) then PC += sBx
  OP_TFORLOOP,   // A C     R(A+2), ..., R(A+2+C) := R(A)(R(A+1), R(A+2));
                 //         if R(A+2) ~= nil then PC++ is skipped (the next JMP loops)
  OP_TFORPREP,   // A sBx   if type(R(A)) == table then R(A+1) := R(A), R(A) := next;
                 //         PC += sBx
  OP_SETLIST,    // A Bx    R(A)[Bx-Bx%FPF+i] := R(A+i), 1 <= i <= Bx%FPF+1
  OP_SETLISTO,   // A Bx    as SETLIST, up to the stack top
  OP_CLOSE,      // A       close all upvalues >= R(A)
  OP_CLOSURE     // A Bx    R(A) := closure(KPROTO[Bx], R(A), ..., R(A+n))
};
constexpr int NUM_OPCODES = OP_CLOSURE + 1;

// B=0 in CALL/RETURN/SETLISTO: values up to the top; C=0 in CALL: all results.
// CLOSURE is followed by one MOVE (local) or GETUPVAL (upvalue) per upvalue of the
// new function, which only name the source of each upvalue.

inline OpCode GET_OPCODE(Instruction i) {
  return static_cast<OpCode>(i & 0x3f);
}
inline int GETARG_A(Instruction i) {
  return static_cast<int>(i >> POS_A);
}
inline int GETARG_B(Instruction i) {
  return static_cast<int>((i >> POS_B) & MAXARG_B);
}
inline int GETARG_C(Instruction i) {
  return static_cast<int>((i >> POS_C) & MAXARG_C);
}
inline int GETARG_Bx(Instruction i) {
  return static_cast<int>((i >> POS_Bx) & MAXARG_Bx);
}
inline int GETARG_sBx(Instruction i) {
  return GETARG_Bx(i) - MAXARG_sBx;
}
inline Instruction CREATE_ABC(OpCode o, int a, int b, int c) {
  return static_cast<Instruction>(o) | (static_cast<Instruction>(a) << POS_A) |
         (static_cast<Instruction>(b) << POS_B) | (static_cast<Instruction>(c) << POS_C);
}
inline Instruction CREATE_ABx(OpCode o, int a, int bc) {
  return static_cast<Instruction>(o) | (static_cast<Instruction>(a) << POS_A) |
         (static_cast<Instruction>(bc) << POS_Bx);
}
inline void SETARG_A(Instruction* i, int a) {
  *i = (*i & ~(static_cast<Instruction>(MAXARG_A) << POS_A)) |
       (static_cast<Instruction>(a) << POS_A);
}
inline void SETARG_B(Instruction* i, int b) {
  *i = (*i & ~(static_cast<Instruction>(MAXARG_B) << POS_B)) |
       (static_cast<Instruction>(b) << POS_B);
}
inline void SETARG_C(Instruction* i, int c) {
  *i = (*i & ~(static_cast<Instruction>(MAXARG_C) << POS_C)) |
       (static_cast<Instruction>(c) << POS_C);
}
inline void SETARG_Bx(Instruction* i, int bx) {
  *i = (*i & ~(static_cast<Instruction>(MAXARG_Bx) << POS_Bx)) |
       (static_cast<Instruction>(bx) << POS_Bx);
}
inline void SETARG_sBx(Instruction* i, int b) {
  SETARG_Bx(i, b + MAXARG_sBx);
}

inline bool ISK(int x) {
  return x >= MAXSTACK;
}

// Operand kinds used by the code checker.
enum OpArgMask { OpArgN, OpArgU, OpArgR, OpArgK };
struct OpInfo {
  const char* name;
  OpMode mode;
  bool setsA;   // the instruction writes register A
  bool isTest;  // the next instruction is a jump
  OpArgMask b, c;
};
extern const OpInfo luaP_opinfo[NUM_OPCODES];
