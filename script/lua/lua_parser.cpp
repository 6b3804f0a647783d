// The parser: a recursive-descent compiler from source text to prototypes, driving
// the code generator. Each function carries its grammar rule.
#include "script/lua/lua_parser.h"

#include <cmath>

#include "script/lua/lua_code.h"
#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_exec.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_table.h"

constexpr int MAXPARAMS = 100;
constexpr int MAX_LOOP_NUMBER = 100;

struct BlockCnt {
  BlockCnt* previous;
  int breaklist;
  int continuelist;
  int nactvar;      // active locals outside the block
  int bodyactvar;   // active locals when a loop body starts (continue closes above)
  bool upval;       // some local of the block is an upvalue
  bool innerupval;  // a block inside this one has locals that are upvalues
  bool isloop;
};

static void chunk(LexState* ls);
static void expr(LexState* ls, expdesc* v);

static void Next(LexState* ls) {
  luaX_next(ls);
}

[[noreturn]] static void ErrorExpected(LexState* ls, int token) {
  std::string msg = std::string("`") + luaX_token2str(ls, token) + "' expected";
  luaX_syntaxerror(ls, msg.c_str());
}

static bool TestNext(LexState* ls, int c) {
  if (ls->t.token == c) {
    Next(ls);
    return true;
  }
  return false;
}

static void Check(LexState* ls, int c) {
  if (ls->t.token != c) ErrorExpected(ls, c);
}

static void CheckNext(LexState* ls, int c) {
  Check(ls, c);
  Next(ls);
}

static void CheckCondition(LexState* ls, bool c, const char* msg) {
  if (!c) luaX_syntaxerror(ls, msg);
}

static void CheckMatch(LexState* ls, int what, int who, int where) {
  if (!TestNext(ls, what)) {
    if (where == ls->linenumber) {
      ErrorExpected(ls, what);
    } else {
      std::string w = luaX_token2str(ls, what);
      std::string h = luaX_token2str(ls, who);
      const char* msg = luaO_pushfstring(ls->L, "`%s' expected (to close `%s' at line %d)",
                                         w.c_str(), h.c_str(), where);
      luaX_syntaxerror(ls, msg);
    }
  }
}

static TString* StrCheckName(LexState* ls) {
  Check(ls, TK_NAME);
  TString* ts = ls->t.seminfo.ts;
  Next(ls);
  return ts;
}

static void CodeString(LexState* ls, expdesc* e, TString* s) {
  init_exp(e, VK, luaK_stringK(ls->fs, s));
}

static void CheckName(LexState* ls, expdesc* e) {
  CodeString(ls, e, StrCheckName(ls));
}

static int RegisterLocalVar(LexState* ls, TString* varname) {
  FuncState* fs = ls->fs;
  Proto* f = fs->f;
  int oldsize = f->sizelocvars;
  luaM_growvector(ls->L, f->locvars, fs->nlocvars, f->sizelocvars, 0x7fff,
                  "too many local variables");
  for (int i = oldsize; i < f->sizelocvars; i++) f->locvars[i].varname = nullptr;
  f->locvars[fs->nlocvars].varname = varname;
  f->locvars[fs->nlocvars].startpc = 0;
  f->locvars[fs->nlocvars].endpc = 0;
  return fs->nlocvars++;
}

static void NewLocalVar(LexState* ls, TString* name, int n) {
  FuncState* fs = ls->fs;
  if (fs->nactvar + n + 1 > MAXVARS) luaX_syntaxerror(ls, "too many local variables");
  fs->actvar[fs->nactvar + n] = RegisterLocalVar(ls, name);
}

static void NewLocalVarStr(LexState* ls, const char* name, int n) {
  NewLocalVar(ls, luaS_new(ls->L, name), n);
}

static LocVar& GetLocVar(FuncState* fs, int i) {
  return fs->f->locvars[fs->actvar[i]];
}

static void AdjustLocalVars(LexState* ls, int nvars) {
  FuncState* fs = ls->fs;
  fs->nactvar += nvars;
  for (; nvars; nvars--) GetLocVar(fs, fs->nactvar - nvars).startpc = fs->pc;
}

static void RemoveVars(LexState* ls, int tolevel) {
  FuncState* fs = ls->fs;
  while (fs->nactvar > tolevel) GetLocVar(fs, --fs->nactvar).endpc = fs->pc;
}

static int IndexUpvalue(FuncState* fs, TString* name, expdesc* v) {
  Proto* f = fs->f;
  for (int i = 0; i < f->nups; i++) {
    if (fs->upvalues[i].k == v->k && fs->upvalues[i].info == v->info) return i;
  }
  if (f->nups + 1 > MAXUPVALUES) luaX_syntaxerror(fs->ls, "too many upvalues");
  int oldsize = f->sizeupvalues;
  luaM_growvector(fs->L, f->upvalues, f->nups, f->sizeupvalues, MAXUPVALUES, "too many upvalues");
  for (int i = oldsize; i < f->sizeupvalues; i++) f->upvalues[i] = nullptr;
  f->upvalues[f->nups] = name;
  fs->upvalues[f->nups].k = static_cast<uint8_t>(v->k);
  fs->upvalues[f->nups].info = static_cast<uint8_t>(v->info);
  return f->nups++;
}

static int SearchVar(FuncState* fs, TString* n) {
  for (int i = fs->nactvar - 1; i >= 0; i--)
    if (n == GetLocVar(fs, i).varname) return i;
  return -1;
}

static void MarkUpval(FuncState* fs, int level) {
  BlockCnt* bl = fs->bl;
  while (bl && bl->nactvar > level) bl = bl->previous;
  if (bl) bl->upval = true;
}

static void SingleVarAux(FuncState* fs, TString* n, expdesc* var, bool base) {
  if (fs == nullptr) {
    init_exp(var, VGLOBAL, NO_REG);
    return;
  }
  int v = SearchVar(fs, n);
  if (v >= 0) {
    init_exp(var, VLOCAL, v);
    if (!base) MarkUpval(fs, v);
    return;
  }
  SingleVarAux(fs->prev, n, var, false);
  if (var->k == VGLOBAL) {
    if (base) var->info = luaK_stringK(fs, n);
  } else {
    var->info = IndexUpvalue(fs, n, var);
    var->k = VUPVAL;
  }
}

static void SingleVar(LexState* ls, expdesc* var, bool base) {
  SingleVarAux(ls->fs, StrCheckName(ls), var, base);
}

static void AdjustAssign(LexState* ls, int nvars, int nexps, expdesc* e) {
  FuncState* fs = ls->fs;
  int extra = nvars - nexps;
  if (e->k == VCALL) {
    extra++;
    if (extra <= 0) extra = 0;
    luaK_setcallreturns(fs, e, extra);
    if (extra > 1) luaK_reserveregs(fs, extra - 1);
  } else {
    if (e->k != VVOID) luaK_exp2nextreg(fs, e);
    if (extra > 0) {
      int reg = fs->freereg;
      luaK_reserveregs(fs, extra);
      luaK_nil(fs, reg, extra);
    }
  }
}

static void EnterLevel(LexState* ls) {
  if (++ls->nestlevel > LUA_MAXCCALLS) luaX_syntaxerror(ls, "chunk has too many syntax levels");
}
static void LeaveLevel(LexState* ls) {
  ls->nestlevel--;
}

static void EnterBlock(FuncState* fs, BlockCnt* bl, bool isloop) {
  bl->breaklist = NO_JUMP;
  bl->continuelist = NO_JUMP;
  bl->isloop = isloop;
  bl->nactvar = fs->nactvar;
  bl->bodyactvar = fs->nactvar;
  bl->upval = false;
  bl->innerupval = false;
  bl->previous = fs->bl;
  fs->bl = bl;
}

static void LeaveBlock(FuncState* fs) {
  BlockCnt* bl = fs->bl;
  fs->bl = bl->previous;
  if (bl->previous && (bl->upval || bl->innerupval)) bl->previous->innerupval = true;
  RemoveVars(fs->ls, bl->nactvar);
  if (bl->isloop && (bl->upval || bl->innerupval)) {
    // A break may leave blocks whose captured locals were declared after it was
    // compiled: every exit of the loop passes through one CLOSE.
    luaK_patchtohere(fs, bl->breaklist);
    luaK_codeABC(fs, OP_CLOSE, bl->nactvar, 0, 0);
  } else {
    if (bl->upval) luaK_codeABC(fs, OP_CLOSE, bl->nactvar, 0, 0);
    luaK_patchtohere(fs, bl->breaklist);
  }
  fs->freereg = fs->nactvar;
}

// Sends the continue jumps of the current loop here; when the body captured locals,
// they are closed here so that the next iteration gets fresh ones.
static void PatchContinues(FuncState* fs) {
  BlockCnt* bl = fs->bl;
  luaK_patchtohere(fs, bl->continuelist);
  bl->continuelist = NO_JUMP;
  if (bl->innerupval) luaK_codeABC(fs, OP_CLOSE, bl->bodyactvar, 0, 0);
}

static void PushClosure(LexState* ls, FuncState* func, expdesc* v) {
  FuncState* fs = ls->fs;
  Proto* f = fs->f;
  int oldsize = f->sizep;
  luaM_growvector(ls->L, f->p, fs->np, f->sizep, MAXARG_Bx, "constant table overflow");
  for (int i = oldsize; i < f->sizep; i++) f->p[i] = nullptr;
  f->p[fs->np++] = func->f;
  init_exp(v, VRELOCABLE, luaK_codeABx(fs, OP_CLOSURE, 0, fs->np - 1));
  for (int i = 0; i < func->f->nups; i++) {
    OpCode o = func->upvalues[i].k == VLOCAL ? OP_MOVE : OP_GETUPVAL;
    luaK_codeABC(fs, o, 0, func->upvalues[i].info, 0);
  }
}

static void OpenFunc(LexState* ls, FuncState* fs) {
  lua_State* L = ls->L;
  Proto* f = luaF_newproto(L);
  fs->f = f;
  fs->prev = ls->fs;
  fs->ls = ls;
  fs->L = L;
  ls->fs = fs;
  fs->pc = 0;
  fs->lasttarget = -1;
  fs->jpc = NO_JUMP;
  fs->freereg = 0;
  fs->nk = 0;
  fs->h = luaH_new(L, 0, -1);
  fs->np = 0;
  fs->nlocvars = 0;
  fs->nactvar = 0;
  fs->bl = nullptr;
  f->source = ls->source;
  f->maxstacksize = 2;
}

template <typename T>
static void Shrink(lua_State* L, T*& v, int& size, int n) {
  v = luaM_reallocvector(L, v, size, n);
  size = n;
}

static void CloseFunc(LexState* ls) {
  lua_State* L = ls->L;
  FuncState* fs = ls->fs;
  Proto* f = fs->f;
  RemoveVars(ls, 0);
  luaK_codeABC(fs, OP_RETURN, 0, 1, 0);
  Shrink(L, f->code, f->sizecode, fs->pc);
  Shrink(L, f->lineinfo, f->sizelineinfo, fs->pc);
  Shrink(L, f->k, f->sizek, fs->nk);
  Shrink(L, f->p, f->sizep, fs->np);
  Shrink(L, f->locvars, f->sizelocvars, fs->nlocvars);
  Shrink(L, f->upvalues, f->sizeupvalues, f->nups);
#ifdef MC_LUA_CHECKS
  const char* why;
  lua_assert(luaG_checkcode(f, &why));
#endif
  luaV_translate(L, f);
  ls->fs = fs->prev;
}

Proto* luaY_parser(lua_State* L, const char* text, size_t len, const char* name) {
  LexState lexstate;
  FuncState funcstate;
  luaX_setinput(L, &lexstate, text, len, luaS_new(L, name));
  OpenFunc(&lexstate, &funcstate);
  Next(&lexstate);
  chunk(&lexstate);
  CheckCondition(&lexstate, lexstate.t.token == TK_EOS, "`<eof>' expected");
  CloseFunc(&lexstate);
  return funcstate.f;
}

// --- rules for expressions ---------------------------------------------------

// field -> ['.' | ':'] NAME
static void LuaYField(LexState* ls, expdesc* v) {
  FuncState* fs = ls->fs;
  expdesc key;
  luaK_exp2anyreg(fs, v);
  Next(ls);
  CheckName(ls, &key);
  luaK_indexed(fs, v, &key);
}

// index -> '[' expr ']'
static void LuaYIndex(LexState* ls, expdesc* v) {
  Next(ls);
  expr(ls, v);
  luaK_exp2val(ls->fs, v);
  CheckNext(ls, ']');
}

struct ConsControl {
  expdesc v;   // last list item read
  expdesc* t;  // table descriptor
  int nh;
  int na;
  int tostore;  // list items waiting for a SETLIST
};

// recfield -> (NAME | '[' exp ']') '=' exp
static void RecField(LexState* ls, ConsControl* cc) {
  FuncState* fs = ls->fs;
  int reg = fs->freereg;
  expdesc key, val;
  if (ls->t.token == TK_NAME) {
    CheckName(ls, &key);
  } else {
    LuaYIndex(ls, &key);
  }
  cc->nh++;
  CheckNext(ls, '=');
  int rkkey = luaK_exp2RK(fs, &key);
  expr(ls, &val);
  luaK_codeABC(fs, OP_SETTABLE, cc->t->info, rkkey, luaK_exp2RK(fs, &val));
  fs->freereg = reg;
}

static void CloseListField(FuncState* fs, ConsControl* cc) {
  if (cc->v.k == VVOID) return;
  luaK_exp2nextreg(fs, &cc->v);
  cc->v.k = VVOID;
  if (cc->tostore == LFIELDS_PER_FLUSH) {
    luaK_codeABx(fs, OP_SETLIST, cc->t->info, cc->na - 1);
    cc->tostore = 0;
    fs->freereg = cc->t->info + 1;
  }
}

static void LastListField(FuncState* fs, ConsControl* cc) {
  if (cc->tostore == 0) return;
  if (cc->v.k == VCALL) {
    luaK_setcallreturns(fs, &cc->v, LUA_MULTRET);
    luaK_codeABx(fs, OP_SETLISTO, cc->t->info, cc->na - 1);
  } else {
    if (cc->v.k != VVOID) luaK_exp2nextreg(fs, &cc->v);
    luaK_codeABx(fs, OP_SETLIST, cc->t->info, cc->na - 1);
  }
  fs->freereg = cc->t->info + 1;
}

// listfield -> exp
static void ListField(LexState* ls, ConsControl* cc) {
  expr(ls, &cc->v);
  if (cc->na >= MAXARG_Bx - 1) luaX_syntaxerror(ls, "items in a constructor overflow");
  cc->na++;
  cc->tostore++;
}

// constructor -> '{' [ field { fieldsep field } [ fieldsep ] ] '}'
static void Constructor(LexState* ls, expdesc* t) {
  FuncState* fs = ls->fs;
  int line = ls->linenumber;
  int pc = luaK_codeABC(fs, OP_NEWTABLE, 0, 0, 0);
  ConsControl cc;
  cc.na = cc.nh = cc.tostore = 0;
  cc.t = t;
  init_exp(t, VRELOCABLE, pc);
  init_exp(&cc.v, VVOID, 0);
  luaK_exp2nextreg(ls->fs, t);
  CheckNext(ls, '{');
  do {
    if (ls->t.token == '}') break;
    CloseListField(fs, &cc);
    switch (ls->t.token) {
      case TK_NAME:
        luaX_lookahead(ls);
        if (ls->lookahead.token != '=')
          ListField(ls, &cc);
        else
          RecField(ls, &cc);
        break;
      case '[':
        RecField(ls, &cc);
        break;
      default:
        ListField(ls, &cc);
        break;
    }
  } while (TestNext(ls, ',') || TestNext(ls, ';'));
  CheckMatch(ls, '}', '{', line);
  LastListField(fs, &cc);
  SETARG_B(&fs->f->code[pc], luaO_int2fb(static_cast<unsigned>(cc.na)));
  SETARG_C(&fs->f->code[pc], cc.nh == 0 ? 0 : luaO_log2(static_cast<unsigned>(cc.nh)) + 1);
}

// parlist -> [ param { ',' param } ]   param -> NAME | '...'
static void ParList(LexState* ls) {
  int nactvars = 0;
  bool dots = false;
  if (ls->t.token != ')') {
    do {
      switch (ls->t.token) {
        case TK_DOTS:
          dots = true;
          Next(ls);
          break;
        case TK_NAME:
          NewLocalVar(ls, StrCheckName(ls), nactvars++);
          break;
        default:
          luaX_syntaxerror(ls, "<name> or `...' expected");
      }
    } while (!dots && TestNext(ls, ','));
  }
  if (nactvars > MAXPARAMS) luaX_syntaxerror(ls, "too many parameters");
  FuncState* fs = ls->fs;
  AdjustLocalVars(ls, nactvars);
  fs->f->numparams = static_cast<uint8_t>(fs->nactvar);
  fs->f->is_vararg = dots;
  if (dots) {
    NewLocalVarStr(ls, "arg", 0);
    AdjustLocalVars(ls, 1);
  }
  luaK_reserveregs(fs, fs->nactvar);
}

// body -> '(' parlist ')' chunk END
static void Body(LexState* ls, expdesc* e, bool needself, int line) {
  FuncState new_fs;
  OpenFunc(ls, &new_fs);
  new_fs.f->linedefined = line;
  CheckNext(ls, '(');
  if (needself) {
    NewLocalVarStr(ls, "self", 0);
    AdjustLocalVars(ls, 1);
  }
  ParList(ls);
  CheckNext(ls, ')');
  chunk(ls);
  CheckMatch(ls, TK_END, TK_FUNCTION, line);
  CloseFunc(ls);
  PushClosure(ls, &new_fs, e);
}

// explist1 -> expr { ',' expr }
static int ExpList1(LexState* ls, expdesc* v) {
  int n = 1;
  expr(ls, v);
  while (TestNext(ls, ',')) {
    luaK_exp2nextreg(ls->fs, v);
    expr(ls, v);
    n++;
  }
  return n;
}

// funcargs -> '(' [ explist1 ] ')' | constructor | STRING
static void FuncArgs(LexState* ls, expdesc* f) {
  FuncState* fs = ls->fs;
  expdesc args;
  int line = ls->linenumber;
  switch (ls->t.token) {
    case '(':
      if (line != ls->lastline)
        luaX_syntaxerror(ls, "ambiguous syntax (function call x new statement)");
      Next(ls);
      if (ls->t.token == ')') {
        args.k = VVOID;
      } else {
        ExpList1(ls, &args);
        luaK_setcallreturns(fs, &args, LUA_MULTRET);
      }
      CheckMatch(ls, ')', '(', line);
      break;
    case '{':
      Constructor(ls, &args);
      break;
    case TK_STRING:
      CodeString(ls, &args, ls->t.seminfo.ts);
      Next(ls);
      break;
    case TK_WSTRING:
      init_exp(&args, VK, luaK_stringK(fs, ls->t.seminfo.ts));
      Next(ls);
      break;
    default:
      luaX_syntaxerror(ls, "function arguments expected");
  }
  int base = f->info;
  int nparams;
  if (args.k == VCALL) {
    nparams = LUA_MULTRET;
  } else {
    if (args.k != VVOID) luaK_exp2nextreg(fs, &args);
    nparams = fs->freereg - (base + 1);
  }
  init_exp(f, VCALL, luaK_codeABC(fs, OP_CALL, base, nparams + 1, 2));
  luaK_fixline(fs, line);
  fs->freereg = base + 1;
}

// prefixexp -> NAME | '(' expr ')'
static void PrefixExp(LexState* ls, expdesc* v) {
  switch (ls->t.token) {
    case '(': {
      int line = ls->linenumber;
      Next(ls);
      expr(ls, v);
      CheckMatch(ls, ')', '(', line);
      luaK_dischargevars(ls->fs, v);
      return;
    }
    case TK_NAME:
      SingleVar(ls, v, true);
      return;
    default:
      luaX_syntaxerror(ls, "unexpected symbol");
  }
}

// primaryexp -> prefixexp { '.' NAME | '[' exp ']' | ':' NAME funcargs | funcargs }
static void PrimaryExp(LexState* ls, expdesc* v) {
  FuncState* fs = ls->fs;
  PrefixExp(ls, v);
  for (;;) {
    switch (ls->t.token) {
      case '.':
        LuaYField(ls, v);
        break;
      case '[': {
        expdesc key;
        luaK_exp2anyreg(fs, v);
        LuaYIndex(ls, &key);
        luaK_indexed(fs, v, &key);
        break;
      }
      case ':': {
        expdesc key;
        Next(ls);
        CheckName(ls, &key);
        luaK_self(fs, v, &key);
        FuncArgs(ls, v);
        break;
      }
      case '(':
      case TK_STRING:
      case TK_WSTRING:
      case '{':
        luaK_exp2nextreg(fs, v);
        FuncArgs(ls, v);
        break;
      default:
        return;
    }
  }
}

// simpleexp -> NUMBER | STRING | WSTRING | NIL | TRUE | FALSE | constructor
//              | FUNCTION body | primaryexp
static void SimpleExp(LexState* ls, expdesc* v) {
  switch (ls->t.token) {
    case TK_NUMBER:
      init_exp(v, VKNUM, 0);
      v->nval = ls->t.seminfo.r;
      Next(ls);
      break;
    case TK_STRING:
    case TK_WSTRING:
      CodeString(ls, v, ls->t.seminfo.ts);
      Next(ls);
      break;
    case TK_NIL:
      init_exp(v, VNIL, 0);
      Next(ls);
      break;
    case TK_TRUE:
      init_exp(v, VTRUE, 0);
      Next(ls);
      break;
    case TK_FALSE:
      init_exp(v, VFALSE, 0);
      Next(ls);
      break;
    case '{':
      Constructor(ls, v);
      break;
    case TK_FUNCTION:
      Next(ls);
      Body(ls, v, false, ls->linenumber);
      break;
    default:
      PrimaryExp(ls, v);
      break;
  }
}

static UnOpr GetUnOpr(int op) {
  switch (op) {
    case TK_NOT:
      return OPR_NOT;
    case '-':
      return OPR_MINUS;
    default:
      return OPR_NOUNOPR;
  }
}

static BinOpr GetBinOpr(int op) {
  switch (op) {
    case '+':
      return OPR_ADD;
    case '-':
      return OPR_SUB;
    case '*':
      return OPR_MULT;
    case '/':
      return OPR_DIV;
    case '&':
      return OPR_BAND;
    case '|':
      return OPR_BOR;
    case TK_SHL:
      return OPR_SHL;
    case TK_SHR:
      return OPR_SHR;
    case '^':
      return OPR_POW;
    case TK_CONCAT:
      return OPR_CONCAT;
    case TK_NE:
      return OPR_NE;
    case TK_EQ:
      return OPR_EQ;
    case '<':
      return OPR_LT;
    case TK_LE:
      return OPR_LE;
    case '>':
      return OPR_GT;
    case TK_GE:
      return OPR_GE;
    case TK_AND:
      return OPR_AND;
    case TK_OR:
      return OPR_OR;
    default:
      return OPR_NOBINOPR;
  }
}

// Left and right priority of each binary operator (same order as BinOpr).
static const struct {
  uint8_t left, right;
} priority[] = {
    {6, 6},  {6, 6}, {7, 7}, {7, 7},                  // + - * /
    {8, 8},  {8, 8}, {8, 8}, {8, 8},                  // & | << >>
    {10, 9},                                          // ^ (right associative)
    {5, 4},                                           // .. (right associative)
    {3, 3},  {3, 3}, {3, 3}, {3, 3}, {3, 3}, {3, 3},  // comparisons
    {2, 2},  {1, 1}                                   // and, or
};
constexpr int UNARY_PRIORITY = 8;

// subexpr -> (simpleexp | unop subexpr) { binop subexpr }
// where binop is any binary operator with a priority higher than limit
static BinOpr SubExpr(LexState* ls, expdesc* v, int limit) {
  EnterLevel(ls);
  UnOpr uop = GetUnOpr(ls->t.token);
  if (uop != OPR_NOUNOPR) {
    Next(ls);
    SubExpr(ls, v, UNARY_PRIORITY);
    luaK_prefix(ls->fs, uop, v);
  } else {
    SimpleExp(ls, v);
  }
  BinOpr op = GetBinOpr(ls->t.token);
  while (op != OPR_NOBINOPR && priority[op].left > limit) {
    expdesc v2;
    Next(ls);
    luaK_infix(ls->fs, op, v);
    BinOpr nextop = SubExpr(ls, &v2, priority[op].right);
    luaK_posfix(ls->fs, op, v, &v2);
    op = nextop;
  }
  LeaveLevel(ls);
  return op;
}

static void expr(LexState* ls, expdesc* v) {
  SubExpr(ls, v, -1);
}

// --- rules for statements ----------------------------------------------------

static bool BlockFollow(int token) {
  switch (token) {
    case TK_ELSE:
    case TK_ELSEIF:
    case TK_END:
    case TK_UNTIL:
    case TK_EOS:
      return true;
    default:
      return false;
  }
}

// block -> chunk
static void Block(LexState* ls) {
  FuncState* fs = ls->fs;
  BlockCnt bl;
  EnterBlock(fs, &bl, false);
  chunk(ls);
  LeaveBlock(fs);
}

// Chain of variables on the left side of an assignment.
struct LHS_assign {
  LHS_assign* prev;
  expdesc v;
};

// When a later target's table or key register is the local being assigned earlier
// in the list, the old value is copied to a safe register first.
static void CheckConflict(LexState* ls, LHS_assign* lh, expdesc* v) {
  FuncState* fs = ls->fs;
  int extra = fs->freereg;
  bool conflict = false;
  for (; lh; lh = lh->prev) {
    if (lh->v.k == VINDEXED) {
      if (lh->v.info == v->info) {
        conflict = true;
        lh->v.info = extra;
      }
      if (lh->v.aux == v->info) {
        conflict = true;
        lh->v.aux = extra;
      }
    }
  }
  if (conflict) {
    luaK_codeABC(fs, OP_MOVE, fs->freereg, v->info, 0);
    luaK_reserveregs(fs, 1);
  }
}

// assignment -> ',' primaryexp assignment | '=' explist1
static void Assignment(LexState* ls, LHS_assign* lh, int nvars) {
  expdesc e;
  CheckCondition(ls, VLOCAL <= lh->v.k && lh->v.k <= VINDEXED, "syntax error");
  if (TestNext(ls, ',')) {
    LHS_assign nv;
    nv.prev = lh;
    PrimaryExp(ls, &nv.v);
    if (nv.v.k == VLOCAL) CheckConflict(ls, lh, &nv.v);
    EnterLevel(ls);
    Assignment(ls, &nv, nvars + 1);
    LeaveLevel(ls);
  } else {
    CheckNext(ls, '=');
    int nexps = ExpList1(ls, &e);
    if (nexps != nvars) {
      AdjustAssign(ls, nvars, nexps, &e);
      if (nexps > nvars) ls->fs->freereg -= nexps - nvars;
    } else {
      luaK_setcallreturns(ls->fs, &e, 1);
      luaK_storevar(ls->fs, &lh->v, &e);
      return;
    }
  }
  init_exp(&e, VNONRELOC, ls->fs->freereg - 1);
  luaK_storevar(ls->fs, &lh->v, &e);
}

// cond -> exp  (answers the false-exit list)
static int Cond(LexState* ls) {
  expdesc v;
  expr(ls, &v);
  if (v.k == VNIL) v.k = VFALSE;
  luaK_goiftrue(ls->fs, &v);
  luaK_patchtohere(ls->fs, v.t);
  return v.f;
}

// Optional loop number after break/continue: 1 names the innermost loop.
static int LoopNumber(LexState* ls) {
  if (ls->t.token != TK_NUMBER) return 1;
  double n = ls->t.seminfo.r;
  if (n != std::floor(n)) luaX_syntaxerror(ls, "loop block number must be integer");
  if (n < 1 || n > MAX_LOOP_NUMBER) luaX_syntaxerror(ls, "loop block number out of range");
  Next(ls);
  return static_cast<int>(n);
}

// breakstat -> BREAK [NUMBER]    continuestat -> CONTINUE [NUMBER]
static void BreakOrContinue(LexState* ls, bool isContinue) {
  FuncState* fs = ls->fs;
  Next(ls);
  int n = LoopNumber(ls);
  BlockCnt* bl = fs->bl;
  bool upval = false;
  for (;;) {
    while (bl && !bl->isloop) {
      upval |= bl->upval;
      bl = bl->previous;
    }
    if (!bl) luaX_syntaxerror(ls, isContinue ? "no loop to continue" : "no loop to break");
    if (--n == 0) break;
    upval |= bl->upval;
    bl = bl->previous;
  }
  if (isContinue) {
    if (upval) luaK_codeABC(fs, OP_CLOSE, bl->bodyactvar, 0, 0);
    luaK_concat(fs, &bl->continuelist, luaK_jump(fs));
  } else {
    if (upval || bl->upval) luaK_codeABC(fs, OP_CLOSE, bl->nactvar, 0, 0);
    luaK_concat(fs, &bl->breaklist, luaK_jump(fs));
  }
}

// whilestat -> WHILE cond DO block END
static void WhileStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  BlockCnt bl;
  Next(ls);
  int whileinit = luaK_getlabel(fs);
  int condexit = Cond(ls);
  EnterBlock(fs, &bl, true);
  CheckNext(ls, TK_DO);
  Block(ls);
  PatchContinues(fs);
  luaK_patchlist(fs, luaK_jump(fs), whileinit);
  CheckMatch(ls, TK_END, TK_WHILE, line);
  LeaveBlock(fs);
  luaK_patchtohere(fs, condexit);
}

// repeatstat -> REPEAT block UNTIL cond
static void RepeatStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  int repeat_init = luaK_getlabel(fs);
  BlockCnt bl;
  EnterBlock(fs, &bl, true);
  Next(ls);
  Block(ls);
  PatchContinues(fs);
  CheckMatch(ls, TK_UNTIL, TK_REPEAT, line);
  int condexit = Cond(ls);
  luaK_patchlist(fs, condexit, repeat_init);
  LeaveBlock(fs);
}

static void Exp1(LexState* ls) {
  expdesc e;
  expr(ls, &e);
  luaK_exp2nextreg(ls->fs, &e);
}

// forbody -> DO block
static void ForBody(LexState* ls, int base, int line, int nvars, bool isnum) {
  FuncState* fs = ls->fs;
  AdjustLocalVars(ls, nvars);
  fs->bl->bodyactvar = fs->nactvar;
  CheckNext(ls, TK_DO);
  int prep = luaK_getlabel(fs);
  Block(ls);
  PatchContinues(fs);
  luaK_patchtohere(fs, prep - 1);
  int endfor = isnum ? luaK_codeAsBx(fs, OP_FORLOOP, base, NO_JUMP)
                     : luaK_codeABC(fs, OP_TFORLOOP, base, 0, nvars - 3);
  luaK_fixline(fs, line);
  luaK_patchlist(fs, isnum ? endfor : luaK_jump(fs), prep);
}

// fornum -> NAME = exp1,exp1[,exp1] forbody
static void ForNum(LexState* ls, TString* varname, int line) {
  FuncState* fs = ls->fs;
  int base = fs->freereg;
  NewLocalVar(ls, varname, 0);
  NewLocalVarStr(ls, "(for limit)", 1);
  NewLocalVarStr(ls, "(for step)", 2);
  CheckNext(ls, '=');
  Exp1(ls);
  CheckNext(ls, ',');
  Exp1(ls);
  if (TestNext(ls, ',')) {
    Exp1(ls);
  } else {
    luaK_codeABx(fs, OP_LOADK, fs->freereg, luaK_numberK(fs, 1));
    luaK_reserveregs(fs, 1);
  }
  luaK_codeABC(fs, OP_SUB, fs->freereg - 3, fs->freereg - 3, fs->freereg - 1);
  luaK_jump(fs);
  ForBody(ls, base, line, 3, true);
}

// forlist -> NAME {,NAME} IN explist1 forbody
static void ForList(LexState* ls, TString* indexname) {
  FuncState* fs = ls->fs;
  expdesc e;
  int nvars = 0;
  int base = fs->freereg;
  NewLocalVarStr(ls, "(for generator)", nvars++);
  NewLocalVarStr(ls, "(for state)", nvars++);
  NewLocalVar(ls, indexname, nvars++);
  while (TestNext(ls, ',')) NewLocalVar(ls, StrCheckName(ls), nvars++);
  CheckNext(ls, TK_IN);
  int line = ls->linenumber;
  AdjustAssign(ls, nvars, ExpList1(ls, &e), &e);
  luaK_checkstack(fs, 3);
  luaK_codeAsBx(fs, OP_TFORPREP, base, NO_JUMP);
  ForBody(ls, base, line, nvars, false);
}

// forstat -> FOR (fornum | forlist) END
static void ForStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  BlockCnt bl;
  EnterBlock(fs, &bl, true);
  Next(ls);
  TString* varname = StrCheckName(ls);
  switch (ls->t.token) {
    case '=':
      ForNum(ls, varname, line);
      break;
    case ',':
    case TK_IN:
      ForList(ls, varname);
      break;
    default:
      luaX_syntaxerror(ls, "`=' or `in' expected");
  }
  CheckMatch(ls, TK_END, TK_FOR, line);
  LeaveBlock(fs);
}

// test_then_block -> [IF | ELSEIF] cond THEN block
static int TestThenBlock(LexState* ls) {
  Next(ls);
  int flist = Cond(ls);
  CheckNext(ls, TK_THEN);
  Block(ls);
  return flist;
}

// ifstat -> IF cond THEN block {ELSEIF cond THEN block} [ELSE block] END
static void IfStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  int escapelist = NO_JUMP;
  int flist = TestThenBlock(ls);
  while (ls->t.token == TK_ELSEIF) {
    luaK_concat(fs, &escapelist, luaK_jump(fs));
    luaK_patchtohere(fs, flist);
    flist = TestThenBlock(ls);
  }
  if (ls->t.token == TK_ELSE) {
    luaK_concat(fs, &escapelist, luaK_jump(fs));
    luaK_patchtohere(fs, flist);
    Next(ls);
    Block(ls);
  } else {
    luaK_concat(fs, &escapelist, flist);
  }
  luaK_patchtohere(fs, escapelist);
  CheckMatch(ls, TK_END, TK_IF, line);
}

// localfunc -> LOCAL FUNCTION NAME body
static void LocalFunc(LexState* ls) {
  FuncState* fs = ls->fs;
  expdesc v, b;
  NewLocalVar(ls, StrCheckName(ls), 0);
  init_exp(&v, VLOCAL, fs->freereg);
  luaK_reserveregs(fs, 1);
  AdjustLocalVars(ls, 1);
  Body(ls, &b, false, ls->linenumber);
  luaK_storevar(fs, &v, &b);
  GetLocVar(fs, fs->nactvar - 1).startpc = fs->pc;
}

// localstat -> LOCAL NAME {',' NAME} ['=' explist1]
static void LocalStat(LexState* ls) {
  int nvars = 0;
  int nexps;
  expdesc e;
  do {
    NewLocalVar(ls, StrCheckName(ls), nvars++);
  } while (TestNext(ls, ','));
  if (TestNext(ls, '=')) {
    nexps = ExpList1(ls, &e);
  } else {
    e.k = VVOID;
    nexps = 0;
  }
  AdjustAssign(ls, nvars, nexps, &e);
  AdjustLocalVars(ls, nvars);
}

// funcname -> NAME {field} [':' NAME]
static bool FuncName(LexState* ls, expdesc* v) {
  bool needself = false;
  SingleVar(ls, v, true);
  while (ls->t.token == '.') LuaYField(ls, v);
  if (ls->t.token == ':') {
    needself = true;
    LuaYField(ls, v);
  }
  return needself;
}

// funcstat -> FUNCTION funcname body
static void FuncStat(LexState* ls, int line) {
  expdesc v, b;
  Next(ls);
  bool needself = FuncName(ls, &v);
  Body(ls, &b, needself, line);
  luaK_storevar(ls->fs, &v, &b);
  luaK_fixline(ls->fs, line);
}

// exprstat -> func | assignment
static void ExprStat(LexState* ls) {
  FuncState* fs = ls->fs;
  LHS_assign v;
  PrimaryExp(ls, &v.v);
  if (v.v.k == VCALL) {
    luaK_setcallreturns(fs, &v.v, 0);
  } else {
    v.prev = nullptr;
    Assignment(ls, &v, 1);
  }
}

// retstat -> RETURN explist
static void RetStat(LexState* ls) {
  FuncState* fs = ls->fs;
  expdesc e;
  int first, nret;
  Next(ls);
  if (BlockFollow(ls->t.token) || ls->t.token == ';') {
    first = nret = 0;
  } else {
    nret = ExpList1(ls, &e);
    if (e.k == VCALL) {
      luaK_setcallreturns(fs, &e, LUA_MULTRET);
      if (nret == 1) {
        Instruction& ins = getcode(fs, &e);
        ins = (ins & ~static_cast<Instruction>(0x3f)) | OP_TAILCALL;
      }
      first = fs->nactvar;
      nret = LUA_MULTRET;
    } else if (nret == 1) {
      first = luaK_exp2anyreg(fs, &e);
    } else {
      luaK_exp2nextreg(fs, &e);
      first = fs->nactvar;
    }
  }
  luaK_codeABC(fs, OP_RETURN, first, nret + 1, 0);
}

static bool Statement(LexState* ls) {
  int line = ls->linenumber;
  switch (ls->t.token) {
    case TK_IF:
      IfStat(ls, line);
      return false;
    case TK_WHILE:
      WhileStat(ls, line);
      return false;
    case TK_DO:
      Next(ls);
      Block(ls);
      CheckMatch(ls, TK_END, TK_DO, line);
      return false;
    case TK_FOR:
      ForStat(ls, line);
      return false;
    case TK_REPEAT:
      RepeatStat(ls, line);
      return false;
    case TK_FUNCTION:
      FuncStat(ls, line);
      return false;
    case TK_LOCAL:
      Next(ls);
      if (TestNext(ls, TK_FUNCTION))
        LocalFunc(ls);
      else
        LocalStat(ls);
      return false;
    case TK_RETURN:
      RetStat(ls);
      return true;
    case TK_BREAK:
      BreakOrContinue(ls, false);
      return true;
    case TK_CONTINUE:
      BreakOrContinue(ls, true);
      return true;
    default:
      ExprStat(ls);
      return false;
  }
}

// chunk -> { stat [';'] }
static void chunk(LexState* ls) {
  bool islast = false;
  EnterLevel(ls);
  while (!islast && !BlockFollow(ls->t.token)) {
    islast = Statement(ls);
    TestNext(ls, ';');
    ls->fs->freereg = ls->fs->nactvar;
  }
  LeaveLevel(ls);
}
