// Writes a prototype tree as a binary chunk (the loader in lua_undump.cpp reads it).
#include <string>

#include "script/lua/lua_chunk.h"
#include "script/lua/lua_opcodes.h"

namespace {

struct DumpState {
  lua_State* L;
  lua_Chunkwriter writer;
  void* data;
  int status;
  void Block(const void* b, size_t size) {
    if (status == 0 && size > 0) status = writer(L, b, size, data);
  }
  void Byte(int y) {
    char x = static_cast<char>(y);
    Block(&x, 1);
  }
  void Int(int x) { Block(&x, sizeof x); }
  void Size(size_t x) { Block(&x, sizeof x); }
  void Number(double x) { Block(&x, sizeof x); }
  void String(const TString* s) {
    if (!s) {
      Size(0);
      return;
    }
    Size(s->len + 1);
    Block(s->data(), s->len + 1);
  }
  void Function(const Proto* f, const TString* p);
};

void DumpState::Function(const Proto* f, const TString* p) {
  String(f->source == p ? nullptr : f->source);
  Int(f->linedefined);
  Byte(f->nups);
  Byte(f->numparams);
  Byte(f->is_vararg);
  Byte(f->maxstacksize);
  Int(f->sizelineinfo);
  Block(f->lineinfo, sizeof(int) * static_cast<size_t>(f->sizelineinfo));
  Int(f->sizelocvars);
  for (int i = 0; i < f->sizelocvars; i++) {
    String(f->locvars[i].varname);
    Int(f->locvars[i].startpc);
    Int(f->locvars[i].endpc);
  }
  Int(f->sizeupvalues);
  for (int i = 0; i < f->sizeupvalues; i++) String(f->upvalues[i]);
  Int(f->sizek);
  for (int i = 0; i < f->sizek; i++) {
    const Value* o = &f->k[i];
    Byte(o->tt);
    switch (o->tt) {
      case LUA_TNUMBER:
        Number(o->n);
        break;
      case LUA_TSTRING:
        String(tsvalue(o));
        break;
      case LUA_TWSTRING:
        Size(tsvalue(o)->len);
        Block(tsvalue(o)->wdata(), tsvalue(o)->len * 2);
        break;
      default:
        break;
    }
  }
  Int(f->sizep);
  for (int i = 0; i < f->sizep; i++) Function(f->p[i], f->source);
  Int(f->sizecode);
  Block(f->code, sizeof(Instruction) * static_cast<size_t>(f->sizecode));
}

}  // namespace

void luaU_dump(lua_State* L, const Proto* f, lua_Chunkwriter w, void* data) {
  DumpState D{L, w, data, 0};
  D.Block(LUA_SIGNATURE, 4);
  D.Byte(0x50);
  D.Byte(1);  // little endian
  D.Byte(sizeof(int));
  D.Byte(sizeof(size_t));
  D.Byte(sizeof(Instruction));
  D.Byte(SIZE_OP);
  D.Byte(SIZE_A);
  D.Byte(SIZE_B);
  D.Byte(SIZE_C);
  D.Byte(sizeof(double));
  D.Number(3.14159265358979323846E7);
  D.Function(f, nullptr);
}
