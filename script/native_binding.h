// Binding of native functions: a C++ function or member function becomes a global of a Lua
// state. The global is a native closure whose one upvalue is a full userdata holding the
// function pointer (and the object); a trampoline per signature converts the Lua arguments
// by position, calls the function and pushes its result.
//
// Argument conversions: integers truncate toward zero (saturating), floating point as is,
// bool by the PopBool rules, strings with the stack's string rules (numbers become text,
// wide strings narrowed, other values ""), std::u16string (wide strings as they are, plain
// strings widened byte by byte), TLuaFunction/TLuaTable/TLuaMessage handles on a value of the right
// type (null otherwise). A raw handle pointer lives for the call; a std::unique_ptr handle is
// handed to the function. Results: void (none), bool, numbers, std::string, std::u16string
// (a wide string), const char* (nil when null).
//
// A native function reports a failure by throwing (TScriptError or any std::exception); it
// becomes a Lua error with the exception's text. No C++ exception leaves the interpreter.
//
//   RegisterFunction(L, "GetTimer", &GetTimer);              // int GetTimer()
//   RegisterMethod(L, "SetLabel", this, &TWindowScript::SetLabel);
//   RegisterStateFunction(L, "GenericCreate", &GenericCreate);  // int (lua_State*)
#pragma once

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "script/lua/lua_api.h"
#include "script/lua_function.h"
#include "script/lua_message.h"
#include "script/lua_table.h"
#include "script/value_conversion.h"

// Thrown by a native function to raise a Lua error with this text.
class TScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace native_binding {

// Reading argument i as T: Stored is what the trampoline keeps for the call, Pass hands
// it to the function.
template <class T, class Enable = void>
struct TArg;

template <class T>
struct TArg<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
  using Stored = T;
  static Stored Get(lua_State* L, int i) { return TruncateToInteger<T>(LuaValueToNumber(L, i)); }
  static T Pass(Stored& v) { return v; }
};

template <class T>
struct TArg<T, std::enable_if_t<std::is_floating_point_v<T>>> {
  using Stored = T;
  static Stored Get(lua_State* L, int i) { return static_cast<T>(LuaValueToNumber(L, i)); }
  static T Pass(Stored& v) { return v; }
};

template <>
struct TArg<bool> {
  using Stored = bool;
  static Stored Get(lua_State* L, int i) { return LuaValueToBool(L, i); }
  static bool Pass(Stored& v) { return v; }
};

template <>
struct TArg<std::string> {
  using Stored = std::string;
  static Stored Get(lua_State* L, int i) { return LuaValueToString(L, i); }
  static std::string& Pass(Stored& v) { return v; }
};

template <>
struct TArg<std::u16string> {
  using Stored = std::u16string;
  static Stored Get(lua_State* L, int i) { return LuaValueToWideString(L, i); }
  static std::u16string& Pass(Stored& v) { return v; }
};

template <>
struct TArg<const char*> {
  using Stored = std::string;
  static Stored Get(lua_State* L, int i) { return LuaValueToString(L, i); }
  static const char* Pass(Stored& v) { return v.c_str(); }
};

// Which Lua values a handle kind accepts.
template <class W>
bool AcceptsValue(lua_State* L, int i);
template <>
inline bool AcceptsValue<TLuaFunction>(lua_State* L, int i) {
  return lua_isfunction(L, i);
}
template <>
inline bool AcceptsValue<TLuaTable>(lua_State* L, int i) {
  return lua_istable(L, i);
}
template <>
inline bool AcceptsValue<TLuaMessage>(lua_State* L, int i) {
  return lua_istable(L, i) || lua_type(L, i) == LUA_TUSERDATA;
}

template <class W>
std::unique_ptr<W> MakeHandle(lua_State* L, int i) {
  if (!AcceptsValue<W>(L, i)) return nullptr;
  lua_pushvalue(L, i);
  return std::make_unique<W>(L);
}

template <class W>
struct TArg<W*, std::enable_if_t<std::is_base_of_v<TLuaObjectWrapper, W>>> {
  using Stored = std::unique_ptr<W>;
  static Stored Get(lua_State* L, int i) {
    Stored handle = MakeHandle<W>(L, i);
    if (handle) handle->MarkOwnedByCall();
    return handle;
  }
  static W* Pass(Stored& v) { return v.get(); }
};

template <class W>
struct TArg<std::unique_ptr<W>, std::enable_if_t<std::is_base_of_v<TLuaObjectWrapper, W>>> {
  using Stored = std::unique_ptr<W>;
  static Stored Get(lua_State* L, int i) { return MakeHandle<W>(L, i); }
  static std::unique_ptr<W> Pass(Stored& v) { return std::move(v); }
};

template <class A>
using TArgOf = TArg<std::remove_cv_t<std::remove_reference_t<A>>>;

// Pushing a result; answers the number of values pushed.
inline int PushResult(lua_State* L, bool v) {
  lua_pushboolean(L, v);
  return 1;
}
inline int PushResult(lua_State* L, const std::string& v) {
  lua_pushlstring(L, v.data(), v.size());
  return 1;
}
inline int PushResult(lua_State* L, const std::u16string& v) {
  lua_pushwstring(L, v.data(), v.size());
  return 1;
}
inline int PushResult(lua_State* L, const char* v) {
  if (v)
    lua_pushstring(L, v);
  else
    lua_pushnil(L);
  return 1;
}
template <class T, class = std::enable_if_t<std::is_arithmetic_v<T>>>
int PushResult(lua_State* L, T v) {
  lua_pushnumber(L, static_cast<lua_Number>(v));
  return 1;
}

// Converts the arguments, then calls f inside the guard and pushes what it answers.
template <class R, class... A, class F, size_t... I>
int Invoke(lua_State* L, F& f, std::index_sequence<I...>) {
  std::tuple<typename TArgOf<A>::Stored...> args{TArgOf<A>::Get(L, static_cast<int>(I) + 1)...};
  auto work = [&]() -> int {
    if constexpr (std::is_void_v<R>) {
      f(TArgOf<A>::Pass(std::get<I>(args))...);
      return 0;
    } else {
      return PushResult(L, f(TArgOf<A>::Pass(std::get<I>(args))...));
    }
  };
  (void)args;
  return lua_nativecall(
      L, [](lua_State*, void* context) { return (*static_cast<decltype(work)*>(context))(); },
      &work);
}

template <class T>
T& Upvalue(lua_State* L) {
  return *static_cast<T*>(lua_touserdata(L, lua_upvalueindex(1)));
}

template <class T>
void RegisterClosure(lua_State* L, const char* name, const T& data, lua_CFunction trampoline) {
  static_assert(std::is_trivially_copyable_v<T>);
  lua_pushstring(L, name);
  void* block = lua_newuserdata(L, sizeof(T));
  std::memcpy(block, &data, sizeof(T));
  lua_pushcclosure(L, trampoline, 1);
  lua_settable(L, LUA_GLOBALSINDEX);
}

template <class R, class... A>
struct TFunction {
  using Pointer = R (*)(A...);
  static int Call(lua_State* L) {
    Pointer fn = Upvalue<Pointer>(L);
    auto f = [fn](auto&&... a) -> R { return fn(std::forward<decltype(a)>(a)...); };
    return Invoke<R, A...>(L, f, std::index_sequence_for<A...>{});
  }
};

template <class C, class R, class... A>
struct TMethod {
  struct Bound {
    C* object;
    R (C::*method)(A...);
  };
  static int Call(lua_State* L) {
    Bound bound = Upvalue<Bound>(L);
    auto f = [bound](auto&&... a) -> R {
      return (bound.object->*bound.method)(std::forward<decltype(a)>(a)...);
    };
    return Invoke<R, A...>(L, f, std::index_sequence_for<A...>{});
  }
};

template <class C, class R, class... A>
struct TConstMethod {
  struct Bound {
    const C* object;
    R (C::*method)(A...) const;
  };
  static int Call(lua_State* L) {
    Bound bound = Upvalue<Bound>(L);
    auto f = [bound](auto&&... a) -> R {
      return (bound.object->*bound.method)(std::forward<decltype(a)>(a)...);
    };
    return Invoke<R, A...>(L, f, std::index_sequence_for<A...>{});
  }
};

int CallStateFunction(lua_State* L);

}  // namespace native_binding

template <class R, class... A>
void RegisterFunction(lua_State* L, const char* name, R (*fn)(A...)) {
  using Binding = native_binding::TFunction<R, A...>;
  native_binding::RegisterClosure(L, name, fn, &Binding::Call);
}

// The object must outlive every call of the global (normally it owns the state).
template <class C, class R, class... A>
void RegisterMethod(lua_State* L, const char* name, C* object, R (C::*method)(A...)) {
  using Binding = native_binding::TMethod<C, R, A...>;
  native_binding::RegisterClosure(L, name, typename Binding::Bound{object, method}, &Binding::Call);
}

template <class C, class R, class... A>
void RegisterMethod(lua_State* L, const char* name, const C* object, R (C::*method)(A...) const) {
  using Binding = native_binding::TConstMethod<C, R, A...>;
  native_binding::RegisterClosure(L, name, typename Binding::Bound{object, method}, &Binding::Call);
}

// Functions that read their arguments from the state themselves; they answer the number of
// results they pushed. Thrown exceptions become Lua errors here too.
void RegisterStateFunction(lua_State* L, const char* name, int (*fn)(lua_State*));

template <class C>
void RegisterStateMethod(lua_State* L, const char* name, C* object, int (C::*method)(lua_State*)) {
  struct Bound {
    C* object;
    int (C::*method)(lua_State*);
  };
  native_binding::RegisterClosure(L, name, Bound{object, method}, [](lua_State* L) -> int {
    Bound bound = native_binding::Upvalue<Bound>(L);
    return lua_nativecall(
        L,
        [](lua_State* L, void* context) {
          Bound* b = static_cast<Bound*>(context);
          return (b->object->*b->method)(L);
        },
        &bound);
  });
}
