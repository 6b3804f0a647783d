// The code generator: expression descriptors, registers, constants, jump lists and
// constant folding for the parser.
#pragma once

#include "script/lua/lua_lex.h"
#include "script/lua/lua_opcodes.h"

constexpr int NO_JUMP = -1;
constexpr int MAXVARS = 200;
constexpr int MAXUPVALUES = 32;

enum expkind {
  VVOID,  // no value (empty expression list)
  VNIL,
  VTRUE,
  VFALSE,
  VK,          // info = constant index
  VKNUM,       // nval = numeric constant (foldable)
  VLOCAL,      // info = local register
  VUPVAL,      // info = upvalue index
  VGLOBAL,     // info = constant index of the name
  VINDEXED,    // info = table register, aux = key RK
  VJMP,        // info = pc of the jump of a comparison
  VRELOCABLE,  // info = pc of an instruction whose A is still free
  VNONRELOC,   // info = register holding the value
  VCALL        // info = pc of the CALL
};

struct expdesc {
  expkind k;
  int info, aux;
  double nval;
  int t;  // jumps taken when true
  int f;  // jumps taken when false
};

struct upvaldesc {
  uint8_t k;
  uint8_t info;
};

struct BlockCnt;

struct FuncState {
  Proto* f;
  Table* h;  // constant -> index
  FuncState* prev;
  LexState* ls;
  lua_State* L;
  BlockCnt* bl;
  int pc;
  int lasttarget;
  int jpc;  // jumps to the current pc
  int freereg;
  int nk;
  int np;
  int nlocvars;
  int nactvar;
  upvaldesc upvalues[MAXUPVALUES];
  int actvar[MAXVARS];
};

enum BinOpr {
  OPR_ADD,
  OPR_SUB,
  OPR_MULT,
  OPR_DIV,
  OPR_BAND,
  OPR_BOR,
  OPR_SHL,
  OPR_SHR,
  OPR_POW,
  OPR_CONCAT,
  OPR_NE,
  OPR_EQ,
  OPR_LT,
  OPR_LE,
  OPR_GT,
  OPR_GE,
  OPR_AND,
  OPR_OR,
  OPR_NOBINOPR
};
enum UnOpr { OPR_MINUS, OPR_NOT, OPR_NOUNOPR };

inline void init_exp(expdesc* e, expkind k, int i) {
  e->f = e->t = NO_JUMP;
  e->k = k;
  e->info = i;
  e->aux = 0;
  e->nval = 0;
}
inline bool hasmultret(expkind k) {
  return k == VCALL;
}
inline Instruction& getcode(FuncState* fs, const expdesc* e) {
  return fs->f->code[e->info];
}

int luaK_code(FuncState* fs, Instruction i, int line);
int luaK_codeABC(FuncState* fs, OpCode o, int a, int b, int c);
int luaK_codeABx(FuncState* fs, OpCode o, int a, int bx);
int luaK_codeAsBx(FuncState* fs, OpCode o, int a, int sbx);
void luaK_fixline(FuncState* fs, int line);
void luaK_nil(FuncState* fs, int from, int n);
void luaK_reserveregs(FuncState* fs, int n);
void luaK_checkstack(FuncState* fs, int n);
int luaK_stringK(FuncState* fs, TString* s);
int luaK_numberK(FuncState* fs, double r);
void luaK_dischargevars(FuncState* fs, expdesc* e);
int luaK_exp2anyreg(FuncState* fs, expdesc* e);
void luaK_exp2nextreg(FuncState* fs, expdesc* e);
void luaK_exp2val(FuncState* fs, expdesc* e);
int luaK_exp2RK(FuncState* fs, expdesc* e);
void luaK_self(FuncState* fs, expdesc* e, expdesc* key);
void luaK_indexed(FuncState* fs, expdesc* t, expdesc* k);
void luaK_goiftrue(FuncState* fs, expdesc* e);
void luaK_goiffalse(FuncState* fs, expdesc* e);
void luaK_storevar(FuncState* fs, expdesc* var, expdesc* e);
void luaK_setcallreturns(FuncState* fs, expdesc* e, int nresults);
int luaK_jump(FuncState* fs);
void luaK_patchlist(FuncState* fs, int list, int target);
void luaK_patchtohere(FuncState* fs, int list);
void luaK_concat(FuncState* fs, int* l1, int l2);
int luaK_getlabel(FuncState* fs);
void luaK_prefix(FuncState* fs, UnOpr op, expdesc* v);
void luaK_infix(FuncState* fs, BinOpr op, expdesc* v);
void luaK_posfix(FuncState* fs, BinOpr op, expdesc* v1, expdesc* v2);
void luaK_freeexp(FuncState* fs, expdesc* e);
int luaO_int2fb(unsigned int x);
