// Stand-alone runner: lua50 FILE [ARGS], lua50 -e TEXT, lua50 -c IN OUT.
#include <cstdio>
#include <cstring>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"

static int Report(lua_State* L, int status) {
  if (status != 0) {
    const char* msg = lua_tostring(L, -1);
    fprintf(stderr, "lua50: %s\n", msg ? msg : "(error object is not a string)");
    lua_pop(L, 1);
  }
  return status;
}

static int Traceback(lua_State*) {
  return 1;
}

static int Run(lua_State* L, int nargs) {
  int base = lua_gettop(L) - nargs;
  lua_pushcfunction(L, Traceback);
  lua_insert(L, base);
  int status = lua_pcall(L, nargs, 0, base);
  lua_remove(L, base);
  return Report(L, status);
}

static int Writer(lua_State*, const void* p, size_t size, void* ud) {
  return fwrite(p, 1, size, static_cast<FILE*>(ud)) == size ? 0 : 1;
}

static int Usage() {
  fprintf(stderr, "usage: lua50 FILE [ARGS] | lua50 -e TEXT | lua50 -c IN OUT\n");
  return 1;
}

int main(int argc, char** argv) {
  lua_State* L = lua_open();
  if (!L) {
    fprintf(stderr, "lua50: cannot create state: not enough memory\n");
    return 1;
  }
  luaL_openstdlibs(L);
  int rc = 0;
  if (argc < 2) {
    rc = Report(L, luaL_loadfile(L, nullptr)) || Run(L, 0);
  } else if (strcmp(argv[1], "-e") == 0) {
    if (argc < 3) {
      lua_close(L);
      return Usage();
    }
    rc = Report(L, luaL_loadbuffer(L, argv[2], strlen(argv[2]), "=(command line)")) || Run(L, 0);
  } else if (strcmp(argv[1], "-c") == 0) {
    if (argc < 4) {
      lua_close(L);
      return Usage();
    }
    rc = Report(L, luaL_loadfile(L, argv[2]));
    if (rc == 0) {
      FILE* out = fopen(argv[3], "wb");
      if (!out) {
        fprintf(stderr, "lua50: cannot open %s\n", argv[3]);
        rc = 1;
      } else {
        lua_dump(L, Writer, out);
        if (fclose(out) != 0) rc = 1;
      }
    }
  } else {
    // Script arguments go to the global table `arg' (arg[0] is the script name).
    lua_newtable(L);
    for (int i = 1; i < argc; i++) {
      lua_pushstring(L, argv[i]);
      lua_rawseti(L, -2, i - 1);
    }
    lua_pushliteral(L, "n");
    lua_pushnumber(L, argc - 2);
    lua_rawset(L, -3);
    lua_setglobal(L, "arg");
    rc = Report(L, luaL_loadfile(L, argv[1]));
    if (rc == 0) {
      for (int i = 2; i < argc; i++) lua_pushstring(L, argv[i]);
      rc = Run(L, argc - 2);
    }
  }
  fflush(stdout);
  lua_close(L);
  return rc == 0 ? 0 : 1;
}
