// Tagged values and the heap objects of the interpreter: strings, tables, prototypes,
// closures, upvalues and userdata. Every collectable object starts with GCObject.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "script/lua/lua_api.h"

#ifdef MC_LUA_CHECKS
// Checked in test builds whatever NDEBUG says (the sanitizer build is optimised).
[[noreturn]] void luaI_assertfailed(const char* condition, const char* file, int line);
#define lua_assert(c) ((c) ? (void)0 : luaI_assertfailed(#c, __FILE__, __LINE__))
#else
#define lua_assert(c) ((void)0)
#endif

// Internal type tags beyond the public ones.
enum : uint8_t { LUAI_TPROTO = 10, LUAI_TUPVAL = 11 };

struct GCObject {
  GCObject* gcnext;
  uint8_t tt;
  uint8_t marked;
  // Strings' own fields, here in room the header has anyway (a string's text then starts
  // 32 bytes after it, not 40); other objects leave them alone.
  uint8_t reserved;  // keyword index + 1 for reserved words
  uint32_t hash;
};
static_assert(sizeof(GCObject) == 16);

// Mark bits.
enum : uint8_t { GC_MARKED = 1, GC_FIXED = 2, GC_FINALIZED = 4 };

struct TString;
struct Table;
struct Udata;
struct Proto;
struct UpVal;
union Closure;

struct Value {
  union {
    GCObject* gc;
    void* p;
    double n;
    int b;
  };
  uint8_t tt;
};

inline bool ttisnil(const Value* v) {
  return v->tt == LUA_TNIL;
}
inline bool ttisnumber(const Value* v) {
  return v->tt == LUA_TNUMBER;
}
inline bool ttisstring(const Value* v) {
  return v->tt == LUA_TSTRING;
}
inline bool ttiswstring(const Value* v) {
  return v->tt == LUA_TWSTRING;
}
inline bool ttistable(const Value* v) {
  return v->tt == LUA_TTABLE;
}
inline bool ttisfunction(const Value* v) {
  return v->tt == LUA_TFUNCTION;
}
inline bool ttisboolean(const Value* v) {
  return v->tt == LUA_TBOOLEAN;
}
inline bool ttisuserdata(const Value* v) {
  return v->tt == LUA_TUSERDATA;
}
inline bool ttisthread(const Value* v) {
  return v->tt == LUA_TTHREAD;
}
inline bool ttislightuserdata(const Value* v) {
  return v->tt == LUA_TLIGHTUSERDATA;
}
inline bool iscollectable(const Value* v) {
  return v->tt >= LUA_TSTRING;
}
inline bool l_isfalse(const Value* v) {
  return v->tt == LUA_TNIL || (v->tt == LUA_TBOOLEAN && !v->b);
}

// Every value is written with one 16-byte store of its payload and type (the padding
// zeroed). Values are copied as 16-byte blocks, and a block read right after separate
// smaller stores to it cannot be forwarded from them: the read waits until the stores
// reach the cache, a stall of many cycles on each result handed on (a return value, an
// argument, a register moved after arithmetic).
inline void setvalue(Value* v, uint64_t payload, uint8_t tt) {
#if defined(__GNUC__)
  using Block = long long __attribute__((vector_size(16)));
  Block block = {static_cast<long long>(payload), tt};
  memcpy(static_cast<void*>(v), &block, sizeof block);
#else
  memcpy(&v->n, &payload, sizeof payload);
  v->tt = tt;
#endif
}
static_assert(sizeof(Value) == 16);
// The payload's low bytes are its int (a boolean's b) on this byte order.
static_assert(std::endian::native == std::endian::little);

inline void setnilvalue(Value* v) {
  setvalue(v, 0, LUA_TNIL);
}
inline void setnvalue(Value* v, double n) {
  uint64_t bits;
  memcpy(&bits, &n, sizeof bits);
  setvalue(v, bits, LUA_TNUMBER);
}
inline void setbvalue(Value* v, bool b) {
  setvalue(v, b ? 1 : 0, LUA_TBOOLEAN);
}
inline void setpvalue(Value* v, void* p) {
  setvalue(v, reinterpret_cast<uintptr_t>(p), LUA_TLIGHTUSERDATA);
}
inline void setgcvalue(Value* v, GCObject* o, uint8_t tt) {
  setvalue(v, reinterpret_cast<uintptr_t>(o), tt);
}
inline void setobj(Value* d, const Value* s) {
  *d = *s;
}

struct TString : GCObject {
  size_t len;  // bytes for strings, 16-bit characters for wide strings
  TString* hnext;
  char* data() { return reinterpret_cast<char*>(this + 1); }
  const char* data() const { return reinterpret_cast<const char*>(this + 1); }
  const char16_t* wdata() const { return reinterpret_cast<const char16_t*>(this + 1); }
};

// Key of a hash node: the key's payload and type as in a Value, and the chain of keys that
// share a main position (offset in nodes to the next node of the chain, 0 at its end).
struct NodeKey {
  union {
    GCObject* gc;
    void* p;
    double n;
    int b;
  };
  uint8_t tt;
  int32_t next;
};

struct Node {
  Value val;
  NodeKey key;
};

inline void setnodekey(NodeKey* k, const Value* v) {
  memcpy(&k->gc, &v->gc, sizeof k->n);  // the whole payload, whatever its type
  k->tt = v->tt;
}
inline Value nodekey(const NodeKey* k) {
  Value v;
  memcpy(&v.gc, &k->gc, sizeof v.n);
  v.tt = k->tt;
  return v;
}

// Event flags cached in Table::flags: a set bit means "this metatable has no such field".
enum TMS {
  TM_INDEX,
  TM_NEWINDEX,
  TM_GC,
  TM_MODE,
  TM_EQ,
  TM_ADD,
  TM_SUB,
  TM_MUL,
  TM_DIV,
  TM_POW,
  TM_UNM,
  TM_LT,
  TM_LE,
  TM_CONCAT,
  TM_CALL,
  TM_N
};

// An array part for the integer keys 1..sizearray and a hash part of 2^lsizenode nodes
// (the shared dummy node when empty) where colliding keys are chained through free nodes.
struct Table : GCObject {
  uint8_t flags;
  uint8_t lsizenode;  // log2 of the node count; 0 with the dummy node
  Table* metatable;
  Value* array;
  Node* node;
  int sizearray;
  int lastfree;  // every node at or above this index has held a key
  GCObject* gclist;
};

struct Udata : GCObject {
  Table* metatable;
  size_t len;
  void* data() { return reinterpret_cast<char*>(this) + sizeof(Udata) + padding(); }
  static constexpr size_t padding() { return (16 - sizeof(Udata) % 16) % 16; }
};

struct LocVar {
  TString* varname;
  int startpc;
  int endpc;
};

using Instruction = uint32_t;
struct ExecInstr;

struct Proto : GCObject {
  Value* k = nullptr;
  Instruction* code = nullptr;
  ExecInstr* exec = nullptr;  // the code in the interpreter's form (lua_exec.h)
  Proto** p = nullptr;
  int* lineinfo = nullptr;
  LocVar* locvars = nullptr;
  TString** upvalues = nullptr;
  TString* source = nullptr;
  int sizek = 0, sizecode = 0, sizep = 0, sizelineinfo = 0, sizelocvars = 0, sizeupvalues = 0;
  int linedefined = 0;
  uint8_t nups = 0, numparams = 0, is_vararg = 0, maxstacksize = 0;
};

struct UpVal : GCObject {
  Value* v;  // points into the stack while open, at `value` once closed
  Value value;
  UpVal* nextopen;
};

struct CClosure : GCObject {
  uint8_t isC;
  uint8_t nupvalues;
  Table* env;
  lua_CFunction f;
  Value upvalue[1];
};

struct LClosure : GCObject {
  uint8_t isC;
  uint8_t nupvalues;
  Table* env;
  Proto* p;
  UpVal* upvals[1];
};

union Closure {
  CClosure c;
  LClosure l;
};

inline TString* tsvalue(const Value* v) {
  return static_cast<TString*>(v->gc);
}
inline Table* hvalue(const Value* v) {
  return static_cast<Table*>(v->gc);
}
inline Closure* clvalue(const Value* v) {
  return reinterpret_cast<Closure*>(v->gc);
}
inline Udata* uvalue(const Value* v) {
  return static_cast<Udata*>(v->gc);
}
inline lua_State* thvalue(const Value* v) {
  return reinterpret_cast<lua_State*>(v->gc);
}
inline bool isLfunction(const Value* v) {
  return v->tt == LUA_TFUNCTION && !clvalue(v)->c.isC;
}

inline void setsvalue(Value* v, TString* s) {
  setgcvalue(v, s, s->tt);
}
inline void sethvalue(Value* v, Table* t) {
  setgcvalue(v, t, LUA_TTABLE);
}
inline void setclvalue(Value* v, Closure* c) {
  setgcvalue(v, reinterpret_cast<GCObject*>(c), LUA_TFUNCTION);
}
inline void setuvalue(Value* v, Udata* u) {
  setgcvalue(v, u, LUA_TUSERDATA);
}
inline void setthvalue(Value* v, lua_State* L) {
  setgcvalue(v, reinterpret_cast<GCObject*>(L), LUA_TTHREAD);
}

// Raw equality of two values (no metamethods).
bool luaO_rawequal(const Value* a, const Value* b);
// Converts text to a number the way the language does ("0x" hex, surrounding blanks).
bool luaO_str2d(const char* s, size_t len, double* result);
// "%.14g" text of a number into buf (at least 32 bytes); answers the length.
int luaO_num2str(double n, char* buf);
// Readable chunk name of a source for messages, at most bufflen bytes with the zero.
void luaO_chunkid(char* out, const char* source, size_t bufflen);
// Log2 ceiling helper.
int luaO_log2(unsigned int x);

extern const Value luaO_nilobject;
