#include "script/native_binding.h"

#include "script/lua/lua_aux.h"
#include "script/lua/lua_do.h"

namespace native_binding {

int GuardedCall(lua_State* L, int (*body)(lua_State*, void*), void* context) {
  std::string message;
  try {
    return body(L, context);
  } catch (const LuaException&) {
    throw;  // the interpreter's own unwinding
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "native function failed";
  }
  // Raised outside the handlers so nothing of the C++ exception is live any more.
  luaL_error(L, "%s", message.c_str());
}

int CallStateFunction(lua_State* L) {
  using Pointer = int (*)(lua_State*);
  Pointer fn = Upvalue<Pointer>(L);
  return GuardedCall(
      L, [](lua_State* L, void* context) { return (*static_cast<Pointer*>(context))(L); }, &fn);
}

}  // namespace native_binding

void RegisterStateFunction(lua_State* L, const char* name, int (*fn)(lua_State*)) {
  native_binding::RegisterClosure(L, name, fn, &native_binding::CallStateFunction);
}
