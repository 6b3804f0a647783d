// The code generator: expression descriptors, registers, constants, jump lists and
// constant folding for the parser.
#include "script/lua/lua_code.h"

#include <cmath>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_table.h"
#include "script/lua/lua_vm.h"

int luaO_int2fb(unsigned int x) {
  int m = 0;
  while (x >= 8) {
    x = (x + 1) >> 1;
    m++;
  }
  return (m << 3) | static_cast<int>(x);
}

static bool HasJumps(const expdesc* e) {
  return e->t != e->f;
}

int luaK_getlabel(FuncState* fs) {
  fs->lasttarget = fs->pc;
  return fs->pc;
}

static int GetJump(FuncState* fs, int pc) {
  int offset = GETARG_sBx(fs->f->code[pc]);
  return offset == NO_JUMP ? NO_JUMP : (pc + 1) + offset;
}

static void FixJump(FuncState* fs, int pc, int dest) {
  int offset = dest - (pc + 1);
  if (offset > MAXARG_sBx || offset < -MAXARG_sBx)
    luaX_syntaxerror(fs->ls, "control structure too long");
  SETARG_sBx(&fs->f->code[pc], offset);
}

static Instruction* GetJumpControl(FuncState* fs, int pc) {
  Instruction* pi = &fs->f->code[pc];
  if (pc >= 1 && luaP_opinfo[GET_OPCODE(*(pi - 1))].isTest) return pi - 1;
  return pi;
}

void luaK_concat(FuncState* fs, int* l1, int l2) {
  if (l2 == NO_JUMP) return;
  if (*l1 == NO_JUMP) {
    *l1 = l2;
    return;
  }
  int list = *l1, next;
  while ((next = GetJump(fs, list)) != NO_JUMP) list = next;
  FixJump(fs, list, l2);
}

// A TEST whose tested value must not become the expression's value (it sits under a
// `not`) carries this mark in A until its list is patched.
constexpr int NO_VALUE_REG = NO_REG - 1;

// Sends every jump of the list to vtarget when its test can leave the value in reg
// (a TEST whose condition is `cond`), otherwise to dtarget.
static void PatchListAux(FuncState* fs, int list, int vtarget, int reg, int dtarget, int cond) {
  while (list != NO_JUMP) {
    int next = GetJump(fs, list);
    Instruction* i = GetJumpControl(fs, list);
    bool canCarry = GETARG_A(*i) != NO_VALUE_REG || cond < 0;
    if (GET_OPCODE(*i) == OP_TEST && canCarry && (cond < 0 || GETARG_C(*i) == cond)) {
      SETARG_A(i, reg != NO_REG ? reg : GETARG_B(*i));
      FixJump(fs, list, vtarget);
    } else {
      if (GET_OPCODE(*i) == OP_TEST) SETARG_A(i, GETARG_B(*i));
      FixJump(fs, list, dtarget);
    }
    list = next;
  }
}

static void DischargeJpc(FuncState* fs) {
  PatchListAux(fs, fs->jpc, fs->pc, NO_REG, fs->pc, -1);
  fs->jpc = NO_JUMP;
}

void luaK_patchlist(FuncState* fs, int list, int target) {
  if (target == fs->pc) {
    luaK_patchtohere(fs, list);
  } else {
    PatchListAux(fs, list, target, NO_REG, target, -1);
  }
}

static void RemoveValues(FuncState* fs, int list);

// Jumps sent "here" continue the code; the values their tests saw are not results. They
// may later be merged into another jump (luaK_jump), which then decides the value.
void luaK_patchtohere(FuncState* fs, int list) {
  luaK_getlabel(fs);
  RemoveValues(fs, list);
  luaK_concat(fs, &fs->jpc, list);
}

int luaK_code(FuncState* fs, Instruction i, int line) {
  Proto* f = fs->f;
  DischargeJpc(fs);
  luaM_growvector(fs->L, f->code, fs->pc, f->sizecode, 0x7fffffff, "code size overflow");
  f->code[fs->pc] = i;
  luaM_growvector(fs->L, f->lineinfo, fs->pc, f->sizelineinfo, 0x7fffffff, "code size overflow");
  f->lineinfo[fs->pc] = line;
  return fs->pc++;
}

int luaK_codeABC(FuncState* fs, OpCode o, int a, int b, int c) {
  return luaK_code(fs, CREATE_ABC(o, a, b, c), fs->ls->lastline);
}
int luaK_codeABx(FuncState* fs, OpCode o, int a, int bx) {
  return luaK_code(fs, CREATE_ABx(o, a, bx), fs->ls->lastline);
}
int luaK_codeAsBx(FuncState* fs, OpCode o, int a, int sbx) {
  return luaK_codeABx(fs, o, a, sbx + MAXARG_sBx);
}

void luaK_fixline(FuncState* fs, int line) {
  fs->f->lineinfo[fs->pc - 1] = line;
}

int luaK_jump(FuncState* fs) {
  int jpc = fs->jpc;
  fs->jpc = NO_JUMP;
  int j = luaK_codeAsBx(fs, OP_JMP, 0, NO_JUMP);
  luaK_concat(fs, &j, jpc);
  return j;
}

static int CondJump(FuncState* fs, OpCode op, int a, int b, int c) {
  luaK_codeABC(fs, op, a, b, c);
  return luaK_jump(fs);
}

void luaK_nil(FuncState* fs, int from, int n) {
  if (fs->pc > fs->lasttarget) {
    if (fs->pc == 0 && from >= fs->nactvar) return;  // registers start out nil
    Instruction* previous = &fs->f->code[fs->pc - 1];
    if (fs->pc > 0 && GET_OPCODE(*previous) == OP_LOADNIL) {
      int pfrom = GETARG_A(*previous);
      int pto = GETARG_B(*previous);
      if (pfrom <= from && from <= pto + 1) {
        if (from + n - 1 > pto) SETARG_B(previous, from + n - 1);
        return;
      }
    }
  }
  luaK_codeABC(fs, OP_LOADNIL, from, from + n - 1, 0);
}

void luaK_checkstack(FuncState* fs, int n) {
  int newstack = fs->freereg + n;
  if (newstack > fs->f->maxstacksize) {
    if (newstack >= MAXSTACK) luaX_syntaxerror(fs->ls, "function or expression too complex");
    fs->f->maxstacksize = static_cast<uint8_t>(newstack);
  }
}

void luaK_reserveregs(FuncState* fs, int n) {
  luaK_checkstack(fs, n);
  fs->freereg += n;
}

static void FreeReg(FuncState* fs, int reg) {
  if (reg >= fs->nactvar && reg < MAXSTACK) fs->freereg--;
}

void luaK_freeexp(FuncState* fs, expdesc* e) {
  if (e->k == VNONRELOC) FreeReg(fs, e->info);
}

static int AddK(FuncState* fs, const Value* k, const Value* v) {
  lua_State* L = fs->L;
  const Value* idx = luaH_get(fs->h, k);
  if (ttisnumber(idx)) return static_cast<int>(idx->n);
  Proto* f = fs->f;
  if (fs->nk >= MAXARG_Bx) luaX_syntaxerror(fs->ls, "constant table overflow");
  int oldsize = f->sizek;
  luaM_growvector(L, f->k, fs->nk, f->sizek, MAXARG_Bx, "constant table overflow");
  for (int i = oldsize; i < f->sizek; i++) setnilvalue(&f->k[i]);
  f->k[fs->nk] = *v;
  setnvalue(luaH_set(L, fs->h, k), fs->nk);
  return fs->nk++;
}

int luaK_stringK(FuncState* fs, TString* s) {
  Value o;
  setsvalue(&o, s);
  return AddK(fs, &o, &o);
}

int luaK_numberK(FuncState* fs, double r) {
  Value o;
  setnvalue(&o, r);
  if (std::isnan(r) || (r == 0 && std::signbit(r))) {
    // Such keys cannot index the lookup table: give them a fresh slot each time.
    Proto* f = fs->f;
    int oldsize = f->sizek;
    luaM_growvector(fs->L, f->k, fs->nk, f->sizek, MAXARG_Bx, "constant table overflow");
    for (int i = oldsize; i < f->sizek; i++) setnilvalue(&f->k[i]);
    f->k[fs->nk] = o;
    return fs->nk++;
  }
  return AddK(fs, &o, &o);
}

static int NilK(FuncState* fs) {
  Value k, v;
  sethvalue(&k, fs->h);  // the table itself stands for nil
  setnilvalue(&v);
  return AddK(fs, &k, &v);
}

void luaK_setcallreturns(FuncState* fs, expdesc* e, int nresults) {
  if (e->k == VCALL) {
    SETARG_C(&getcode(fs, e), nresults + 1);
    if (nresults == 1) {
      e->k = VNONRELOC;
      e->info = GETARG_A(getcode(fs, e));
    }
  }
}

void luaK_dischargevars(FuncState* fs, expdesc* e) {
  switch (e->k) {
    case VLOCAL:
      e->k = VNONRELOC;
      break;
    case VUPVAL:
      e->info = luaK_codeABC(fs, OP_GETUPVAL, 0, e->info, 0);
      e->k = VRELOCABLE;
      break;
    case VGLOBAL:
      e->info = luaK_codeABx(fs, OP_GETGLOBAL, 0, e->info);
      e->k = VRELOCABLE;
      break;
    case VINDEXED:
      FreeReg(fs, e->aux);
      FreeReg(fs, e->info);
      e->info = luaK_codeABC(fs, OP_GETTABLE, 0, e->info, e->aux);
      e->k = VRELOCABLE;
      break;
    case VCALL:
      luaK_setcallreturns(fs, e, 1);
      break;
    default:
      break;
  }
}

static int CodeLabel(FuncState* fs, int a, int b, int jump) {
  luaK_getlabel(fs);
  return luaK_codeABC(fs, OP_LOADBOOL, a, b, jump);
}

static void Discharge2Reg(FuncState* fs, expdesc* e, int reg) {
  luaK_dischargevars(fs, e);
  switch (e->k) {
    case VNIL:
      luaK_nil(fs, reg, 1);
      break;
    case VFALSE:
    case VTRUE:
      luaK_codeABC(fs, OP_LOADBOOL, reg, e->k == VTRUE, 0);
      break;
    case VK:
      luaK_codeABx(fs, OP_LOADK, reg, e->info);
      break;
    case VKNUM:
      luaK_codeABx(fs, OP_LOADK, reg, luaK_numberK(fs, e->nval));
      break;
    case VRELOCABLE:
      SETARG_A(&getcode(fs, e), reg);
      break;
    case VNONRELOC:
      if (reg != e->info) luaK_codeABC(fs, OP_MOVE, reg, e->info, 0);
      break;
    default:
      return;  // VVOID or VJMP: nothing to do
  }
  e->info = reg;
  e->k = VNONRELOC;
}

static void Discharge2AnyReg(FuncState* fs, expdesc* e) {
  if (e->k != VNONRELOC) {
    luaK_reserveregs(fs, 1);
    Discharge2Reg(fs, e, fs->freereg - 1);
  }
}

// Does any jump of the list need a boolean produced for it (a comparison, or a test
// of the opposite condition)?
static bool NeedValue(FuncState* fs, int list, int cond) {
  for (; list != NO_JUMP; list = GetJump(fs, list)) {
    Instruction i = *GetJumpControl(fs, list);
    if (GET_OPCODE(i) != OP_TEST || GETARG_C(i) != cond || GETARG_A(i) == NO_VALUE_REG) return true;
  }
  return false;
}

static void Exp2Reg(FuncState* fs, expdesc* e, int reg) {
  Discharge2Reg(fs, e, reg);
  if (e->k == VJMP) luaK_concat(fs, &e->t, e->info);
  if (HasJumps(e)) {
    int p_f = NO_JUMP, p_t = NO_JUMP;
    if (NeedValue(fs, e->t, 1) || NeedValue(fs, e->f, 0)) {
      int fj = e->k == VJMP ? NO_JUMP : luaK_jump(fs);
      p_f = CodeLabel(fs, reg, 0, 1);
      p_t = CodeLabel(fs, reg, 1, 0);
      luaK_patchtohere(fs, fj);
    }
    int final = luaK_getlabel(fs);
    PatchListAux(fs, e->f, final, reg, p_f, 0);
    PatchListAux(fs, e->t, final, reg, p_t, 1);
  }
  e->f = e->t = NO_JUMP;
  e->info = reg;
  e->k = VNONRELOC;
}

void luaK_exp2nextreg(FuncState* fs, expdesc* e) {
  luaK_dischargevars(fs, e);
  luaK_freeexp(fs, e);
  luaK_reserveregs(fs, 1);
  Exp2Reg(fs, e, fs->freereg - 1);
}

int luaK_exp2anyreg(FuncState* fs, expdesc* e) {
  luaK_dischargevars(fs, e);
  if (e->k == VNONRELOC) {
    if (!HasJumps(e)) return e->info;
    if (e->info >= fs->nactvar) {
      Exp2Reg(fs, e, e->info);
      return e->info;
    }
  }
  luaK_exp2nextreg(fs, e);
  return e->info;
}

void luaK_exp2val(FuncState* fs, expdesc* e) {
  if (HasJumps(e))
    luaK_exp2anyreg(fs, e);
  else
    luaK_dischargevars(fs, e);
}

int luaK_exp2RK(FuncState* fs, expdesc* e) {
  luaK_exp2val(fs, e);
  switch (e->k) {
    case VKNUM:
      if (fs->nk + MAXSTACK <= MAXARG_C) {
        e->info = luaK_numberK(fs, e->nval);
        e->k = VK;
        if (e->info + MAXSTACK <= MAXARG_C) return e->info + MAXSTACK;
      }
      break;
    case VNIL:
      if (fs->nk + MAXSTACK <= MAXARG_C) {
        e->info = NilK(fs);
        e->k = VK;
        return e->info + MAXSTACK;
      }
      break;
    case VK:
      if (e->info + MAXSTACK <= MAXARG_C) return e->info + MAXSTACK;
      break;
    default:
      break;
  }
  return luaK_exp2anyreg(fs, e);
}

void luaK_storevar(FuncState* fs, expdesc* var, expdesc* ex) {
  switch (var->k) {
    case VLOCAL:
      luaK_freeexp(fs, ex);
      Exp2Reg(fs, ex, var->info);
      return;
    case VUPVAL: {
      int e = luaK_exp2anyreg(fs, ex);
      luaK_codeABC(fs, OP_SETUPVAL, e, var->info, 0);
      break;
    }
    case VGLOBAL: {
      int e = luaK_exp2anyreg(fs, ex);
      luaK_codeABx(fs, OP_SETGLOBAL, e, var->info);
      break;
    }
    case VINDEXED: {
      int e = luaK_exp2RK(fs, ex);
      luaK_codeABC(fs, OP_SETTABLE, var->info, var->aux, e);
      break;
    }
    default:
      break;
  }
  luaK_freeexp(fs, ex);
}

void luaK_self(FuncState* fs, expdesc* e, expdesc* key) {
  luaK_exp2anyreg(fs, e);
  luaK_freeexp(fs, e);
  int func = fs->freereg;
  luaK_reserveregs(fs, 2);
  luaK_codeABC(fs, OP_SELF, func, e->info, luaK_exp2RK(fs, key));
  luaK_freeexp(fs, key);
  e->info = func;
  e->k = VNONRELOC;
}

void luaK_indexed(FuncState* fs, expdesc* t, expdesc* k) {
  t->aux = luaK_exp2RK(fs, k);
  t->k = VINDEXED;
}

static void InvertJump(FuncState* fs, expdesc* e) {
  Instruction* pc = GetJumpControl(fs, e->info);
  SETARG_A(pc, !GETARG_A(*pc));
}

static int JumpOnCond(FuncState* fs, expdesc* e, int cond) {
  if (e->k == VRELOCABLE) {
    Instruction ie = getcode(fs, e);
    if (GET_OPCODE(ie) == OP_NOT) {
      fs->pc--;  // drop the NOT and test the operand the other way round
      return CondJump(fs, OP_TEST, NO_REG, GETARG_B(ie), !cond);
    }
  }
  Discharge2AnyReg(fs, e);
  luaK_freeexp(fs, e);
  return CondJump(fs, OP_TEST, NO_REG, e->info, cond);
}

void luaK_goiftrue(FuncState* fs, expdesc* e) {
  int pc;
  luaK_dischargevars(fs, e);
  switch (e->k) {
    case VK:
    case VKNUM:
    case VTRUE:
      pc = NO_JUMP;
      break;
    case VFALSE:
      pc = luaK_jump(fs);  // always false; a nil keeps its value through a test
      break;
    case VJMP:
      InvertJump(fs, e);
      pc = e->info;
      break;
    default:
      pc = JumpOnCond(fs, e, 0);
      break;
  }
  luaK_concat(fs, &e->f, pc);
  luaK_patchtohere(fs, e->t);
  e->t = NO_JUMP;
}

void luaK_goiffalse(FuncState* fs, expdesc* e) {
  int pc;
  luaK_dischargevars(fs, e);
  switch (e->k) {
    case VNIL:
    case VFALSE:
      pc = NO_JUMP;
      break;
    case VTRUE:
      pc = luaK_jump(fs);
      break;
    case VJMP:
      pc = e->info;
      break;
    default:
      pc = JumpOnCond(fs, e, 1);
      break;
  }
  luaK_concat(fs, &e->t, pc);
  luaK_patchtohere(fs, e->f);
  e->f = NO_JUMP;
}

// The tests of a list under `not` only decide; their operand is not the value.
static void RemoveValues(FuncState* fs, int list) {
  for (; list != NO_JUMP; list = GetJump(fs, list)) {
    Instruction* i = GetJumpControl(fs, list);
    if (GET_OPCODE(*i) == OP_TEST) SETARG_A(i, NO_VALUE_REG);
  }
}

static void CodeNot(FuncState* fs, expdesc* e) {
  luaK_dischargevars(fs, e);
  switch (e->k) {
    case VNIL:
    case VFALSE:
      e->k = VTRUE;
      break;
    case VK:
    case VKNUM:
    case VTRUE:
      e->k = VFALSE;
      break;
    case VJMP:
      InvertJump(fs, e);
      break;
    case VRELOCABLE:
    case VNONRELOC:
      Discharge2AnyReg(fs, e);
      luaK_freeexp(fs, e);
      e->info = luaK_codeABC(fs, OP_NOT, 0, e->info, 0);
      e->k = VRELOCABLE;
      break;
    default:
      break;
  }
  RemoveValues(fs, e->f);
  RemoveValues(fs, e->t);
  int temp = e->f;
  e->f = e->t;
  e->t = temp;
}

void luaK_prefix(FuncState* fs, UnOpr op, expdesc* e) {
  if (op == OPR_MINUS) {
    luaK_exp2val(fs, e);
    if (e->k == VKNUM && !HasJumps(e)) {
      e->nval = -e->nval;
    } else {
      luaK_exp2anyreg(fs, e);
      luaK_freeexp(fs, e);
      e->info = luaK_codeABC(fs, OP_UNM, 0, e->info, 0);
      e->k = VRELOCABLE;
    }
  } else {
    CodeNot(fs, e);
  }
}

static bool IsNumeral(const expdesc* e) {
  return e->k == VKNUM && !HasJumps(e);
}

void luaK_infix(FuncState* fs, BinOpr op, expdesc* v) {
  switch (op) {
    case OPR_AND:
      luaK_goiftrue(fs, v);
      break;
    case OPR_OR:
      luaK_goiffalse(fs, v);
      break;
    case OPR_CONCAT:
      luaK_exp2nextreg(fs, v);
      break;
    default:
      if (!IsNumeral(v)) luaK_exp2RK(fs, v);
      break;
  }
}

static bool FoldConstants(BinOpr op, expdesc* e1, const expdesc* e2) {
  if (!IsNumeral(e1) || !IsNumeral(e2)) return false;
  double a = e1->nval, b = e2->nval, r;
  auto asInt = [](uint32_t x) { return static_cast<double>(static_cast<int32_t>(x)); };
  switch (op) {
    case OPR_ADD:
      r = a + b;
      break;
    case OPR_SUB:
      r = a - b;
      break;
    case OPR_MULT:
      r = a * b;
      break;
    case OPR_DIV:
      if (b == 0) return false;
      r = a / b;
      break;
    case OPR_BAND:
      r = asInt(luaV_touint32(a) & luaV_touint32(b));
      break;
    case OPR_BOR:
      r = asInt(luaV_touint32(a) | luaV_touint32(b));
      break;
    case OPR_SHL:
      r = asInt(luaV_touint32(a) << (luaV_touint32(b) & 31));
      break;
    case OPR_SHR:
      r = asInt(luaV_touint32(a) >> (luaV_touint32(b) & 31));
      break;
    case OPR_POW:
      r = asInt(luaV_touint32(a) ^ luaV_touint32(b));
      break;
    default:
      return false;
  }
  if (std::isnan(r) || (r == 0 && std::signbit(r))) return false;
  e1->nval = r;
  return true;
}

static void CodeBinExp(FuncState* fs, OpCode op, expdesc* e1, expdesc* e2) {
  int o2 = luaK_exp2RK(fs, e2);
  int o1 = luaK_exp2RK(fs, e1);
  if (o1 > o2) {
    luaK_freeexp(fs, e1);
    luaK_freeexp(fs, e2);
  } else {
    luaK_freeexp(fs, e2);
    luaK_freeexp(fs, e1);
  }
  e1->info = luaK_codeABC(fs, op, 0, o1, o2);
  e1->k = VRELOCABLE;
}

static void CodeCompare(FuncState* fs, OpCode op, int cond, bool swap, expdesc* e1, expdesc* e2) {
  int o1 = luaK_exp2RK(fs, e1);
  int o2 = luaK_exp2RK(fs, e2);
  luaK_freeexp(fs, e2);
  luaK_freeexp(fs, e1);
  if (swap) {
    int t = o1;
    o1 = o2;
    o2 = t;
  }
  e1->info = CondJump(fs, op, cond, o1, o2);
  e1->k = VJMP;
}

void luaK_posfix(FuncState* fs, BinOpr op, expdesc* e1, expdesc* e2) {
  switch (op) {
    case OPR_AND:
      luaK_dischargevars(fs, e2);
      luaK_concat(fs, &e2->f, e1->f);
      *e1 = *e2;
      break;
    case OPR_OR:
      luaK_dischargevars(fs, e2);
      luaK_concat(fs, &e2->t, e1->t);
      *e1 = *e2;
      break;
    case OPR_CONCAT:
      luaK_exp2val(fs, e2);
      if (e2->k == VRELOCABLE && GET_OPCODE(getcode(fs, e2)) == OP_CONCAT &&
          GETARG_B(getcode(fs, e2)) == e1->info + 1) {
        luaK_freeexp(fs, e1);
        SETARG_B(&getcode(fs, e2), e1->info);
        e1->k = VRELOCABLE;
        e1->info = e2->info;
      } else {
        luaK_exp2nextreg(fs, e2);
        luaK_freeexp(fs, e2);
        luaK_freeexp(fs, e1);
        e1->info = luaK_codeABC(fs, OP_CONCAT, 0, e1->info, e2->info);
        e1->k = VRELOCABLE;
      }
      break;
    case OPR_ADD:
    case OPR_SUB:
    case OPR_MULT:
    case OPR_DIV:
    case OPR_BAND:
    case OPR_BOR:
    case OPR_SHL:
    case OPR_SHR:
    case OPR_POW: {
      if (FoldConstants(op, e1, e2)) break;
      static const OpCode ops[] = {OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_BAND,
                                   OP_BOR, OP_SHL, OP_SHR, OP_POW};
      CodeBinExp(fs, ops[op - OPR_ADD], e1, e2);
      break;
    }
    case OPR_EQ:
      CodeCompare(fs, OP_EQ, 1, false, e1, e2);
      break;
    case OPR_NE:
      CodeCompare(fs, OP_EQ, 0, false, e1, e2);
      break;
    case OPR_LT:
      CodeCompare(fs, OP_LT, 1, false, e1, e2);
      break;
    case OPR_LE:
      CodeCompare(fs, OP_LE, 1, false, e1, e2);
      break;
    case OPR_GT:
      CodeCompare(fs, OP_LT, 1, true, e1, e2);
      break;
    case OPR_GE:
      CodeCompare(fs, OP_LE, 1, true, e1, e2);
      break;
    default:
      break;
  }
}
