// The virtual machine: instruction dispatch, coercions, comparisons, table access
// through metamethods and concatenation (with the wide-string rules).
#include "script/lua/lua_vm.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_gc.h"
#include "script/lua/lua_opcodes.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_table.h"
#include "script/lua/lua_tm.h"

constexpr int MAXTAGLOOP = 100;  // limit of __index/__newindex chains

bool luaV_tonumber(const Value* obj, double* n) {
  if (obj->tt == LUA_TNUMBER) {
    *n = obj->n;
    return true;
  }
  if (obj->tt == LUA_TSTRING) return luaO_str2d(tsvalue(obj)->data(), tsvalue(obj)->len, n);
  if (obj->tt == LUA_TWSTRING) {
    const TString* s = tsvalue(obj);
    if (s->len > 200) return false;
    char buf[204];
    for (size_t i = 0; i < s->len; i++) {
      char16_t c = s->wdata()[i];
      if (c > 127) return false;
      buf[i] = static_cast<char>(c);
    }
    return luaO_str2d(buf, s->len, n);
  }
  return false;
}

bool luaV_tostring(lua_State* L, Value* obj) {
  if (obj->tt != LUA_TNUMBER) return obj->tt == LUA_TSTRING;
  char s[32];
  int len = luaO_num2str(obj->n, s);
  setsvalue(obj, luaS_newlstr(L, s, static_cast<size_t>(len)));
  return true;
}

uint32_t luaV_touint32(double x) {
  if (x > -9.2e18 && x < 9.2e18) return static_cast<uint32_t>(static_cast<int64_t>(x));
  if (std::isnan(x) || std::isinf(x)) return 0;
  double t = std::fmod(std::trunc(x), 4294967296.0);
  if (t < 0) t += 4294967296.0;
  return static_cast<uint32_t>(t);
}

static void CallTMres(lua_State* L, const Value* f, const Value* p1, const Value* p2, Value* res) {
  ptrdiff_t result = savestack(L, res);
  luaD_checkstack(L, 3);
  Value* top = L->top;
  top[0] = *f;
  top[1] = *p1;
  top[2] = *p2;
  L->top = top + 3;
  luaD_call(L, top, 1);
  L->top--;
  *restorestack(L, result) = *L->top;
}

static void CallTM(lua_State* L, const Value* f, const Value* p1, const Value* p2,
                   const Value* p3) {
  luaD_checkstack(L, 4);
  Value* top = L->top;
  top[0] = *f;
  top[1] = *p1;
  top[2] = *p2;
  top[3] = *p3;
  L->top = top + 4;
  luaD_call(L, top, 0);
}

void luaV_gettable(lua_State* L, const Value* t, const Value* key, Value* val) {
  Value tcopy = *t;  // t may live in a stack slot that a metamethod call moves
  ptrdiff_t valr = savestack(L, val);
  bool valOnStack = val >= L->stack && val < L->stack + L->stacksize;
  for (int loop = 0; loop < MAXTAGLOOP; loop++) {
    const Value* tm;
    if (ttistable(&tcopy)) {
      Table* h = hvalue(&tcopy);
      const Value* res = luaH_get(h, key);
      if (!ttisnil(res) || (tm = fasttm(L, h->metatable, TM_INDEX)) == nullptr) {
        *(valOnStack ? restorestack(L, valr) : val) = *res;
        return;
      }
    } else {
      tm = luaT_gettmbyobj(L, &tcopy, TM_INDEX);
      if (ttisnil(tm)) luaG_typeerror(L, t, "index");
    }
    if (ttisfunction(tm)) {
      Value k = *key;
      CallTMres(L, tm, &tcopy, &k, valOnStack ? restorestack(L, valr) : val);
      return;
    }
    tcopy = *tm;
  }
  luaG_runerror(L, "loop in gettable");
}

void luaV_settable(lua_State* L, const Value* t, const Value* key, const Value* val) {
  Value tcopy = *t, k = *key, v = *val;
  for (int loop = 0; loop < MAXTAGLOOP; loop++) {
    const Value* tm;
    if (ttistable(&tcopy)) {
      Table* h = hvalue(&tcopy);
      Value* oldval = const_cast<Value*>(luaH_get(h, &k));
      if (!ttisnil(oldval) || (tm = fasttm(L, h->metatable, TM_NEWINDEX)) == nullptr) {
        h->flags = 0;
        if (oldval == &luaO_nilobject) oldval = luaH_set(L, h, &k);
        *oldval = v;
        return;
      }
    } else {
      tm = luaT_gettmbyobj(L, &tcopy, TM_NEWINDEX);
      if (ttisnil(tm)) luaG_typeerror(L, t, "index");
    }
    if (ttisfunction(tm)) {
      CallTM(L, tm, &tcopy, &k, &v);
      return;
    }
    tcopy = *tm;
  }
  luaG_runerror(L, "loop in settable");
}

static bool CallBinTM(lua_State* L, const Value* p1, const Value* p2, Value* res, TMS event) {
  const Value* tm = luaT_gettmbyobj(L, p1, event);
  if (ttisnil(tm)) tm = luaT_gettmbyobj(L, p2, event);
  if (!ttisfunction(tm)) return false;
  Value f = *tm, a = *p1, b = *p2;
  CallTMres(L, &f, &a, &b, res);
  return true;
}

// Metamethod shared by both operands of a comparison, or nullptr.
static const Value* GetCompTM(lua_State* L, Table* mt1, Table* mt2, TMS event) {
  const Value* tm1 = fasttm(L, mt1, event);
  if (event > TM_EQ && mt1) {
    tm1 = luaH_getstr(mt1, G(L)->tmname[event]);
    if (ttisnil(tm1)) tm1 = nullptr;
  }
  if (!tm1) return nullptr;
  if (mt1 == mt2) return tm1;
  const Value* tm2 = mt2 ? luaH_getstr(mt2, G(L)->tmname[event]) : nullptr;
  if (!tm2 || ttisnil(tm2)) return nullptr;
  return luaV_rawequal(tm1, tm2) ? tm1 : nullptr;
}

static int CallOrderTM(lua_State* L, const Value* p1, const Value* p2, TMS event) {
  const Value* tm1 = luaT_gettmbyobj(L, p1, event);
  if (ttisnil(tm1)) return -1;
  const Value* tm2 = luaT_gettmbyobj(L, p2, event);
  if (!luaV_rawequal(tm1, tm2)) return -1;
  Value f = *tm1, a = *p1, b = *p2;
  Value* res = L->top;
  luaD_checkstack(L, 4);
  res = L->top;
  L->top++;
  CallTMres(L, &f, &a, &b, L->top - 1);
  L->top--;
  return !l_isfalse(L->top) ? 1 : 0;
  (void)res;
}

static int StrCmp(const TString* ls, const TString* rs) {
  if (ls->tt == LUA_TWSTRING) {
    size_t n = ls->len < rs->len ? ls->len : rs->len;
    for (size_t i = 0; i < n; i++)
      if (ls->wdata()[i] != rs->wdata()[i]) return ls->wdata()[i] < rs->wdata()[i] ? -1 : 1;
  } else {
    size_t n = ls->len < rs->len ? ls->len : rs->len;
    int c = memcmp(ls->data(), rs->data(), n);
    if (c != 0) return c;
  }
  return ls->len < rs->len ? -1 : (ls->len == rs->len ? 0 : 1);
}

bool luaV_lessthan(lua_State* L, const Value* l, const Value* r) {
  if (l->tt != r->tt) luaG_ordererror(L, l, r);
  if (ttisnumber(l)) return l->n < r->n;
  if (ttisstring(l) || ttiswstring(l)) return StrCmp(tsvalue(l), tsvalue(r)) < 0;
  int res = CallOrderTM(L, l, r, TM_LT);
  if (res == -1) luaG_ordererror(L, l, r);
  return res != 0;
}

static bool LessEqual(lua_State* L, const Value* l, const Value* r) {
  if (l->tt != r->tt) luaG_ordererror(L, l, r);
  if (ttisnumber(l)) return l->n <= r->n;
  if (ttisstring(l) || ttiswstring(l)) return StrCmp(tsvalue(l), tsvalue(r)) <= 0;
  int res = CallOrderTM(L, l, r, TM_LE);
  if (res != -1) return res != 0;
  res = CallOrderTM(L, r, l, TM_LT);
  if (res != -1) return res == 0;
  luaG_ordererror(L, l, r);
}

bool luaV_equalval(lua_State* L, const Value* t1, const Value* t2) {
  const Value* tm;
  switch (t1->tt) {
    case LUA_TNIL:
      return true;
    case LUA_TNUMBER:
      return t1->n == t2->n;
    case LUA_TBOOLEAN:
      return t1->b == t2->b;
    case LUA_TUSERDATA:
      if (uvalue(t1) == uvalue(t2)) return true;
      tm = GetCompTM(L, uvalue(t1)->metatable, uvalue(t2)->metatable, TM_EQ);
      break;
    case LUA_TTABLE:
      if (hvalue(t1) == hvalue(t2)) return true;
      tm = GetCompTM(L, hvalue(t1)->metatable, hvalue(t2)->metatable, TM_EQ);
      break;
    default:
      return t1->p == t2->p;
  }
  if (!tm) return false;
  Value f = *tm, a = *t1, b = *t2;
  luaD_checkstack(L, 4);
  L->top++;
  CallTMres(L, &f, &a, &b, L->top - 1);
  L->top--;
  return !l_isfalse(L->top);
}

// --- concatenation --------------------------------------------------------

static bool IsWideOperand(const Value* v) {
  return ttiswstring(v) || ttisnumber(v);
}
static bool IsPlainOperand(const Value* v) {
  return ttisstring(v) || ttisnumber(v);
}

void luaV_concat(lua_State* L, int total, int last) {
  do {
    Value* top = L->base + last + 1;
    Value* first = top - total;
    // The rightmost string or wide string of the run decides the mode.
    bool wide = false;
    for (Value* p = top - 1; p >= first; p--) {
      if (ttisstring(p)) break;
      if (ttiswstring(p)) {
        wide = true;
        break;
      }
    }
    bool (*ok)(const Value*) = wide ? IsWideOperand : IsPlainOperand;
    int n = 2;
    if (!ok(top - 2) || !ok(top - 1)) {
      if (!CallBinTM(L, top - 2, top - 1, top - 2, TM_CONCAT))
        luaG_concaterror(L, top - 2, top - 1);
    } else {
      // As many operands as fit the mode, from the right.
      while (n < total && ok(top - n - 1)) n++;
      uint64_t tl = 0;
      char numbuf[32];
      for (int i = n; i > 0; i--) {
        const Value* v = top - i;
        if (ttisnumber(v))
          tl += static_cast<uint64_t>(luaO_num2str(v->n, numbuf));
        else
          tl += tsvalue(v)->len;
      }
      if (tl >= 4294967294ull) luaG_runerror(L, "string size overflow");
      if (!wide) {
        std::string buffer;
        buffer.reserve(static_cast<size_t>(tl));
        for (int i = n; i > 0; i--) {
          const Value* v = top - i;
          if (ttisnumber(v)) {
            int len = luaO_num2str(v->n, numbuf);
            buffer.append(numbuf, static_cast<size_t>(len));
          } else {
            buffer.append(tsvalue(v)->data(), tsvalue(v)->len);
          }
        }
        setsvalue(top - n, luaS_newlstr(L, buffer.data(), buffer.size()));
      } else {
        std::u16string buffer;
        buffer.reserve(static_cast<size_t>(tl));
        for (int i = n; i > 0; i--) {
          const Value* v = top - i;
          if (ttisnumber(v)) {
            int len = luaO_num2str(v->n, numbuf);
            for (int j = 0; j < len; j++) buffer.push_back(static_cast<char16_t>(numbuf[j]));
          } else {
            buffer.append(tsvalue(v)->wdata(), tsvalue(v)->len);
          }
        }
        setsvalue(top - n, luaS_newwstr(L, buffer.data(), buffer.size()));
      }
    }
    total -= n - 1;
    last -= n - 1;
  } while (total > 1);
}

// --- arithmetic -------------------------------------------------------------

static void Arith(lua_State* L, Value* ra, const Value* rb, const Value* rc, TMS op) {
  double b, c;
  if (luaV_tonumber(rb, &b) && luaV_tonumber(rc, &c)) {
    switch (op) {
      case TM_ADD:
        setnvalue(ra, b + c);
        break;
      case TM_SUB:
        setnvalue(ra, b - c);
        break;
      case TM_MUL:
        setnvalue(ra, b * c);
        break;
      case TM_DIV:
        setnvalue(ra, b / c);
        break;
      default:
        break;
    }
  } else if (!CallBinTM(L, rb, rc, ra, op)) {
    luaG_aritherror(L, rb, rc);
  }
}

// The bitwise operators accept numbers and numeric strings only.
static void Bitwise(lua_State* L, Value* ra, const Value* rb, const Value* rc, OpCode op) {
  double b, c;
  if (!luaV_tonumber(rb, &b) || !luaV_tonumber(rc, &c)) luaG_aritherror(L, rb, rc);
  uint32_t x = luaV_touint32(b), y = luaV_touint32(c);
  uint32_t r;
  switch (op) {
    case OP_BAND:
      r = x & y;
      break;
    case OP_BOR:
      r = x | y;
      break;
    case OP_SHL:
      r = x << (y & 31);
      break;
    default:
      r = x >> (y & 31);
      break;
  }
  setnvalue(ra, static_cast<double>(static_cast<int32_t>(r)));
}

// "^": exclusive or for numbers; otherwise the "__pow" metamethod, then the global
// function __pow.
static void PowOrXor(lua_State* L, Value* ra, const Value* rb, const Value* rc) {
  double b, c;
  if (luaV_tonumber(rb, &b) && luaV_tonumber(rc, &c)) {
    uint32_t r = luaV_touint32(b) ^ luaV_touint32(c);
    setnvalue(ra, static_cast<double>(static_cast<int32_t>(r)));
    return;
  }
  if (CallBinTM(L, rb, rc, ra, TM_POW)) return;
  Value* env = &L->gt;
  if (L->ci->isLua) sethvalue(&L->gt, L->gt.gc ? hvalue(&L->gt) : nullptr);
  (void)env;
  const Value* f = luaH_getstr(hvalue(&L->gt), G(L)->tmname[TM_POW]);
  if (!ttisfunction(f)) luaG_runerror(L, "`__pow' (`^' operator) is not a function");
  Value fn = *f, x = *rb, y = *rc;
  CallTMres(L, &fn, &x, &y, ra);
}

// --- the interpreter loop ------------------------------------------------

#define RA(i) (base + GETARG_A(i))
#define RB(i) (base + GETARG_B(i))
#define RC(i) (base + GETARG_C(i))
#define RKB(i) (ISK(GETARG_B(i)) ? k + (GETARG_B(i) - MAXSTACK) : base + GETARG_B(i))
#define RKC(i) (ISK(GETARG_C(i)) ? k + (GETARG_C(i) - MAXSTACK) : base + GETARG_C(i))
#define KBx(i) (k + GETARG_Bx(i))
// Anything that may raise an error or call out first saves pc: messages need the
// line, and a called function returns to it.
#define Protect(x)    \
  {                   \
    ci->savedpc = pc; \
    x;                \
    base = L->base;   \
  }
#define CheckGC()     \
  {                   \
    ci->savedpc = pc; \
    L->top = ci->top; \
    luaC_checkGC(L);  \
    base = L->base;   \
  }

#define vmcase(op) L_##op:
#define vmbreak                   \
  {                               \
    i = *pc++;                    \
    ci->savedpc = pc;             \
    ra = RA(i);                   \
    goto* disptab[GET_OPCODE(i)]; \
  }

void luaV_execute(lua_State* L) {
  // Dispatch through a table of label addresses: one indirect jump per instruction.
  static const void* const disptab[NUM_OPCODES] = {
      &&L_OP_MOVE,      &&L_OP_LOADK,    &&L_OP_LOADBOOL,  &&L_OP_LOADNIL,  &&L_OP_GETUPVAL,
      &&L_OP_GETGLOBAL, &&L_OP_GETTABLE, &&L_OP_SETGLOBAL, &&L_OP_SETUPVAL, &&L_OP_SETTABLE,
      &&L_OP_NEWTABLE,  &&L_OP_SELF,     &&L_OP_ADD,       &&L_OP_SUB,      &&L_OP_MUL,
      &&L_OP_DIV,       &&L_OP_BAND,     &&L_OP_BOR,       &&L_OP_SHL,      &&L_OP_SHR,
      &&L_OP_POW,       &&L_OP_UNM,      &&L_OP_NOT,       &&L_OP_CONCAT,   &&L_OP_JMP,
      &&L_OP_EQ,        &&L_OP_LT,       &&L_OP_LE,        &&L_OP_TEST,     &&L_OP_CALL,
      &&L_OP_TAILCALL,  &&L_OP_RETURN,   &&L_OP_FORLOOP,   &&L_OP_TFORLOOP, &&L_OP_TFORPREP,
      &&L_OP_SETLIST,   &&L_OP_SETLISTO, &&L_OP_CLOSE,     &&L_OP_CLOSURE};
  CallInfo* ci;
  LClosure* cl;
  Value* k;
  Value* base;
  const Instruction* pc;
  Instruction i;
  Value* ra;
reentry:
  ci = L->ci;
  lua_assert(ci->isLua);
  pc = ci->savedpc;
  cl = &clvalue(ci->func)->l;
  base = L->base;
  k = cl->p->k;
  vmbreak;
  {
    vmcase(OP_MOVE)* ra = *RB(i);
    vmbreak;
    vmcase(OP_LOADK)* ra = *KBx(i);
    vmbreak;
    vmcase(OP_LOADBOOL) setbvalue(ra, GETARG_B(i) != 0);
    if (GETARG_C(i)) pc++;
    vmbreak;
    vmcase(OP_LOADNIL) {
      Value* rb = RB(i);
      do {
        setnilvalue(rb--);
      } while (rb >= ra);
      vmbreak;
    }
    vmcase(OP_GETUPVAL)* ra = *cl->upvals[GETARG_B(i)]->v;
    vmbreak;
    vmcase(OP_GETGLOBAL) {
      const Value* rb = KBx(i);
      const Value* res = luaH_getstr(cl->env, tsvalue(rb));
      if (!ttisnil(res)) {
        *ra = *res;
      } else {
        Value g;
        sethvalue(&g, cl->env);
        Protect(luaV_gettable(L, &g, rb, ra));
      }
      vmbreak;
    }
    vmcase(OP_GETTABLE) {
      Value* rb = RB(i);
      const Value* rc = RKC(i);
      if (ttistable(rb)) {
        const Value* res = luaH_get(hvalue(rb), rc);
        if (!ttisnil(res)) {
          *ra = *res;
          vmbreak;
        }
      }
      Protect(luaV_gettable(L, rb, rc, ra));
      vmbreak;
    }
    vmcase(OP_SETGLOBAL) {
      Value g;
      sethvalue(&g, cl->env);
      Protect(luaV_settable(L, &g, KBx(i), ra));
      vmbreak;
    }
    vmcase(OP_SETUPVAL) * cl->upvals[GETARG_B(i)]->v = *ra;
    vmbreak;
    vmcase(OP_SETTABLE) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      if (ttistable(ra)) {
        Table* h = hvalue(ra);
        Value* slot = const_cast<Value*>(luaH_get(h, rb));
        if (slot != &luaO_nilobject && !ttisnil(slot)) {
          *slot = *rc;
          vmbreak;
        }
      }
      Protect(luaV_settable(L, ra, rb, rc));
      vmbreak;
    }
    vmcase(OP_NEWTABLE) {
      ci->savedpc = pc;
      // B holds the array size as a "floating point byte", C the log2 of the hash
      // size plus one; both are only hints, clamped against damaged chunks.
      int b = GETARG_B(i);
      int e = b >> 3;
      int asize = e > 16 ? (1 << 16) : ((b & 7) << e);
      if (asize > (1 << 16)) asize = 1 << 16;
      int c = GETARG_C(i);
      Table* t = luaH_new(L, asize, c == 0 ? -1 : (c > 16 ? 16 : c));
      sethvalue(ra, t);
      CheckGC();
      vmbreak;
    }
    vmcase(OP_SELF) {
      Value* rb = RB(i);
      const Value* rc = RKC(i);
      ra[1] = *rb;
      if (ttistable(rb)) {
        const Value* res = luaH_get(hvalue(rb), rc);
        if (!ttisnil(res)) {
          *ra = *res;
          vmbreak;
        }
      }
      Value obj = *rb;
      Protect(luaV_gettable(L, &obj, rc, RA(i)));
      vmbreak;
    }
    vmcase(OP_ADD) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      if (ttisnumber(rb) && ttisnumber(rc))
        setnvalue(ra, rb->n + rc->n);
      else
        Protect(Arith(L, ra, rb, rc, TM_ADD));
      vmbreak;
    }
    vmcase(OP_SUB) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      if (ttisnumber(rb) && ttisnumber(rc))
        setnvalue(ra, rb->n - rc->n);
      else
        Protect(Arith(L, ra, rb, rc, TM_SUB));
      vmbreak;
    }
    vmcase(OP_MUL) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      if (ttisnumber(rb) && ttisnumber(rc))
        setnvalue(ra, rb->n * rc->n);
      else
        Protect(Arith(L, ra, rb, rc, TM_MUL));
      vmbreak;
    }
    vmcase(OP_DIV) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      if (ttisnumber(rb) && ttisnumber(rc))
        setnvalue(ra, rb->n / rc->n);
      else
        Protect(Arith(L, ra, rb, rc, TM_DIV));
      vmbreak;
    }
    vmcase(OP_BAND) vmcase(OP_BOR) vmcase(OP_SHL) vmcase(OP_SHR)
        Protect(Bitwise(L, ra, RKB(i), RKC(i), GET_OPCODE(i)));
    vmbreak;
    vmcase(OP_POW) Protect(PowOrXor(L, ra, RKB(i), RKC(i)));
    vmbreak;
    vmcase(OP_UNM) {
      const Value* rb = RB(i);
      double n;
      if (ttisnumber(rb)) {
        setnvalue(ra, -rb->n);
      } else if (luaV_tonumber(rb, &n)) {
        setnvalue(ra, -n);
      } else {
        Value b = *rb;
        Protect(if (!CallBinTM(L, &b, &luaO_nilobject, RA(i), TM_UNM))
                    luaG_aritherror(L, RB(i), &luaO_nilobject));
      }
      vmbreak;
    }
    vmcase(OP_NOT) setbvalue(ra, l_isfalse(RB(i)));
    vmbreak;
    vmcase(OP_CONCAT) {
      int b = GETARG_B(i);
      int c = GETARG_C(i);
      L->top = ci->top;
      Protect(luaV_concat(L, c - b + 1, c));
      *RA(i) = base[b];
      CheckGC();
      vmbreak;
    }
    vmcase(OP_JMP) pc += GETARG_sBx(i);
    vmbreak;
    vmcase(OP_EQ) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      bool eq;
      if (rb->tt != rc->tt)
        eq = false;
      else if (rb->tt == LUA_TNUMBER)
        eq = rb->n == rc->n;
      else
        Protect(eq = luaV_equalval(L, rb, rc));
      if (eq != (GETARG_A(i) != 0))
        pc++;
      else
        pc += GETARG_sBx(*pc) + 1;
      vmbreak;
    }
    vmcase(OP_LT) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      bool res;
      if (ttisnumber(rb) && ttisnumber(rc))
        res = rb->n < rc->n;
      else
        Protect(res = luaV_lessthan(L, rb, rc));
      if (res != (GETARG_A(i) != 0))
        pc++;
      else
        pc += GETARG_sBx(*pc) + 1;
      vmbreak;
    }
    vmcase(OP_LE) {
      const Value* rb = RKB(i);
      const Value* rc = RKC(i);
      bool res;
      if (ttisnumber(rb) && ttisnumber(rc))
        res = rb->n <= rc->n;
      else
        Protect(res = LessEqual(L, rb, rc));
      if (res != (GETARG_A(i) != 0))
        pc++;
      else
        pc += GETARG_sBx(*pc) + 1;
      vmbreak;
    }
    vmcase(OP_TEST) {
      Value* rb = RB(i);
      if (l_isfalse(rb) == (GETARG_C(i) != 0)) {
        pc++;
      } else {
        *ra = *rb;
        pc += GETARG_sBx(*pc) + 1;
      }
      vmbreak;
    }
    vmcase(OP_CALL) {
      ci->savedpc = pc;
      int b = GETARG_B(i);
      int nresults = GETARG_C(i) - 1;
      if (b != 0) L->top = ra + b;
      if (ttisfunction(ra) && !clvalue(ra)->c.isC) {
        // Lua to Lua call without a vararg adjustment: set the frame up in place.
        Proto* p = clvalue(ra)->l.p;
        if (!p->is_vararg && L->stack_last - L->top > p->maxstacksize + 2 && ci != L->end_ci) {
          ci = ++L->ci;
          luaD_enterluaframe(L, ra, p, nresults);
          cl = &clvalue(ra)->l;
          base = ci->base;
          k = p->k;
          pc = p->code;
          vmbreak;
        }
      }
      int r = luaD_precall(L, ra, nresults);
      if (r == PCRLUA) goto reentry;
      if (r == PCRYIELD) return;
      ci = L->ci;
      if (nresults >= 0) L->top = ci->top;
      base = L->base;
      vmbreak;
    }
    vmcase(OP_TAILCALL) {
      ci->savedpc = pc;
      int b = GETARG_B(i);
      if (b != 0) L->top = ra + b;
      int r = luaD_precall(L, ra, LUA_MULTRET);
      if (r == PCRLUA) {
        CallInfo* nci = L->ci;
        CallInfo* oci = nci - 1;
        lua_assert(oci->isLua && oci > L->base_ci);
        if (L->openupval) luaF_close(L, oci->base);
        Value* func = oci->func;
        Value* pfunc = nci->func;
        int aux;
        for (aux = 0; pfunc + aux < L->top; aux++) func[aux] = pfunc[aux];
        L->top = func + aux;
        oci->top = L->top;
        oci->base = func + (nci->base - pfunc);
        oci->savedpc = nci->savedpc;
        oci->tailcalls++;
        L->ci = oci;
        L->base = oci->base;
        goto reentry;
      }
      if (r == PCRYIELD) return;
      ci = L->ci;
      base = L->base;
      vmbreak;
    }
    vmcase(OP_RETURN) {
      int b = GETARG_B(i);
      if (b != 0) L->top = ra + b - 1;
      if (L->openupval && L->openupval->v >= base) luaF_close(L, base);
      lua_assert(ci > L->base_ci && ci == L->ci);
      bool entry = ci->entry;
      int nres = ci->nresults;
      int wanted = nres;
      Value* res = ci->func;
      L->ci = --ci;
      L->base = ci->base;
      Value* top = L->top;
      while (wanted != 0 && ra < top) {
        *res++ = *ra++;
        wanted--;
      }
      while (wanted-- > 0) setnilvalue(res++);
      L->top = res;
      if (entry) return;
      // Back in the calling Lua function.
      lua_assert(ci->isLua);
      if (nres >= 0) L->top = ci->top;
      base = ci->base;
      pc = ci->savedpc;
      cl = &clvalue(ci->func)->l;
      k = cl->p->k;
      vmbreak;
    }
    vmcase(OP_FORLOOP) {
      if (!ttisnumber(ra) || !ttisnumber(ra + 1) || !ttisnumber(ra + 2)) {
        ci->savedpc = pc;
        if (!ttisnumber(ra)) luaG_runerror(L, "`for' initial value must be a number");
        double n;
        if (!luaV_tonumber(ra + 1, &n)) luaG_runerror(L, "`for' limit must be a number");
        setnvalue(ra + 1, n);
        if (!luaV_tonumber(ra + 2, &n)) luaG_runerror(L, "`for' step must be a number");
        setnvalue(ra + 2, n);
      }
      double step = ra[2].n;
      double idx = ra->n + step;
      double limit = ra[1].n;
      if (step > 0 ? idx <= limit : idx >= limit) {
        pc += GETARG_sBx(i);
        ra->n = idx;
      }
      vmbreak;
    }
    vmcase(OP_TFORLOOP) {
      int nvar = GETARG_C(i) + 1;
      Value* cb = ra + nvar + 2;
      cb[0] = ra[0];
      cb[1] = ra[1];
      cb[2] = ra[2];
      L->top = cb + 3;
      Protect(luaD_call(L, cb, nvar));
      L->top = L->ci->top;
      ra = RA(i) + 2;
      cb = ra + nvar;
      do {
        nvar--;
        ra[nvar] = cb[nvar];
      } while (nvar > 0);
      if (ttisnil(ra))
        pc++;
      else
        pc += GETARG_sBx(*pc) + 1;
      vmbreak;
    }
    vmcase(OP_TFORPREP) {
      ci->savedpc = pc;
      if (ttistable(ra)) {
        ra[1] = *ra;
        *ra = *luaH_getstr(cl->env, luaS_new(L, "next"));
      }
      pc += GETARG_sBx(i);
      vmbreak;
    }
    vmcase(OP_SETLIST) vmcase(OP_SETLISTO) {
      ci->savedpc = pc;
      int bc = GETARG_Bx(i);
      int n;
      if (GET_OPCODE(i) == OP_SETLIST) {
        n = (bc & (LFIELDS_PER_FLUSH - 1)) + 1;
      } else {
        n = static_cast<int>(L->top - ra) - 1;
        L->top = ci->top;
      }
      if (!ttistable(ra)) luaG_runerror(L, "table expected in SETLIST");
      Table* h = hvalue(ra);
      bc &= ~(LFIELDS_PER_FLUSH - 1);
      for (; n > 0; n--) *luaH_setnum(L, h, bc + n) = ra[n];
      vmbreak;
    }
    vmcase(OP_CLOSE) luaF_close(L, ra);
    vmbreak;
    vmcase(OP_CLOSURE) {
      ci->savedpc = pc;
      Proto* p = cl->p->p[GETARG_Bx(i)];
      int nup = p->nups;
      Closure* ncl = luaF_newLclosure(L, nup, cl->env);
      ncl->l.p = p;
      for (int j = 0; j < nup; j++, pc++) {
        if (GET_OPCODE(*pc) == OP_GETUPVAL)
          ncl->l.upvals[j] = cl->upvals[GETARG_B(*pc)];
        else
          ncl->l.upvals[j] = luaF_findupval(L, base + GETARG_B(*pc));
      }
      ci->savedpc = pc;
      setclvalue(ra, ncl);
      CheckGC();
      vmbreak;
    }
  }
}
