// TScript: a script task. It owns a Lua state (or runs on a thread of another script's
// state), runs script files and texts in it, and, when a script's main chunk returns a
// function, runs that function as a coroutine that the task resumes on every update pass
// until it returns.
//
// Errors: every Lua error is reported to the global "_ALERT" (which logs "Lua error: %s")
// and answered to the native caller as an error code or false; nothing raises out of here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/anim_task.h"

struct lua_State;
class TLuaObjectWrapper;
class TLuaThread;

class TScript : public TAnimTask {
 public:
  // Runs in L, or in a new state when L is null. The task starts unscheduled.
  explicit TScript(lua_State* L = nullptr);
  ~TScript() override;
  TScript(const TScript&) = delete;
  TScript& operator=(const TScript&) = delete;

  // Resumes the coroutine; unschedules the task once it has returned or failed.
  bool Animate() override;

  // Offered a prepared call (a closure on the top of GetState()'s stack, taken off by this
  // call) while the coroutine is suspended. The base drops it and answers false; the window
  // script resumes its coroutine with it.
  virtual bool DeliverClosure();

  // A new script on a new thread of this state (same globals). The caller owns it.
  TScript* CreateThreadScript();

  // Loads (compiled once, cached) and runs a script file found along the script search
  // path. False on any failure; a missing file is not reported.
  bool RunScript(const std::string& fileName);
  // Compiles and runs a text; length -1 means up to the terminating zero. Failures are
  // logged and handed to the global "LuaErrorMessage" when it is set.
  void DoLuaString(const char* text, int length = -1);
  // Calls the function below the nargs arguments on GetState()'s stack. 0 on success, else
  // the Lua error code (the error value is left on the stack).
  int RunFunction(int nargs, int nresults);
  // Resumes the coroutine with the nargs values on the top of GetState()'s stack.
  int Resume(int nargs);

  // Take the top value off GetState()'s stack.
  bool PopBool();
  double PopNumber();
  std::string PopString();

  // Takes ownership; deleted at the start of the next call or resume.
  void AddTempObject(TLuaObjectWrapper* wrapper);
  size_t TempObjectCount() const { return mTempObjects.size(); }

  lua_State* GetState() const { return mL; }
  // The coroutine thread of the running body, or null.
  lua_State* Coroutine() const;
  // Whether the coroutine is suspended in a yield.
  bool IsSuspended() const;

  // The script recorded in L's globals as "_SCRIPT", or null.
  static TScript* FromState(lua_State* L);

 protected:
  void InitState();

 private:
  explicit TScript(std::unique_ptr<TLuaThread> thread);
  void ClearTempObjects();
  int StartCoroutine();
  int ResumeCoroutine(int nargs, const char* failureFormat);
  bool PrepareClosure(int nargs);

  lua_State* mL = nullptr;
  bool mOwnsState = false;
  std::unique_ptr<TLuaThread> mThread;
  std::unique_ptr<TLuaThread> mCoroutine;
  std::vector<std::unique_ptr<TLuaObjectWrapper>> mTempObjects;
  bool mResuming = false;
};

// A protected call of the function below the nargs arguments on L's stack with the global
// "_ALERT" as error handler. Answers 0 or the error code, with the error value on the stack.
int ProtectedCall(lua_State* L, int nargs, int nresults);
// Hands a message to the global "_ALERT" (or logs it when "_ALERT" is not a function).
void AlertLuaError(lua_State* L, const std::string& message);
