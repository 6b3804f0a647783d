// Errors with positions and variable names, the debug interface behind them and the
// consistency check of code (used by the chunk loader on every loaded function).
#include "script/lua/lua_debug.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "script/lua/lua_do.h"
#include "script/lua/lua_exec.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_opcodes.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_tm.h"
#include "script/lua/lua_vm.h"

static int CurrentPc(const CallInfo* ci) {
  if (!ci->isLua) return -1;
  const Proto* p = clvalue(ci->func)->l.p;
  return static_cast<int>(ci->savedpc - p->exec) - 1;
}

#ifdef MC_LUA_CHECKS
void luaI_assertfailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: interpreter check failed: %s\n", file, line, condition);
  std::abort();
}
#endif

int luaG_currentline(const CallInfo* ci) {
  int pc = CurrentPc(ci);
  if (pc < 0) return -1;
  const Proto* p = clvalue(ci->func)->l.p;
  return p->lineinfo && pc < p->sizelineinfo ? p->lineinfo[pc] : -1;
}

const char* luaO_pushvfstring(lua_State* L, const char* fmt, va_list argp) {
  std::string out;
  for (;;) {
    const char* e = strchr(fmt, '%');
    if (!e) break;
    out.append(fmt, static_cast<size_t>(e - fmt));
    char buff[64];
    switch (e[1]) {
      case 's': {
        const char* s = va_arg(argp, const char*);
        out += s ? s : "(null)";
        break;
      }
      case 'c':
        out.push_back(static_cast<char>(va_arg(argp, int)));
        break;
      case 'd':
        snprintf(buff, sizeof buff, "%d", va_arg(argp, int));
        out += buff;
        break;
      case 'f': {
        int n = luaO_num2str(va_arg(argp, double), buff);
        out.append(buff, static_cast<size_t>(n));
        break;
      }
      case 'p':
        snprintf(buff, sizeof buff, "%p", va_arg(argp, void*));
        out += buff;
        break;
      case '%':
        out.push_back('%');
        break;
      case '\0':
        out.push_back('%');
        fmt = e + 1;
        goto done;
      default:
        out.push_back('%');
        out.push_back(e[1]);
    }
    fmt = e + 2;
  }
  out += fmt;
done:
  luaD_checkstack(L, 1);
  setsvalue(L->top, luaS_newlstr(L, out.data(), out.size()));
  L->top++;
  return tsvalue(L->top - 1)->data();
}

const char* luaO_pushfstring(lua_State* L, const char* fmt, ...) {
  va_list argp;
  va_start(argp, fmt);
  const char* msg = luaO_pushvfstring(L, fmt, argp);
  va_end(argp);
  return msg;
}

void luaG_errormsg(lua_State* L) {
  if (L->errfunc != 0) {
    Value* errfunc = restorestack(L, L->errfunc);
    if (!ttisfunction(errfunc)) luaD_throw(L, LUA_ERRERR);
    luaD_checkstack(L, 2);
    errfunc = restorestack(L, L->errfunc);
    *L->top = *(L->top - 1);
    *(L->top - 1) = *errfunc;
    L->top++;
    luaD_call(L, L->top - 2, 1);
  }
  luaD_throw(L, LUA_ERRRUN);
}

static void AddInfo(lua_State* L, const char* msg) {
  CallInfo* ci = L->ci;
  if (ci->isLua) {
    char buff[60];
    int line = luaG_currentline(ci);
    luaO_chunkid(buff, clvalue(ci->func)->l.p->source->data(), sizeof buff);
    luaO_pushfstring(L, "%s:%d: %s", buff, line, msg);
  }
}

void luaG_runerror(lua_State* L, const char* fmt, ...) {
  va_list argp;
  va_start(argp, fmt);
  const char* msg = luaO_pushvfstring(L, fmt, argp);
  va_end(argp);
  if (L->ci->isLua) {
    std::string m = msg;
    AddInfo(L, m.c_str());
  }
  luaG_errormsg(L);
}

// Name of the value in register reg at pc: "global", "local", "field", "upvalue" or
// "method", found by looking at the instruction that last wrote the register.
static const char* GetObjName(const Proto* p, int pc, int reg, const char** name) {
  *name = luaF_getlocalname(p, reg + 1, pc);
  if (*name) return "local";
  int setter = -1;
  for (int i = 0; i < pc && i < p->sizecode; i++) {
    Instruction ins = p->code[i];
    OpCode op = GET_OPCODE(ins);
    int a = GETARG_A(ins);
    bool writes = false;
    switch (op) {
      case OP_LOADNIL:
        writes = a <= reg && reg <= GETARG_B(ins);
        break;
      case OP_SELF:
        writes = reg == a || reg == a + 1;
        break;
      case OP_CALL:
      case OP_TAILCALL:
        writes = reg >= a;
        break;
      case OP_TFORLOOP:
        writes = reg >= a + 2;
        break;
      case OP_CLOSURE:
        writes = reg == a;
        if (GETARG_Bx(ins) < p->sizep) i += p->p[GETARG_Bx(ins)]->nups;
        break;
      default:
        writes = luaP_opinfo[op].setsA && reg == a;
        break;
    }
    if (writes) setter = i;
  }
  if (setter < 0) return nullptr;
  Instruction ins = p->code[setter];
  switch (GET_OPCODE(ins)) {
    case OP_GETGLOBAL: {
      int b = GETARG_Bx(ins);
      if (b < p->sizek && ttisstring(&p->k[b])) {
        *name = tsvalue(&p->k[b])->data();
        return "global";
      }
      return nullptr;
    }
    case OP_MOVE: {
      int b = GETARG_B(ins);
      if (b < GETARG_A(ins)) return GetObjName(p, setter, b, name);
      return nullptr;
    }
    case OP_GETTABLE:
    case OP_SELF: {
      int c = GETARG_C(ins);
      if (ISK(c) && c - MAXSTACK < p->sizek && ttisstring(&p->k[c - MAXSTACK])) {
        *name = tsvalue(&p->k[c - MAXSTACK])->data();
        return GET_OPCODE(ins) == OP_SELF ? "method" : "field";
      }
      return nullptr;
    }
    case OP_GETUPVAL: {
      int b = GETARG_B(ins);
      if (b < p->sizeupvalues && p->upvalues[b]) {
        *name = p->upvalues[b]->data();
        return "upvalue";
      }
      return nullptr;
    }
    default:
      return nullptr;
  }
}

static bool IsInStack(CallInfo* ci, const Value* o) {
  for (Value* p = ci->base; p < ci->top; p++)
    if (o == p) return true;
  return false;
}

void luaG_typeerror(lua_State* L, const Value* o, const char* op) {
  const char* name = nullptr;
  const char* kind = nullptr;
  const char* t = luaT_typenames[o->tt];
  CallInfo* ci = L->ci;
  if (ci->isLua && IsInStack(ci, o)) {
    kind = GetObjName(clvalue(ci->func)->l.p, CurrentPc(ci), static_cast<int>(o - ci->base), &name);
  }
  if (kind)
    luaG_runerror(L, "attempt to %s %s `%s' (a %s value)", op, kind, name, t);
  else
    luaG_runerror(L, "attempt to %s a %s value", op, t);
}

void luaG_concaterror(lua_State* L, const Value* p1, const Value* p2) {
  if (ttisstring(p1) || ttiswstring(p1) || ttisnumber(p1)) p1 = p2;
  luaG_typeerror(L, p1, "concatenate");
}

void luaG_aritherror(lua_State* L, const Value* p1, const Value* p2) {
  double n;
  if (!luaV_tonumber(p1, &n)) p2 = p1;
  luaG_typeerror(L, p2, "perform arithmetic on");
}

void luaG_ordererror(lua_State* L, const Value* p1, const Value* p2) {
  const char* t1 = luaT_typenames[p1->tt];
  const char* t2 = luaT_typenames[p2->tt];
  if (t1[2] == t2[2])
    luaG_runerror(L, "attempt to compare two %s values", t1);
  else
    luaG_runerror(L, "attempt to compare %s with %s", t1, t2);
}

// --- code check ---------------------------------------------------------------

bool luaG_checkcode(const Proto* pt, const char** why) {
#define CHECK(c, msg) \
  if (!(c)) {         \
    *why = msg;       \
    return false;     \
  }
  int maxstack = pt->maxstacksize;
  int n = pt->sizecode;
  CHECK(maxstack <= MAXSTACK, "stack size too large");
  CHECK(pt->numparams + pt->is_vararg <= maxstack, "parameters exceed the stack size");
  CHECK(n > 0 && GET_OPCODE(pt->code[n - 1]) == OP_RETURN, "code does not end in a return");
  CHECK(pt->sizelineinfo == n || pt->sizelineinfo == 0, "line information does not match code");
  CHECK(pt->nups <= 32 && pt->sizeupvalues <= pt->nups,
        "upvalue names do not match the upvalue count");
  std::vector<bool> pseudo(static_cast<size_t>(n), false);
  std::vector<int> targets;
  std::vector<int> consumers;  // instructions that take values up to the stack top
  auto isOpenCall = [&](int at) {
    Instruction p = pt->code[at];
    return (GET_OPCODE(p) == OP_CALL || GET_OPCODE(p) == OP_TAILCALL) && GETARG_C(p) == 0;
  };
  auto reg = [&](int r) { return r >= 0 && r < maxstack; };
  auto rk = [&](int r) { return ISK(r) ? (r - MAXSTACK) < pt->sizek : reg(r); };
  for (int pc = 0; pc < n; pc++) {
    Instruction i = pt->code[pc];
    int opn = static_cast<int>(i & 0x3f);
    CHECK(opn < NUM_OPCODES, "bad opcode");
    OpCode op = static_cast<OpCode>(opn);
    int a = GETARG_A(i), b = GETARG_B(i), c = GETARG_C(i), bx = GETARG_Bx(i);
    // Values "up to the top" exist only right after a call that left all its results.
    if (((op == OP_CALL || op == OP_TAILCALL || op == OP_RETURN) && b == 0) || op == OP_SETLISTO) {
      CHECK(pc > 0 && !pseudo[static_cast<size_t>(pc - 1)] && isOpenCall(pc - 1),
            "open call expected");
      consumers.push_back(pc);
    }
    if (luaP_opinfo[op].isTest) {
      CHECK(pc + 1 < n && GET_OPCODE(pt->code[pc + 1]) == OP_JMP, "test without a jump");
    }
    switch (op) {
      case OP_MOVE:
      case OP_UNM:
      case OP_NOT:
        CHECK(reg(a) && reg(b), "register out of range");
        break;
      case OP_LOADK:
        CHECK(reg(a) && bx < pt->sizek, "constant out of range");
        break;
      case OP_LOADBOOL:
        CHECK(reg(a), "register out of range");
        if (c) {
          CHECK(pc + 2 < n, "jump out of code");
          targets.push_back(pc + 2);
        }
        break;
      case OP_LOADNIL:
        CHECK(reg(a) && reg(b) && a <= b, "register out of range");
        break;
      case OP_GETUPVAL:
      case OP_SETUPVAL:
        CHECK(reg(a) && b < pt->nups, "upvalue out of range");
        break;
      case OP_GETGLOBAL:
      case OP_SETGLOBAL:
        CHECK(reg(a) && bx < pt->sizek && ttisstring(&pt->k[bx]), "bad global name");
        break;
      case OP_GETTABLE:
        CHECK(reg(a) && reg(b) && rk(c), "operand out of range");
        break;
      case OP_SETTABLE:
        CHECK(reg(a) && rk(b) && rk(c), "operand out of range");
        break;
      case OP_NEWTABLE:
        CHECK(reg(a), "register out of range");
        break;
      case OP_SELF:
        CHECK(reg(a) && reg(a + 1) && reg(b) && rk(c), "operand out of range");
        break;
      case OP_ADD:
      case OP_SUB:
      case OP_MUL:
      case OP_DIV:
      case OP_BAND:
      case OP_BOR:
      case OP_SHL:
      case OP_SHR:
      case OP_POW:
        CHECK(reg(a) && rk(b) && rk(c), "operand out of range");
        break;
      case OP_CONCAT:
        CHECK(reg(a) && reg(b) && reg(c) && b < c, "operand out of range");
        break;
      case OP_JMP:
      case OP_FORLOOP:
      case OP_TFORPREP: {
        int dest = pc + 1 + GETARG_sBx(i);
        CHECK(dest >= 0 && dest < n, "jump out of code");
        targets.push_back(dest);
        if (op == OP_FORLOOP) CHECK(reg(a + 2), "register out of range");
        if (op == OP_TFORPREP) CHECK(reg(a + 1), "register out of range");
        break;
      }
      case OP_EQ:
      case OP_LT:
      case OP_LE:
        CHECK(rk(b) && rk(c), "operand out of range");
        break;
      case OP_TEST:
        CHECK(reg(a) && reg(b), "register out of range");
        break;
      case OP_CALL:
      case OP_TAILCALL:
        CHECK(reg(a), "register out of range");
        if (b > 0) CHECK(a + b - 1 < maxstack, "arguments out of range");
        if (c > 0) CHECK(a + c - 2 < maxstack, "results out of range");
        if (op == OP_TAILCALL)
          CHECK(pc + 1 < n && GET_OPCODE(pt->code[pc + 1]) == OP_RETURN,
                "tail call without return");
        break;
      case OP_RETURN:
        if (b > 0) CHECK(a + b - 2 < maxstack, "results out of range");
        CHECK(a < maxstack || b == 1, "register out of range");
        break;
      case OP_TFORLOOP:
        CHECK(a + c + 5 < maxstack + 1 && reg(a), "loop registers out of range");
        break;
      case OP_SETLIST:
        CHECK(reg(a) && a + (bx & (LFIELDS_PER_FLUSH - 1)) + 1 < maxstack, "list out of range");
        break;
      case OP_SETLISTO:
      case OP_CLOSE:
        CHECK(reg(a), "register out of range");
        break;
      case OP_CLOSURE: {
        CHECK(reg(a) && bx < pt->sizep && pt->p[bx], "prototype out of range");
        int nup = pt->p[bx]->nups;
        CHECK(pc + nup < n, "missing upvalue instructions");
        for (int j = 1; j <= nup; j++) {
          Instruction u = pt->code[pc + j];
          if (GET_OPCODE(u) == OP_GETUPVAL) {
            CHECK(GETARG_B(u) < pt->nups, "upvalue out of range");
          } else {
            CHECK(GET_OPCODE(u) == OP_MOVE && reg(GETARG_B(u)), "bad upvalue instruction");
          }
          pseudo[static_cast<size_t>(pc + j)] = true;
        }
        pc += nup;
        break;
      }
    }
  }
  for (int t : targets)
    CHECK(!pseudo[static_cast<size_t>(t)], "jump into a closure's upvalue list");
  for (int c : consumers)
    for (int t : targets) CHECK(t != c, "jump past an open call");
  for (int pc = 0; pc < n; pc++) {
    // A jump may not land between a test and its jump.
    if (pc > 0 && !pseudo[static_cast<size_t>(pc)] &&
        luaP_opinfo[GET_OPCODE(pt->code[pc - 1])].isTest) {
      for (int t : targets) CHECK(t != pc, "jump between a test and its jump");
    }
  }
  return true;
#undef CHECK
}

// --- debug interface -----------------------------------------------------------

int lua_getstack(lua_State* L, int level, lua_Debug* ar) {
  CallInfo* ci;
  for (ci = L->ci; level > 0 && ci > L->base_ci; ci--) {
    level--;
    if (ci->isLua) level -= ci->tailcalls;
  }
  if (level > 0 || ci == L->base_ci) return 0;
  if (level < 0) {
    ar->i_ci = 0;  // a tail call lost this level
    return 1;
  }
  ar->i_ci = static_cast<int>(ci - L->base_ci);
  return 1;
}

static void FuncInfo(lua_Debug* ar, const Value* func) {
  Closure* cl = clvalue(func);
  if (cl->c.isC) {
    ar->source = "=[C]";
    ar->linedefined = -1;
    ar->what = "C";
  } else {
    ar->source = cl->l.p->source->data();
    ar->linedefined = cl->l.p->linedefined;
    ar->what = ar->linedefined == 0 ? "main" : "Lua";
  }
  luaO_chunkid(ar->short_src, ar->source, sizeof ar->short_src);
}

static const char* GetFuncName(lua_State* L, CallInfo* ci, const char** name) {
  if (ci == L->base_ci) return nullptr;
  CallInfo* caller = ci - 1;
  if (!caller->isLua || ci->tailcalls > 0) return nullptr;
  const Proto* p = clvalue(caller->func)->l.p;
  int pc = CurrentPc(caller);
  if (pc < 0 || pc >= p->sizecode) return nullptr;
  Instruction i = p->code[pc];
  if (GET_OPCODE(i) == OP_CALL || GET_OPCODE(i) == OP_TAILCALL || GET_OPCODE(i) == OP_TFORLOOP)
    return GetObjName(p, pc, GETARG_A(i), name);
  return nullptr;
}

int lua_getinfo(lua_State* L, const char* what, lua_Debug* ar) {
  const Value* f = nullptr;
  CallInfo* ci = nullptr;
  if (*what == '>') {
    f = L->top - 1;
    if (!ttisfunction(f)) return 0;
    what++;
    L->top--;
  } else if (ar->i_ci != 0) {
    ci = L->base_ci + ar->i_ci;
    f = ci->func;
  }
  int status = 1;
  for (; *what; what++) {
    switch (*what) {
      case 'S':
        if (!f) {
          ar->source = "=?";
          ar->linedefined = -1;
          ar->what = "tail";
          luaO_chunkid(ar->short_src, ar->source, sizeof ar->short_src);
        } else {
          FuncInfo(ar, f);
        }
        break;
      case 'l':
        ar->currentline = ci ? luaG_currentline(ci) : -1;
        break;
      case 'u':
        ar->nups = f ? clvalue(f)->c.nupvalues : 0;
        break;
      case 'n':
        ar->namewhat = ci ? GetFuncName(L, ci, &ar->name) : nullptr;
        if (!ar->namewhat) {
          ar->namewhat = "";
          ar->name = nullptr;
        }
        break;
      case 'f':
        break;
      default:
        status = 0;
    }
  }
  return status;
}
