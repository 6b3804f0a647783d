// Loads a binary chunk. Everything is checked before the code can run: the header,
// every count against the bytes left, constant types, prototype nesting, and the
// code itself (registers, constants, upvalues, jump targets) with luaG_checkcode.
#include <cmath>
#include <string>

#include "script/lua/lua_chunk.h"
#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_exec.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_opcodes.h"
#include "script/lua/lua_string.h"

namespace {

struct LoadState {
  lua_State* L;
  const char* p;
  const char* end;
  const char* name;
  int depth;

  [[noreturn]] void Error(const char* why) {
    luaO_pushfstring(L, "%s: %s in precompiled chunk", name, why);
    luaD_throw(L, LUA_ERRSYNTAX);
  }
  void Block(void* b, size_t size) {
    if (size == 0) return;
    if (static_cast<size_t>(end - p) < size) Error("unexpected end");
    memcpy(b, p, size);
    p += size;
  }
  int Byte() {
    unsigned char c;
    Block(&c, 1);
    return c;
  }
  int Int() {
    int x;
    Block(&x, sizeof x);
    return x;
  }
  // A count of elements of elemsize bytes each that must still fit in the input.
  int Count(size_t elemsize) {
    int n = Int();
    if (n < 0 || static_cast<size_t>(n) > static_cast<size_t>(end - p) / (elemsize ? elemsize : 1))
      Error("bad count");
    return n;
  }
  size_t Size() {
    size_t x;
    Block(&x, sizeof x);
    return x;
  }
  double Number() {
    double x;
    Block(&x, sizeof x);
    return x;
  }
  TString* String() {
    size_t size = Size();
    if (size == 0) return nullptr;
    if (size > static_cast<size_t>(end - p)) Error("unexpected end");
    if (p[size - 1] != '\0') Error("bad string");
    TString* s = luaS_newlstr(L, p, size - 1);
    p += size;
    return s;
  }
  Proto* Function(TString* parentSource);
};

Proto* LoadState::Function(TString* parentSource) {
  if (++depth > LUA_MAXCCALLS) Error("code too deep");
  Proto* f = luaF_newproto(L);
  // Anchor the prototype on the stack while it is being filled.
  luaD_checkstack(L, 1);
  setgcvalue(L->top, f, LUAI_TPROTO);
  L->top++;
  f->source = String();
  if (!f->source) f->source = parentSource;
  if (!f->source) Error("missing source name");
  f->linedefined = Int();
  f->nups = static_cast<uint8_t>(Byte());
  f->numparams = static_cast<uint8_t>(Byte());
  f->is_vararg = static_cast<uint8_t>(Byte());
  f->maxstacksize = static_cast<uint8_t>(Byte());
  if (f->is_vararg > 1) Error("bad vararg flag");

  int n = Count(sizeof(int));
  f->lineinfo = luaM_newvector<int>(L, n);
  f->sizelineinfo = n;
  Block(f->lineinfo, sizeof(int) * static_cast<size_t>(n));

  n = Count(sizeof(size_t) + 2 * sizeof(int));
  f->locvars = luaM_newvector<LocVar>(L, n);
  f->sizelocvars = n;
  for (int i = 0; i < n; i++) f->locvars[i] = LocVar{nullptr, 0, 0};
  for (int i = 0; i < n; i++) {
    f->locvars[i].varname = String();
    if (!f->locvars[i].varname) Error("bad local name");
    f->locvars[i].startpc = Int();
    f->locvars[i].endpc = Int();
  }

  n = Count(sizeof(size_t));
  if (n != 0 && n != f->nups) Error("bad upvalue names");
  f->upvalues = luaM_newvector<TString*>(L, n);
  f->sizeupvalues = n;
  for (int i = 0; i < n; i++) f->upvalues[i] = nullptr;
  for (int i = 0; i < n; i++) {
    f->upvalues[i] = String();
    if (!f->upvalues[i]) Error("bad upvalue name");
  }

  n = Count(1);
  f->k = luaM_newvector<Value>(L, n);
  f->sizek = n;
  for (int i = 0; i < n; i++) setnilvalue(&f->k[i]);
  for (int i = 0; i < n; i++) {
    Value* o = &f->k[i];
    int t = Byte();
    switch (t) {
      case LUA_TNUMBER:
        setnvalue(o, Number());
        break;
      case LUA_TSTRING: {
        TString* s = String();
        if (!s) Error("bad constant");
        setsvalue(o, s);
        break;
      }
      case LUA_TWSTRING: {
        size_t len = Size();
        if (len > static_cast<size_t>(end - p) / 2) Error("unexpected end");
        std::u16string w(len, u'\0');
        Block(w.data(), len * 2);
        setsvalue(o, luaS_newwstr(L, w.data(), len));
        break;
      }
      case LUA_TNIL:
        break;
      default:
        Error("bad constant");
    }
  }

  n = Count(1);
  f->p = luaM_newvector<Proto*>(L, n);
  f->sizep = n;
  for (int i = 0; i < n; i++) f->p[i] = nullptr;
  for (int i = 0; i < n; i++) f->p[i] = Function(f->source);

  n = Count(sizeof(Instruction));
  f->code = luaM_newvector<Instruction>(L, n);
  f->sizecode = n;
  Block(f->code, sizeof(Instruction) * static_cast<size_t>(n));

  const char* why = nullptr;
  if (!luaG_checkcode(f, &why)) Error(why);
  luaV_translate(L, f);
  L->top--;
  depth--;
  return f;
}

}  // namespace

Proto* luaU_undump(lua_State* L, const char* data, size_t size, const char* name) {
  std::string chunkname;
  if (*name == '@' || *name == '=')
    chunkname = name + 1;
  else if (*name == LUA_SIGNATURE[0])
    chunkname = "binary string";
  else
    chunkname = name;
  LoadState S{L, data, data + size, nullptr, 0};
  S.name = chunkname.c_str();
  char sig[4];
  S.Block(sig, 4);
  if (memcmp(sig, LUA_SIGNATURE, 4) != 0) S.Error("bad signature");
  if (S.Byte() != 0x50) S.Error("bad version");
  if (S.Byte() != 1) S.Error("bad byte order");
  if (S.Byte() != sizeof(int) || S.Byte() != sizeof(size_t) || S.Byte() != sizeof(Instruction))
    S.Error("bad sizes");
  if (S.Byte() != SIZE_OP || S.Byte() != SIZE_A || S.Byte() != SIZE_B || S.Byte() != SIZE_C)
    S.Error("bad instruction format");
  if (S.Byte() != sizeof(double)) S.Error("bad number size");
  double x = S.Number();
  if (std::fabs(x - 3.14159265358979323846E7) > 1e-7) S.Error("bad number format");
  Proto* f = S.Function(nullptr);
  if (f->nups != 0) S.Error("main function with upvalues");
  if (S.p != S.end) S.Error("trailing bytes");
  return f;
}
