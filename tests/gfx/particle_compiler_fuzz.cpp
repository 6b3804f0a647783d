// Builds particle scripts from arbitrary bytes (members, numbers, vectors, operators and
// calls of every registered function with any number of arguments, nested), loads them into
// a particle system and runs a few steps: whatever the expressions, compiling refuses what
// the machine could not run, and running never reads or writes outside a particle or the
// stack.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/file_system.h"
#include "gfx/lua_particle_system.h"
#include "gfx/particle_locus.h"

namespace {

class TScriptMaker {
 public:
  TScriptMaker(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  bool More() const { return mPos < mSize; }
  uint8_t Next() { return mPos < mSize ? mData[mPos++] : 0; }

  std::string Number() {
    const int value = static_cast<int>(Next()) - 100;
    return std::to_string(value) + (Next() & 1 ? ".5" : "");
  }

  std::string Member() {
    static const char* kMembers[] = {"pPosition", "pUp", "pScale", "pColor", "pFrame",
                                     "pA",        "pB",  "pC",     "dLocus", "pMissing"};
    return kMembers[Next() % 10];
  }

  std::string Expression(int depth) {
    const int choice = depth > 5 ? Next() % 3 : Next() % 12;
    switch (choice) {
      case 0:
        return Number();
      case 1:
        return Member();
      case 2:
        return "Vec2( " + Number() + ", " + Number() + " )";
      case 3:
        return "Color( " + Number() + ", " + Number() + ", " + Number() + ", " + Number() + " )";
      case 4: {
        static const char* kOps[] = {" + ", " - ", " * ", " / "};
        const std::string left = Expression(depth + 1);
        return "( " + left + kOps[Next() % 4] + Expression(depth + 1) + " )";
      }
      case 5:
      case 6: {
        static const char* kCalls[] = {"fTimeScale", "fAge",        "fPick",      "fFade",
                                       "f2dRadius",  "f2dRotation", "fVec",       "fRange",
                                       "fExpire",    "fLess",       "fLessEqual", "fGreater"};
        std::string call = std::string(kCalls[Next() % 12]) + "(";
        const int args = Next() % 8;
        for (int i = 0; i < args; ++i) call += (i ? ", " : " ") + Expression(depth + 1);
        return call + " )";
      }
      case 7:
        return Member() + "[ " + Number() + " ]";
      case 8: {
        std::string table = "{";
        const int n = Next() % 6;
        for (int i = 0; i < n; ++i) table += (i ? ", " : " ") + Number();
        return table + " }";
      }
      case 9:
        return "-" + Member();
      case 10:
        return "CreateValue( '" + std::string(Next() & 1 ? "newindex" : "index") + "', { " +
               Expression(depth + 1) + ", " + Expression(depth + 1) + ", " + Expression(depth + 1) +
               " } )";
      default:
        return "{ " + Expression(depth + 1) + ", " + Expression(depth + 1) + " }";
    }
  }

  std::string Statement() {
    switch (Next() % 5) {
      case 0:
        return Member() + ":Anim( " + Expression(0) + " )\n";
      case 1:
        return Member() + ":Init( " + Expression(0) + " )\n";
      case 2:
        return "Anim( " + Expression(0) + " )\n";
      case 3:
        return "Init( " + Expression(0) + " )\n";
      default:
        return "pD = Allocate( " + std::to_string(Next()) + " )\n";
    }
  }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TScriptMaker maker(data, size);
  std::string script =
      "pA = Allocate( 2 ) pB = Allocate( 1 ) pC = Allocate( 4 ) SetNumParticles( 24 )\n"
      "function Update( s ) CreateParticles( 5 ) end\n";
  for (int i = 0; i < 12 && maker.More(); ++i) script += maker.Statement();
  FLocus locus(50, 60);
  TLuaParticleSystem system;
  system.AddFunctionMember("dLocus", &locus);
  system.Load(script);
  for (unsigned step : {0u, 16u, 250u, 1000u}) system.Update(step);
  if (system.Particles().LiveCount() > system.Particles().Capacity()) __builtin_trap();
  return 0;
}
