// The virtual machine: instruction dispatch, coercions, comparisons, table access
// through metamethods and concatenation (with the wide-string rules).
#include "script/lua/lua_vm.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_exec.h"
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

// t[key] into val, from obj on along the "__index" chain of t (errors name t). obj points
// into a stack slot or a metatable's node, which stay where they are until a metamethod
// is called; loop counts the links already followed.
static void GetFrom(lua_State* L, const Value* t, const Value* obj, const Value* key, Value* val,
                    int loop) {
  for (; loop < MAXTAGLOOP; loop++) {
    const Value* tm;
    if (ttistable(obj)) {
      Table* h = hvalue(obj);
      const Value* res = luaH_get(h, key);
      if (!ttisnil(res) || (tm = fasttm(L, h->metatable, TM_INDEX)) == nullptr) {
        *val = *res;
        return;
      }
    } else {
      tm = luaT_gettmbyobj(L, obj, TM_INDEX);
      if (ttisnil(tm)) luaG_typeerror(L, t, "index");
    }
    if (ttisfunction(tm)) {
      // The call may move the stack: it gets copies of the operands (val, a stack slot, is
      // found again by its offset).
      Value f = *tm, o = *obj, k = *key;
      CallTMres(L, &f, &o, &k, val);
      return;
    }
    obj = tm;
  }
  luaG_runerror(L, "loop in gettable");
}

void luaV_gettable(lua_State* L, const Value* t, const Value* key, Value* val) {
  GetFrom(L, t, t, key, val, 0);
}

void luaV_getfromindex(lua_State* L, const Value* t, const Value* index, const Value* key,
                       Value* val) {
  GetFrom(L, t, index, key, val, 1);
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
        if (oldval == &luaO_nilobject) oldval = luaH_newkey(L, h, &k);
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

// Longest "%.14g" text of a number ("-2.2250738585072e-308").
constexpr size_t kMaxNumberText = 24;

// Joins the n operands from first on (strings and numbers, or wide strings and numbers)
// into one string at first. The text is built in the state's scratch buffer, numbers
// formatted straight into it.
static void JoinOperands(lua_State* L, Value* first, int n, bool wide) {
  uint64_t bound = 0;  // the length, with room for the longest text of each number
  int numbers = 0;
  for (int i = 0; i < n; i++) {
    if (ttisnumber(first + i))
      numbers++;
    else
      bound += tsvalue(first + i)->len;
  }
  bound += numbers * kMaxNumberText;
  if (bound >= 4294967294ull) {
    // Near the limit: the exact length decides.
    uint64_t exact = bound - numbers * kMaxNumberText;
    char numbuf[32];
    for (int i = 0; i < n; i++)
      if (ttisnumber(first + i)) exact += static_cast<uint64_t>(luaO_num2str(first[i].n, numbuf));
    if (exact >= 4294967294ull) luaG_runerror(L, "string size overflow");
  }
  size_t unit = wide ? sizeof(char16_t) : 1;
  char* out = luaS_scratch(L, static_cast<size_t>(bound) * unit + kMaxNumberText);
  size_t len = 0;  // in characters
  for (int i = 0; i < n; i++) {
    const Value* v = first + i;
    if (ttisnumber(v)) {
      char* numtext = wide ? out + static_cast<size_t>(bound) * unit : out + len;
      int k = luaO_num2str(v->n, numtext);
      if (wide) {
        char16_t* w = reinterpret_cast<char16_t*>(out) + len;
        for (int j = 0; j < k; j++) w[j] = static_cast<unsigned char>(numtext[j]);
      }
      len += static_cast<size_t>(k);
    } else {
      memcpy(out + len * unit, tsvalue(v)->data(), tsvalue(v)->len * unit);
      len += tsvalue(v)->len;
    }
  }
  if (wide)
    setsvalue(first, luaS_newwstr(L, reinterpret_cast<const char16_t*>(out), len));
  else
    setsvalue(first, luaS_newlstr(L, out, len));
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
      JoinOperands(L, top - n, n, wide);
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

// One step of a generic for over a table with the base library's next (pairs) or ipairs
// iterator, done here as the call would do it: the nvar loop variables at ra + 2 get the
// iterator's results, all nil at the end. Answers false, having changed nothing, when the
// loop needs the real call (another iterator, a key next does not know, which raises
// the iterator's own error, or an ipairs counter that is not a plain int).
//
// The register after the loop variables, which the call would use for its function, keeps
// the traversal position of the key for the next step. The loop body may reuse that
// register, so the position is only a hint, checked against the key before it is used.
static bool StepTableIterator(Value* ra, int nvar) {
  if (!ttisfunction(ra) || !clvalue(ra)->c.isC || !ttistable(ra + 1)) return false;
  Table* h = hvalue(ra + 1);
  lua_CFunction f = clvalue(ra)->c.f;
  Value key, val;
  bool more;
  Value* position = ra + 2 + nvar;
  if (f == luaB_next) {
    int index = ttisnumber(position) ? luaH_nextindexhint(h, ra + 2, position->n)
                                     : luaH_nextindex(h, ra + 2);
    if (index < 0) return false;
    int after = luaH_nextfrom(h, index, &key, &val);
    more = after != 0;
    if (more) setnvalue(position, after);
  } else if (f == luaB_ipairsaux) {
    int32_t n;
    if (!ttisnumber(ra + 2) || !luaH_numbertoint(ra[2].n, &n) || n == 2147483647) return false;
    val = *luaH_getnum(h, n + 1);
    more = !ttisnil(&val);
    setnvalue(&key, n + 1);
  } else {
    return false;
  }
  Value* vars = ra + 2;
  if (!more) {
    for (int v = 0; v < nvar; v++) setnilvalue(&vars[v]);
    return true;
  }
  vars[0] = key;
  if (nvar > 1) vars[1] = val;
  for (int v = 2; v < nvar; v++) setnilvalue(&vars[v]);
  return true;
}

// The slot an assignment t[key] = v writes without consulting a metamethod, given what
// the raw lookup of key found: an existing field, or a new one when t has no metatable (so
// no "__newindex" can apply). nullptr when the full rules of luaV_settable are needed. A
// new key may raise an error (nil or NaN key, memory), so the instruction's position is
// saved first.
static inline Value* RawSetSlot(lua_State* L, CallInfo* ci, const ExecInstr* pc, Table* h,
                                const Value* key, const Value* found) {
  Value* slot = const_cast<Value*>(found);
  if (!ttisnil(slot)) return slot;
  if (h->metatable != nullptr) return nullptr;
  h->flags = 0;
  if (slot != &luaO_nilobject) return slot;  // a dead key's node comes back to life
  ci->savedpc = pc;
  return luaH_newkey(L, h, key);
}

// Operands of the executable instructions (lua_exec.h): byte offsets from the frame's base
// or from the function's constants.
#define XREG(off) reinterpret_cast<Value*>(reinterpret_cast<char*>(base) + (off))
#define XK(off) reinterpret_cast<Value*>(reinterpret_cast<char*>(k) + (off))
#define XB_ANY (x->kinds & XK_B_CONSTANT ? XK(x->b) : XREG(x->b))
#define XC_ANY (x->kinds & XK_C_CONSTANT ? XK(x->c) : XREG(x->c))
// Anything that may raise an error or call out first saves pc: messages need the
// line, and a called function returns to it.
#define Protect(stmt) \
  {                   \
    ci->savedpc = pc; \
    stmt;             \
    base = L->base;   \
  }
#define CheckGC()     \
  {                   \
    ci->savedpc = pc; \
    L->top = ci->top; \
    luaC_checkGC(L);  \
    base = L->base;   \
  }
// A test instruction is followed by the jump it takes when the test holds.
#define TestJump(holds)      \
  {                          \
    if (holds)               \
      pc += XGETsBx(pc) + 1; \
    else                     \
      pc++;                  \
  }

#define vmcase(op) L_##op:
#define vmbreak           \
  {                       \
    x = pc++;             \
    ra = XREG(x->a);      \
    goto* disptab[x->op]; \
  }

// Arithmetic with its number fast path; rb and rc are the operand expressions.
#define ArithCase(op, rb_, rc_, OPER, event) \
  vmcase(op) {                               \
    const Value* rb = rb_;                   \
    const Value* rc = rc_;                   \
    if (ttisnumber(rb) && ttisnumber(rc))    \
      setnvalue(ra, rb->n OPER rc->n);       \
    else                                     \
      Protect(Arith(L, ra, rb, rc, event));  \
    vmbreak;                                 \
  }
#define ArithCases(X, OPER, event)                       \
  ArithCase(X, XB_ANY, XC_ANY, OPER, event)              \
  ArithCase(X##_RR, XREG(x->b), XREG(x->c), OPER, event) \
  ArithCase(X##_RK, XREG(x->b), XK(x->c), OPER, event)   \
  ArithCase(X##_KR, XK(x->b), XREG(x->c), OPER, event)
// Order comparisons: numbers here, the rest in compare (luaV_lessthan or LessEqual).
#define OrderCase(op, rb_, rc_, OPER, compare) \
  vmcase(op) {                                 \
    const Value* rb = rb_;                     \
    const Value* rc = rc_;                     \
    bool res;                                  \
    if (ttisnumber(rb) && ttisnumber(rc))      \
      res = rb->n OPER rc->n;                  \
    else                                       \
      Protect(res = compare(L, rb, rc));       \
    TestJump(res == (x->a != 0));              \
    vmbreak;                                   \
  }
#define OrderCases(X, OPER, compare)                       \
  OrderCase(X, XB_ANY, XC_ANY, OPER, compare)              \
  OrderCase(X##_RR, XREG(x->b), XREG(x->c), OPER, compare) \
  OrderCase(X##_RK, XREG(x->b), XK(x->c), OPER, compare)   \
  OrderCase(X##_KR, XK(x->b), XREG(x->c), OPER, compare)
#define EqCase(op, rb_, rc_)                  \
  vmcase(op) {                                \
    const Value* rb = rb_;                    \
    const Value* rc = rc_;                    \
    bool eq;                                  \
    if (rb->tt != rc->tt)                     \
      eq = false;                             \
    else if (rb->tt == LUA_TNUMBER)           \
      eq = rb->n == rc->n;                    \
    else                                      \
      Protect(eq = luaV_equalval(L, rb, rc)); \
    TestJump(eq == (x->a != 0));              \
    vmbreak;                                  \
  }
// Table reads: the raw lookup first, then a table's "__index" table (method lookups in
// classes) without looking at the first table again, then the full rules. lookup is an
// expression on h and rc; t is the indexed value (a copy of it for SELF, which overwrites
// the register it may come from).
#define GetTableBody(t, rc, lookup, dest)                                       \
  if (ttistable(t)) {                                                           \
    Table* h = hvalue(t);                                                       \
    const Value* res = lookup;                                                  \
    const Value* tm;                                                            \
    if (!ttisnil(res) || (tm = fasttm(L, h->metatable, TM_INDEX)) == nullptr) { \
      *dest = *res;                                                             \
      vmbreak;                                                                  \
    }                                                                           \
    if (ttistable(tm)) {                                                        \
      Protect(luaV_getfromindex(L, t, tm, rc, dest));                           \
      vmbreak;                                                                  \
    }                                                                           \
  }                                                                             \
  Protect(luaV_gettable(L, t, rc, dest));                                       \
  vmbreak;
#define GetTableCase(op, rc_, lookup) \
  vmcase(op) {                        \
    Value* rb = XREG(x->b);           \
    const Value* rc = rc_;            \
    GetTableBody(rb, rc, lookup, ra)  \
  }
#define SelfCase(op, rc_, lookup)      \
  vmcase(op) {                         \
    const Value* rc = rc_;             \
    Value obj = *XREG(x->b);           \
    ra[1] = obj;                       \
    GetTableBody(&obj, rc, lookup, ra) \
  }

void luaV_execute(lua_State* L) {
  // Dispatch through a table of label addresses: one indirect jump per instruction.
  static const void* const disptab[X_NUM_OPS] = {
      &&L_X_MOVE,      &&L_X_LOADK,    &&L_X_LOADBOOL,   &&L_X_LOADNIL,    &&L_X_GETUPVAL,
      &&L_X_GETGLOBAL, &&L_X_GETTABLE, &&L_X_GETTABLE_S, &&L_X_GETTABLE_K, &&L_X_SETGLOBAL,
      &&L_X_SETUPVAL,  &&L_X_SETTABLE, &&L_X_SETTABLE_S, &&L_X_NEWTABLE,   &&L_X_SELF,
      &&L_X_SELF_S,    &&L_X_ADD,      &&L_X_ADD_RR,     &&L_X_ADD_RK,     &&L_X_ADD_KR,
      &&L_X_SUB,       &&L_X_SUB_RR,   &&L_X_SUB_RK,     &&L_X_SUB_KR,     &&L_X_MUL,
      &&L_X_MUL_RR,    &&L_X_MUL_RK,   &&L_X_MUL_KR,     &&L_X_DIV,        &&L_X_DIV_RR,
      &&L_X_DIV_RK,    &&L_X_DIV_KR,   &&L_X_BITWISE,    &&L_X_POW,        &&L_X_UNM,
      &&L_X_NOT,       &&L_X_CONCAT,   &&L_X_JMP,        &&L_X_EQ,         &&L_X_EQ_RR,
      &&L_X_EQ_RK,     &&L_X_LT,       &&L_X_LT_RR,      &&L_X_LT_RK,      &&L_X_LT_KR,
      &&L_X_LE,        &&L_X_LE_RR,    &&L_X_LE_RK,      &&L_X_LE_KR,      &&L_X_TEST,
      &&L_X_CALL,      &&L_X_TAILCALL, &&L_X_RETURN,     &&L_X_FORLOOP,    &&L_X_TFORLOOP,
      &&L_X_TFORPREP,  &&L_X_SETLIST,  &&L_X_SETLISTO,   &&L_X_CLOSE,      &&L_X_CLOSURE};
  CallInfo* ci;
  LClosure* cl;
  Value* k;
  Value* base;
  const ExecInstr* pc;
  const ExecInstr* x;
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
    vmcase(X_MOVE)* ra = *XREG(x->b);
    vmbreak;
    vmcase(X_LOADK)* ra = *XK(XGETBx(x));
    vmbreak;
    vmcase(X_LOADBOOL) setbvalue(ra, x->b != 0);
    if (x->c) pc++;
    vmbreak;
    vmcase(X_LOADNIL) {
      Value* rb = XREG(x->b);
      do {
        setnilvalue(rb--);
      } while (rb >= ra);
      vmbreak;
    }
    vmcase(X_GETUPVAL)* ra = *cl->upvals[x->b]->v;
    vmbreak;
    vmcase(X_GETGLOBAL) {
      const Value* rb = XK(XGETBx(x));
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
    GetTableCase(X_GETTABLE, XREG(x->c), luaH_get(h, rc))
    GetTableCase(X_GETTABLE_S, XK(x->c), luaH_getstr(h, tsvalue(rc)))
    GetTableCase(X_GETTABLE_K, XK(x->c), luaH_get(h, rc))
    vmcase(X_SETGLOBAL) {
      const Value* rb = XK(XGETBx(x));
      Value* slot = RawSetSlot(L, ci, pc, cl->env, rb, luaH_getstr(cl->env, tsvalue(rb)));
      if (slot) {
        *slot = *ra;
      } else {
        Value g;
        sethvalue(&g, cl->env);
        Protect(luaV_settable(L, &g, rb, ra));
      }
      vmbreak;
    }
    vmcase(X_SETUPVAL) * cl->upvals[x->b]->v = *ra;
    vmbreak;
    vmcase(X_SETTABLE) {
      const Value* rb = XB_ANY;
      const Value* rc = XC_ANY;
      Value* slot = nullptr;
      if (ttistable(ra)) slot = RawSetSlot(L, ci, pc, hvalue(ra), rb, luaH_get(hvalue(ra), rb));
      if (slot)
        *slot = *rc;
      else
        Protect(luaV_settable(L, ra, rb, rc));
      vmbreak;
    }
    vmcase(X_SETTABLE_S) {
      const Value* rb = XK(x->b);
      const Value* rc = XC_ANY;
      Value* slot = nullptr;
      if (ttistable(ra))
        slot = RawSetSlot(L, ci, pc, hvalue(ra), rb, luaH_getstr(hvalue(ra), tsvalue(rb)));
      if (slot)
        *slot = *rc;
      else
        Protect(luaV_settable(L, ra, rb, rc));
      vmbreak;
    }
    vmcase(X_NEWTABLE) {
      ci->savedpc = pc;
      // B holds the array size as a "floating point byte", C the log2 of the hash
      // size plus one; both are only hints, clamped against damaged chunks.
      int b = x->b;
      int e = b >> 3;
      int asize = e > 16 ? (1 << 16) : ((b & 7) << e);
      if (asize > (1 << 16)) asize = 1 << 16;
      int c = x->c;
      Table* t = luaH_new(L, asize, c == 0 ? -1 : (c > 16 ? 16 : c));
      sethvalue(ra, t);
      CheckGC();
      vmbreak;
    }
    SelfCase(X_SELF, XC_ANY, luaH_get(h, rc))
    SelfCase(X_SELF_S, XK(x->c), luaH_getstr(h, tsvalue(rc)))
    ArithCases(X_ADD, +, TM_ADD)
    ArithCases(X_SUB, -, TM_SUB)
    ArithCases(X_MUL, *, TM_MUL)
    ArithCases(X_DIV, /, TM_DIV)
    vmcase(X_BITWISE) Protect(Bitwise(L, ra, XB_ANY, XC_ANY, static_cast<OpCode>(x->kinds >> 2)));
    vmbreak;
    vmcase(X_POW) Protect(PowOrXor(L, ra, XB_ANY, XC_ANY));
    vmbreak;
    vmcase(X_UNM) {
      const Value* rb = XREG(x->b);
      double n;
      if (ttisnumber(rb)) {
        setnvalue(ra, -rb->n);
      } else if (luaV_tonumber(rb, &n)) {
        setnvalue(ra, -n);
      } else {
        Value b = *rb;
        Protect(if (!CallBinTM(L, &b, &luaO_nilobject, XREG(x->a), TM_UNM))
                    luaG_aritherror(L, XREG(x->b), &luaO_nilobject));
      }
      vmbreak;
    }
    vmcase(X_NOT) setbvalue(ra, l_isfalse(XREG(x->b)));
    vmbreak;
    vmcase(X_CONCAT) {
      int b = x->b;
      int c = x->c;
      L->top = ci->top;
      Protect(luaV_concat(L, c - b + 1, c));
      *XREG(x->a) = base[b];
      CheckGC();
      vmbreak;
    }
    vmcase(X_JMP) pc += XGETsBx(x);
    vmbreak;
    EqCase(X_EQ, XB_ANY, XC_ANY)
    EqCase(X_EQ_RR, XREG(x->b), XREG(x->c))
    EqCase(X_EQ_RK, XREG(x->b), XK(x->c))
    OrderCases(X_LT, <, luaV_lessthan)
    OrderCases(X_LE, <=, LessEqual)
    vmcase(X_TEST) {
      Value* rb = XREG(x->b);
      if (l_isfalse(rb) == (x->c != 0)) {
        pc++;
      } else {
        *ra = *rb;
        pc += XGETsBx(pc) + 1;
      }
      vmbreak;
    }
    vmcase(X_CALL) {
      ci->savedpc = pc;
      int b = x->b;
      int nresults = x->c - 1;
      if (b != 0) L->top = ra + b;
      int r;
      if (ttisfunction(ra) && clvalue(ra)->c.isC) {
        r = luaD_callnative(L, ra, nresults);
      } else {
        if (ttisfunction(ra)) {
          // Lua to Lua call without a vararg adjustment: set the frame up in place.
          Proto* p = clvalue(ra)->l.p;
          if (!p->is_vararg && L->stack_last - L->top > p->maxstacksize + 2 && ci != L->end_ci) {
            ci = ++L->ci;
            luaD_enterluaframe(L, ra, p, nresults);
            cl = &clvalue(ra)->l;
            base = ci->base;
            k = p->k;
            pc = ci->savedpc;
            vmbreak;
          }
        }
        r = luaD_precall(L, ra, nresults);
        if (r == PCRLUA) goto reentry;
      }
      if (r == PCRYIELD) return;
      ci = L->ci;
      if (nresults >= 0) L->top = ci->top;
      base = L->base;
      vmbreak;
    }
    vmcase(X_TAILCALL) {
      ci->savedpc = pc;
      int b = x->b;
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
    vmcase(X_RETURN) {
      int b = x->b;
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
    vmcase(X_FORLOOP) {
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
        pc += XGETsBx(x);
        ra->n = idx;
      }
      vmbreak;
    }
    vmcase(X_TFORLOOP) {
      int nvar = x->c + 1;
      if (StepTableIterator(ra, nvar)) {
        TestJump(!ttisnil(ra + 2));
        vmbreak;
      }
      Value* cb = ra + nvar + 2;
      cb[0] = ra[0];
      cb[1] = ra[1];
      cb[2] = ra[2];
      L->top = cb + 3;
      Protect(luaD_call(L, cb, nvar));
      L->top = L->ci->top;
      ra = XREG(x->a) + 2;
      cb = ra + nvar;
      do {
        nvar--;
        ra[nvar] = cb[nvar];
      } while (nvar > 0);
      TestJump(!ttisnil(ra));
      vmbreak;
    }
    vmcase(X_TFORPREP) {
      ci->savedpc = pc;
      if (ttistable(ra)) {
        ra[1] = *ra;
        *ra = *luaH_getstr(cl->env, luaS_new(L, "next"));
      }
      pc += XGETsBx(x);
      vmbreak;
    }
    vmcase(X_SETLIST) vmcase(X_SETLISTO) {
      ci->savedpc = pc;
      int bc = static_cast<int>(XGETBx(x));
      int n;
      if (x->op == X_SETLIST) {
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
    vmcase(X_CLOSE) luaF_close(L, ra);
    vmbreak;
    vmcase(X_CLOSURE) {
      ci->savedpc = pc;
      Proto* p = cl->p->p[XGETBx(x)];
      int nup = p->nups;
      Closure* ncl = luaF_newLclosure(L, nup, cl->env);
      ncl->l.p = p;
      // Each upvalue is named by the pseudo-instruction that follows: GETUPVAL for one of
      // this function's upvalues, MOVE for one of its registers.
      for (int j = 0; j < nup; j++, pc++) {
        if (pc->op == X_GETUPVAL)
          ncl->l.upvals[j] = cl->upvals[pc->b];
        else
          ncl->l.upvals[j] = luaF_findupval(L, XREG(pc->b));
      }
      ci->savedpc = pc;
      setclvalue(ra, ncl);
      CheckGC();
      vmbreak;
    }
  }
}
