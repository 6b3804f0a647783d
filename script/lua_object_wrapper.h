// TLuaObjectWrapper: a native handle that keeps one Lua value alive. The value lives in the
// registry under the handle's own address (a light userdata key), so it survives garbage
// collection for as long as the handle exists. A handle should be destroyed before its
// state is closed; for states opened by TScript a late handle is harmless (it refers to nil
// and its destructor does nothing).
#pragma once

#include <memory>

struct lua_State;

class TLuaObjectWrapper {
 public:
  // Takes (pops) the value on the top of L's stack; an empty stack refers to nil.
  explicit TLuaObjectWrapper(lua_State* L);
  virtual ~TLuaObjectWrapper();
  TLuaObjectWrapper(const TLuaObjectWrapper&) = delete;
  TLuaObjectWrapper& operator=(const TLuaObjectWrapper&) = delete;

  // Pushes the referenced value onto L (any thread of the same state).
  void Push(lua_State* L) const;
  void Push() const { Push(mL); }
  // The state's main thread: a handle made inside a coroutine stays valid after the
  // coroutine is gone.
  lua_State* State() const { return mL; }
  // False once the state was closed (only known for states opened by TScript).
  bool StateAlive() const { return !mAlive || *mAlive; }
  // Set by the native binding on the handles it makes for one call and deletes afterwards;
  // such a handle cannot be handed on (RegisterTemp refuses it).
  void MarkOwnedByCall() { mOwnedByCall = true; }
  bool OwnedByCall() const { return mOwnedByCall; }

 private:
  lua_State* mL;
  std::shared_ptr<const bool> mAlive;
  bool mOwnedByCall = false;
};

// Records L as the main thread of its state so that handles made on any of its threads
// remember the state rather than the (collectable) thread. TScript does this for the states
// it opens.
void RememberMainState(lua_State* L);
// The main thread recorded for L's state, or L itself when none was recorded.
lua_State* MainStateOf(lua_State* L);
// Called just before a remembered state is closed: its handles stop touching it.
void ForgetMainState(lua_State* L);
