#include "script/native_binding.h"

namespace native_binding {

int CallStateFunction(lua_State* L) {
  using Pointer = int (*)(lua_State*);
  Pointer fn = Upvalue<Pointer>(L);
  return lua_nativecall(
      L, [](lua_State* L, void* context) { return (*static_cast<Pointer*>(context))(L); }, &fn);
}

}  // namespace native_binding

void RegisterStateFunction(lua_State* L, const char* name, int (*fn)(lua_State*)) {
  native_binding::RegisterClosure(L, name, fn, &native_binding::CallStateFunction);
}
