// Math library (angles in radians), with math.mod and the global __pow.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"

#define MATH1(name, fn)                            \
  static int name(lua_State* L) {                  \
    lua_pushnumber(L, fn(luaL_checknumber(L, 1))); \
    return 1;                                      \
  }
MATH1(MAbs, std::fabs)
MATH1(MSin, std::sin)
MATH1(MCos, std::cos)
MATH1(MTan, std::tan)
MATH1(MAsin, std::asin)
MATH1(MAcos, std::acos)
MATH1(MAtan, std::atan)
MATH1(MCeil, std::ceil)
MATH1(MFloor, std::floor)
MATH1(MSqrt, std::sqrt)
MATH1(MExp, std::exp)
MATH1(MLog, std::log)
MATH1(MLog10, std::log10)

static int MAtan2(lua_State* L) {
  lua_pushnumber(L, std::atan2(luaL_checknumber(L, 1), luaL_checknumber(L, 2)));
  return 1;
}
static int MMod(lua_State* L) {
  double a = luaL_checknumber(L, 1), b = luaL_checknumber(L, 2);
  // Whole numbers in the exact integer range give the same result as fmod, faster.
  if (std::fabs(a) < 9e15 && std::fabs(b) < 9e15) {
    int64_t ia = static_cast<int64_t>(a), ib = static_cast<int64_t>(b);
    if (static_cast<double>(ia) == a && static_cast<double>(ib) == b && ib != 0) {
      int64_t r = ia % ib;
      lua_pushnumber(L, r == 0 && std::signbit(a) ? -0.0 : static_cast<double>(r));
      return 1;
    }
  }
  lua_pushnumber(L, std::fmod(a, b));
  return 1;
}
static int MPow(lua_State* L) {
  lua_pushnumber(L, std::pow(luaL_checknumber(L, 1), luaL_checknumber(L, 2)));
  return 1;
}
static int MDeg(lua_State* L) {
  lua_pushnumber(L, luaL_checknumber(L, 1) * (180.0 / M_PI));
  return 1;
}
static int MRad(lua_State* L) {
  lua_pushnumber(L, luaL_checknumber(L, 1) * (M_PI / 180.0));
  return 1;
}
static int MFrexp(lua_State* L) {
  int e;
  lua_pushnumber(L, std::frexp(luaL_checknumber(L, 1), &e));
  lua_pushnumber(L, e);
  return 2;
}
static int MLdexp(lua_State* L) {
  lua_pushnumber(L, std::ldexp(luaL_checknumber(L, 1), luaL_checkint(L, 2)));
  return 1;
}
static int MMin(lua_State* L) {
  int n = lua_gettop(L);
  double dmin = luaL_checknumber(L, 1);
  for (int i = 2; i <= n; i++) {
    double d = luaL_checknumber(L, i);
    if (d < dmin) dmin = d;
  }
  lua_pushnumber(L, dmin);
  return 1;
}
static int MMax(lua_State* L) {
  int n = lua_gettop(L);
  double dmax = luaL_checknumber(L, 1);
  for (int i = 2; i <= n; i++) {
    double d = luaL_checknumber(L, i);
    if (d > dmax) dmax = d;
  }
  lua_pushnumber(L, dmax);
  return 1;
}
static int MRandom(lua_State* L) {
  double r = static_cast<double>(rand() % RAND_MAX) / static_cast<double>(RAND_MAX);
  switch (lua_gettop(L)) {
    case 0:
      lua_pushnumber(L, r);
      break;
    case 1: {
      int u = luaL_checkint(L, 1);
      luaL_argcheck(L, 1 <= u, 1, "interval is empty");
      lua_pushnumber(L, std::floor(r * u) + 1);
      break;
    }
    case 2: {
      int l = luaL_checkint(L, 1);
      int u = luaL_checkint(L, 2);
      luaL_argcheck(L, l <= u, 2, "interval is empty");
      lua_pushnumber(L, std::floor(r * (u - l + 1)) + l);
      break;
    }
    default:
      luaL_error(L, "wrong number of arguments");
  }
  return 1;
}
static int MRandomseed(lua_State* L) {
  srand(static_cast<unsigned>(luaL_checkint(L, 1)));
  return 0;
}

static const luaL_reg mathlib[] = {
    {"abs", MAbs},     {"sin", MSin},     {"cos", MCos},       {"tan", MTan},
    {"asin", MAsin},   {"acos", MAcos},   {"atan", MAtan},     {"atan2", MAtan2},
    {"ceil", MCeil},   {"floor", MFloor}, {"mod", MMod},       {"frexp", MFrexp},
    {"ldexp", MLdexp}, {"sqrt", MSqrt},   {"min", MMin},       {"max", MMax},
    {"log", MLog},     {"log10", MLog10}, {"exp", MExp},       {"deg", MDeg},
    {"pow", MPow},     {"rad", MRad},     {"random", MRandom}, {"randomseed", MRandomseed},
    {nullptr, nullptr}};

int luaopen_math(lua_State* L) {
  luaL_openlib(L, "math", mathlib, 0);
  lua_pushliteral(L, "pi");
  lua_pushnumber(L, M_PI);
  lua_settable(L, -3);
  lua_pushliteral(L, "__pow");
  lua_pushcfunction(L, MPow);
  lua_settable(L, LUA_GLOBALSINDEX);
  lua_pop(L, 1);
  return 0;
}

void luaL_openstdlibs(lua_State* L) {
  luaopen_base(L);
  luaopen_table(L);
  luaopen_string(L);
  luaopen_math(L);
}
