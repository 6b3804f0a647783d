// TScriptCode: a script file compiled once into a precompiled chunk and shared through the
// asset manager under the file's name. Loading the bytes into a state is much cheaper than
// compiling the text again.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/asset.h"

struct lua_State;

class TScriptCode : public TAsset {
 public:
  static const TAssetType kType;
  const TAssetType& Type() const override { return kType; }

  explicit TScriptCode(std::vector<char> code) : mCode(std::move(code)) {}

  const char* Code() const { return mCode.data(); }
  int Length() const { return static_cast<int>(mCode.size()); }

  // Loads the chunk into L as a function on the top of the stack, named chunkName.
  // Answers 0 or the interpreter's error code with the message on the stack.
  int LoadInto(lua_State* L, const std::string& chunkName) const;

 private:
  std::vector<char> mCode;
};

// The compiled code of the script file name, found along path ("assets/?;../?;?" when
// path is empty), from the cache when it was compiled before. Null on failure, with the
// compiler's (or the loader's) message in errorText.
std::shared_ptr<TScriptCode> LoadScriptCode(const std::string& name, const std::string& path,
                                            std::string& errorText);

// Script files are compiled once per run: the code stays alive after its first use even
// when no script holds it. Tests and a full reload drop that hold here.
void ForgetCompiledScripts();
// How many script files were compiled since the start (to see the cache work).
int ScriptCompileCount();
