// String library: the byte-string functions, patterns (find, gfind, gsub), format,
// dump, and the additions lualex, pack and unpack.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "script/lua/lua_aux.h"
#include "script/lua/lua_lex.h"
#include "script/lua/lua_lib.h"

static ptrdiff_t PosRelat(ptrdiff_t pos, size_t len) {
  return pos >= 0 ? pos : static_cast<ptrdiff_t>(len) + pos + 1;
}

static int StrLen(lua_State* L) {
  size_t l;
  if (lua_type(L, 1) == LUA_TWSTRING) {
    lua_pushnumber(L, static_cast<lua_Number>(lua_strlen(L, 1)));
    return 1;
  }
  luaL_checklstring(L, 1, &l);
  lua_pushnumber(L, static_cast<lua_Number>(l));
  return 1;
}

static int StrSub(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  ptrdiff_t start = PosRelat(static_cast<ptrdiff_t>(luaL_clampll(luaL_checknumber(L, 2))), l);
  ptrdiff_t end = PosRelat(static_cast<ptrdiff_t>(luaL_clampll(luaL_optnumber(L, 3, -1))), l);
  if (start < 1) start = 1;
  if (end > static_cast<ptrdiff_t>(l)) end = static_cast<ptrdiff_t>(l);
  if (start <= end)
    lua_pushlstring(L, s + start - 1, static_cast<size_t>(end - start + 1));
  else
    lua_pushliteral(L, "");
  return 1;
}

static int StrLower(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  std::string r(s, l);
  for (auto& c : r) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  lua_pushlstring(L, r.data(), r.size());
  return 1;
}

static int StrUpper(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  std::string r(s, l);
  for (auto& c : r) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  lua_pushlstring(L, r.data(), r.size());
  return 1;
}

static int StrRep(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  double n = luaL_checknumber(L, 2);
  std::string r;
  if (n > 0 && l > 0 && n * static_cast<double>(l) > 2e9) luaL_error(L, "string size overflow");
  if (l > 0)
    for (int i = 0; i < n; i++) r.append(s, l);
  lua_pushlstring(L, r.data(), r.size());
  return 1;
}

static int StrByte(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  ptrdiff_t pos = PosRelat(static_cast<ptrdiff_t>(luaL_clampll(luaL_optnumber(L, 2, 1))), l);
  if (pos <= 0 || static_cast<size_t>(pos) > l) return 0;
  lua_pushnumber(L, static_cast<unsigned char>(s[pos - 1]));
  return 1;
}

static int StrChar(lua_State* L) {
  int n = lua_gettop(L);
  std::string r;
  for (int i = 1; i <= n; i++) {
    int c = luaL_checkint(L, i);
    luaL_argcheck(L, static_cast<unsigned char>(c) == c, i, "invalid value");
    r.push_back(static_cast<char>(c));
  }
  lua_pushlstring(L, r.data(), r.size());
  return 1;
}

static int Writer(lua_State*, const void* b, size_t size, void* ud) {
  static_cast<std::string*>(ud)->append(static_cast<const char*>(b), size);
  return 0;
}

static int StrDump(lua_State* L) {
  std::string out;
  luaL_checktype(L, 1, LUA_TFUNCTION);
  lua_settop(L, 1);
  // A chunk carries no upvalues: a function that needs them could not run when loaded.
  lua_Debug ar;
  lua_pushvalue(L, 1);
  lua_getinfo(L, ">u", &ar);
  if (ar.nups > 0 || !lua_dump(L, Writer, &out)) luaL_error(L, "unable to dump given function");
  lua_pushlstring(L, out.data(), out.size());
  return 1;
}

// --- pattern matching --------------------------------------------------------

constexpr int MAXCAPTURES = 32;
constexpr int CAP_UNFINISHED = -1;
constexpr int CAP_POSITION = -2;
constexpr char ESC = '%';

struct MatchState {
  const char* src_init;
  const char* src_end;
  lua_State* L;
  int level;
  int depth;
  struct {
    const char* init;
    ptrdiff_t len;
  } capture[MAXCAPTURES];
};

static int CheckCapture(MatchState* ms, int l) {
  l -= '1';
  if (l < 0 || l >= ms->level || ms->capture[l].len == CAP_UNFINISHED)
    luaL_error(ms->L, "invalid capture index");
  return l;
}

static int CaptureToClose(MatchState* ms) {
  int level = ms->level;
  for (level--; level >= 0; level--)
    if (ms->capture[level].len == CAP_UNFINISHED) return level;
  luaL_error(ms->L, "invalid pattern capture");
}

static const char* ClassEnd(MatchState* ms, const char* p, const char* pend) {
  if (p >= pend) luaL_error(ms->L, "malformed pattern (ends with `%%')");
  char c = *p++;
  if (c == ESC) {
    if (p >= pend) luaL_error(ms->L, "malformed pattern (ends with `%%')");
    return p + 1;
  }
  if (c == '[') {
    if (p < pend && *p == '^') p++;
    do {
      if (p >= pend) luaL_error(ms->L, "malformed pattern (missing `]')");
      c = *p++;
      if (c == ESC && p < pend) p++;
    } while (p >= pend || *p != ']');
    return p + 1;
  }
  return p;
}

static bool MatchClass(int c, int cl) {
  bool res;
  switch (cl | 0x20) {
    case 'a':
      res = isalpha(c);
      break;
    case 'c':
      res = iscntrl(c);
      break;
    case 'd':
      res = isdigit(c);
      break;
    case 'l':
      res = islower(c);
      break;
    case 'p':
      res = ispunct(c);
      break;
    case 's':
      res = isspace(c);
      break;
    case 'u':
      res = isupper(c);
      break;
    case 'w':
      res = isalnum(c);
      break;
    case 'x':
      res = isxdigit(c);
      break;
    case 'z':
      res = (c == 0);
      break;
    default:
      return cl == c;
  }
  return (cl & 0x20) ? res : !res;
}

static bool MatchBracketClass(int c, const char* p, const char* ec) {
  bool sig = true;
  if (*(p + 1) == '^') {
    sig = false;
    p++;
  }
  while (++p < ec) {
    if (*p == ESC) {
      p++;
      if (MatchClass(c, static_cast<unsigned char>(*p))) return sig;
    } else if (*(p + 1) == '-' && p + 2 < ec) {
      p += 2;
      if (static_cast<unsigned char>(*(p - 2)) <= c && c <= static_cast<unsigned char>(*p))
        return sig;
    } else if (static_cast<unsigned char>(*p) == c) {
      return sig;
    }
  }
  return !sig;
}

static bool SingleMatch(int c, const char* p, const char* ep) {
  switch (*p) {
    case '.':
      return true;
    case ESC:
      return MatchClass(c, static_cast<unsigned char>(*(p + 1)));
    case '[':
      return MatchBracketClass(c, p, ep - 1);
    default:
      return static_cast<unsigned char>(*p) == c;
  }
}

static const char* DoMatch(MatchState* ms, const char* s, const char* p, const char* pend);

static const char* MatchBalance(MatchState* ms, const char* s, const char* p, const char* pend) {
  if (p + 1 >= pend) luaL_error(ms->L, "unbalanced pattern");
  if (s >= ms->src_end || *s != *p) return nullptr;
  int b = *p, e = *(p + 1), cont = 1;
  while (++s < ms->src_end) {
    if (*s == e) {
      if (--cont == 0) return s + 1;
    } else if (*s == b) {
      cont++;
    }
  }
  return nullptr;
}

static const char* MaxExpand(MatchState* ms, const char* s, const char* p, const char* ep,
                             const char* pend) {
  ptrdiff_t i = 0;
  while (s + i < ms->src_end && SingleMatch(static_cast<unsigned char>(s[i]), p, ep)) i++;
  while (i >= 0) {
    const char* res = DoMatch(ms, s + i, ep + 1, pend);
    if (res) return res;
    i--;
  }
  return nullptr;
}

static const char* MinExpand(MatchState* ms, const char* s, const char* p, const char* ep,
                             const char* pend) {
  for (;;) {
    const char* res = DoMatch(ms, s, ep + 1, pend);
    if (res) return res;
    if (s < ms->src_end && SingleMatch(static_cast<unsigned char>(*s), p, ep))
      s++;
    else
      return nullptr;
  }
}

static const char* StartCapture(MatchState* ms, const char* s, const char* p, const char* pend,
                                int what) {
  int level = ms->level;
  if (level >= MAXCAPTURES) luaL_error(ms->L, "too many captures");
  ms->capture[level].init = s;
  ms->capture[level].len = what;
  ms->level = level + 1;
  const char* res = DoMatch(ms, s, p, pend);
  if (!res) ms->level--;
  return res;
}

static const char* EndCapture(MatchState* ms, const char* s, const char* p, const char* pend) {
  int l = CaptureToClose(ms);
  ms->capture[l].len = s - ms->capture[l].init;
  const char* res = DoMatch(ms, s, p, pend);
  if (!res) ms->capture[l].len = CAP_UNFINISHED;
  return res;
}

static const char* MatchCapture(MatchState* ms, const char* s, int l) {
  l = CheckCapture(ms, l);
  size_t len = static_cast<size_t>(ms->capture[l].len);
  if (static_cast<size_t>(ms->src_end - s) >= len && memcmp(ms->capture[l].init, s, len) == 0)
    return s + len;
  return nullptr;
}

static const char* DoMatch(MatchState* ms, const char* s, const char* p, const char* pend) {
  if (++ms->depth > 200) luaL_error(ms->L, "pattern too complex");
  struct Guard {
    MatchState* m;
    ~Guard() { m->depth--; }
  } guard{ms};
  for (;;) {
    if (p >= pend) return s;
    switch (*p) {
      case '(':
        if (p + 1 < pend && *(p + 1) == ')') return StartCapture(ms, s, p + 2, pend, CAP_POSITION);
        return StartCapture(ms, s, p + 1, pend, CAP_UNFINISHED);
      case ')':
        return EndCapture(ms, s, p + 1, pend);
      case ESC:
        if (p + 1 < pend && *(p + 1) == 'b') {
          s = MatchBalance(ms, s, p + 2, pend);
          if (!s) return nullptr;
          p += 4;
          continue;
        }
        if (p + 1 < pend && isdigit(static_cast<unsigned char>(*(p + 1)))) {
          s = MatchCapture(ms, s, static_cast<unsigned char>(*(p + 1)));
          if (!s) return nullptr;
          p += 2;
          continue;
        }
        goto dflt;
      case '$':
        if (p + 1 == pend) return s == ms->src_end ? s : nullptr;
        goto dflt;
      default:
      dflt : {
        const char* ep = ClassEnd(ms, p, pend);
        bool m = s < ms->src_end && SingleMatch(static_cast<unsigned char>(*s), p, ep);
        if (ep < pend) {
          switch (*ep) {
            case '?': {
              if (m) {
                const char* res = DoMatch(ms, s + 1, ep + 1, pend);
                if (res) return res;
              }
              p = ep + 1;
              continue;
            }
            case '*':
              return MaxExpand(ms, s, p, ep, pend);
            case '+':
              return m ? MaxExpand(ms, s + 1, p, ep, pend) : nullptr;
            case '-':
              return MinExpand(ms, s, p, ep, pend);
            default:
              break;
          }
        }
        if (!m) return nullptr;
        s++;
        p = ep;
        continue;
      }
    }
  }
}

static void PushOneCapture(MatchState* ms, int i, const char* s, const char* e) {
  if (i == 0) {
    lua_pushlstring(ms->L, s, static_cast<size_t>(e - s));
    return;
  }
  ptrdiff_t l = ms->capture[i - 1].len;
  if (l == CAP_UNFINISHED) luaL_error(ms->L, "unfinished capture");
  if (l == CAP_POSITION)
    lua_pushnumber(ms->L, static_cast<lua_Number>(ms->capture[i - 1].init - ms->src_init + 1));
  else
    lua_pushlstring(ms->L, ms->capture[i - 1].init, static_cast<size_t>(l));
}

static int PushCaptures(MatchState* ms, const char* s, const char* e) {
  int nlevels = (ms->level == 0 && s) ? 1 : ms->level;
  luaL_checkstack(ms->L, nlevels, "too many captures");
  for (int i = 0; i < nlevels; i++) PushOneCapture(ms, ms->level == 0 ? 0 : i + 1, s, e);
  return nlevels;
}

static int StrFind(lua_State* L) {
  size_t l1, l2;
  const char* s = luaL_checklstring(L, 1, &l1);
  const char* p = luaL_checklstring(L, 2, &l2);
  ptrdiff_t init = PosRelat(static_cast<ptrdiff_t>(luaL_clampll(luaL_optnumber(L, 3, 1))), l1) - 1;
  if (init < 0) init = 0;
  if (static_cast<size_t>(init) > l1) init = static_cast<ptrdiff_t>(l1);
  if (lua_toboolean(L, 4) || strpbrk(p, "^$*+?.([%-") == nullptr) {
    // Plain search.
    std::string_view hay(s + init, l1 - static_cast<size_t>(init));
    size_t pos = hay.find(std::string_view(p, l2));
    if (pos != std::string_view::npos) {
      lua_pushnumber(L, static_cast<lua_Number>(init + static_cast<ptrdiff_t>(pos) + 1));
      lua_pushnumber(L, static_cast<lua_Number>(init + static_cast<ptrdiff_t>(pos + l2)));
      return 2;
    }
  } else {
    MatchState ms;
    const char* pend = p + l2;
    bool anchor = (*p == '^');
    if (anchor) p++;
    const char* s1 = s + init;
    ms.L = L;
    ms.src_init = s;
    ms.src_end = s + l1;
    ms.depth = 0;
    do {
      ms.level = 0;
      const char* res = DoMatch(&ms, s1, p, pend);
      if (res) {
        lua_pushnumber(L, static_cast<lua_Number>(s1 - s + 1));
        lua_pushnumber(L, static_cast<lua_Number>(res - s));
        return PushCaptures(&ms, nullptr, nullptr) + 2;
      }
    } while (s1++ < ms.src_end && !anchor);
  }
  lua_pushnil(L);
  return 1;
}

static int GfindAux(lua_State* L) {
  size_t ls, lp;
  const char* s = lua_tostring(L, lua_upvalueindex(1));
  ls = lua_strlen(L, lua_upvalueindex(1));
  const char* p = lua_tostring(L, lua_upvalueindex(2));
  lp = lua_strlen(L, lua_upvalueindex(2));
  MatchState ms;
  ms.L = L;
  ms.src_init = s;
  ms.src_end = s + ls;
  ms.depth = 0;
  for (const char* src =
           s + static_cast<size_t>(luaL_clampll(lua_tonumber(L, lua_upvalueindex(3))));
       src <= ms.src_end; src++) {
    ms.level = 0;
    const char* e = DoMatch(&ms, src, p, p + lp);
    if (e) {
      ptrdiff_t newstart = e - s;
      if (e == src) newstart++;
      lua_pushnumber(L, static_cast<lua_Number>(newstart));
      lua_replace(L, lua_upvalueindex(3));
      return PushCaptures(&ms, src, e);
    }
  }
  return 0;
}

static int Gfind(lua_State* L) {
  luaL_checkstring(L, 1);
  luaL_checkstring(L, 2);
  lua_settop(L, 2);
  lua_pushnumber(L, 0);
  lua_pushcclosure(L, GfindAux, 3);
  return 1;
}

static void AddValue(MatchState* ms, std::string& b, const char* s, const char* e) {
  lua_State* L = ms->L;
  if (lua_isstring(L, 3) && lua_type(L, 3) != LUA_TWSTRING) {
    size_t l;
    const char* news = lua_tostring(L, 3);
    l = lua_strlen(L, 3);
    for (size_t i = 0; i < l; i++) {
      if (news[i] != ESC || i + 1 >= l) {
        b.push_back(news[i]);
      } else {
        i++;
        if (!isdigit(static_cast<unsigned char>(news[i]))) {
          b.push_back(news[i]);
        } else {
          int level = CheckCapture(ms, news[i]);
          ptrdiff_t len = ms->capture[level].len;
          if (len == CAP_POSITION) {
            // Position captures become their number; text captures are copied as is.
            char num[32];
            int n = snprintf(num, sizeof num, "%d",
                             static_cast<int>(ms->capture[level].init - ms->src_init + 1));
            b.append(num, static_cast<size_t>(n));
          } else {
            b.append(ms->capture[level].init, static_cast<size_t>(len));
          }
        }
      }
    }
  } else {
    lua_pushvalue(L, 3);
    int n = PushCaptures(ms, s, e);
    lua_call(L, n, 1);
    if (lua_isstring(L, -1) && lua_type(L, -1) != LUA_TWSTRING)
      b.append(lua_tostring(L, -1), lua_strlen(L, -1));
    lua_pop(L, 1);
  }
}

static int StrGsub(lua_State* L) {
  size_t srcl, lp;
  const char* src = luaL_checklstring(L, 1, &srcl);
  const char* p = luaL_checklstring(L, 2, &lp);
  int max_s = luaL_optint(L, 4, static_cast<int>(srcl) + 1);
  bool anchor = lp > 0 && *p == '^';
  const char* pend = p + lp;
  if (anchor) p++;
  luaL_argcheck(L,
                lua_gettop(L) >= 3 && ((lua_isstring(L, 3) && lua_type(L, 3) != LUA_TWSTRING) ||
                                       lua_isfunction(L, 3)),
                3, "string or function expected");
  std::string b;
  b.reserve(srcl);  // the result is usually about as long as the subject
  MatchState ms;
  ms.L = L;
  ms.src_init = src;
  ms.src_end = src + srcl;
  ms.depth = 0;
  int n = 0;
  while (n < max_s) {
    ms.level = 0;
    const char* e = DoMatch(&ms, src, p, pend);
    if (e) {
      n++;
      AddValue(&ms, b, src, e);
    }
    if (e && e > src) {
      src = e;
    } else if (src < ms.src_end) {
      b.push_back(*src++);
    } else {
      break;
    }
    if (anchor) break;
  }
  b.append(src, static_cast<size_t>(ms.src_end - src));
  lua_pushlstring(L, b.data(), b.size());
  lua_pushnumber(L, n);
  return 2;
}

// --- format ---------------------------------------------------------------

static void AddQuoted(lua_State* L, std::string& b, int arg) {
  size_t l;
  const char* s = luaL_checklstring(L, arg, &l);
  b.push_back('"');
  for (size_t i = 0; i < l; i++) {
    switch (s[i]) {
      case '"':
      case '\\':
      case '\n':
        b.push_back('\\');
        b.push_back(s[i]);
        break;
      case '\0':
        b.append("\\000");
        break;
      default:
        b.push_back(s[i]);
    }
  }
  b.push_back('"');
}

static int StrFormat(lua_State* L) {
  int arg = 1;
  size_t sfl;
  const char* strfrmt = luaL_checklstring(L, arg, &sfl);
  const char* strfrmt_end = strfrmt + sfl;
  std::string b;
  while (strfrmt < strfrmt_end) {
    if (*strfrmt != '%') {
      b.push_back(*strfrmt++);
      continue;
    }
    if (*++strfrmt == '%') {
      b.push_back(*strfrmt++);
      continue;
    }
    // Collect the conversion: flags, width, precision.
    char form[32];
    const char* p = strfrmt;
    while (*p && strchr("-+ #0", *p)) p++;
    if (p - strfrmt > 5) luaL_error(L, "invalid format (repeated flags)");
    if (isdigit(static_cast<unsigned char>(*p))) p++;
    if (isdigit(static_cast<unsigned char>(*p))) p++;
    if (*p == '.') {
      p++;
      if (isdigit(static_cast<unsigned char>(*p))) p++;
      if (isdigit(static_cast<unsigned char>(*p))) p++;
    }
    if (isdigit(static_cast<unsigned char>(*p)))
      luaL_error(L, "invalid format (width or precision too long)");
    form[0] = '%';
    size_t flen = static_cast<size_t>(p - strfrmt + 1);
    memcpy(form + 1, strfrmt, flen);
    form[flen + 1] = '\0';
    strfrmt = p + 1;
    arg++;
    char buff[512];
    switch (*p) {
      case 'c':
      case 'd':
      case 'i': {
        size_t fl = strlen(form);
        char f2[40];
        memcpy(f2, form, fl - 1);
        f2[fl - 1] = 'l';
        f2[fl] = *p == 'c' ? 'c' : 'd';
        f2[fl + 1] = 0;
        if (*p == 'c') {
          snprintf(buff, sizeof buff, form, luaL_clampint(luaL_checknumber(L, arg)));
        } else {
          snprintf(buff, sizeof buff, f2,
                   static_cast<long>(luaL_clampll(luaL_checknumber(L, arg))));
        }
        b.append(buff);
        break;
      }
      case 'o':
      case 'u':
      case 'x':
      case 'X': {
        size_t fl = strlen(form);
        char f2[40];
        memcpy(f2, form, fl - 1);
        f2[fl - 1] = 'l';
        f2[fl] = *p;
        f2[fl + 1] = 0;
        snprintf(
            buff, sizeof buff, f2,
            static_cast<unsigned long>(static_cast<long>(luaL_clampll(luaL_checknumber(L, arg)))));
        b.append(buff);
        break;
      }
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G':
        snprintf(buff, sizeof buff, form, luaL_checknumber(L, arg));
        b.append(buff);
        break;
      case 'q':
        AddQuoted(L, b, arg);
        break;
      case 's': {
        size_t l;
        const char* s = luaL_checklstring(L, arg, &l);
        if (strchr(form, '.') == nullptr && l >= 100) {
          b.append(s, l);  // no precision and long: keep the whole string
        } else {
          std::string tmp(s, l);
          snprintf(buff, sizeof buff, form, tmp.c_str());
          b.append(buff);
        }
        break;
      }
      default:
        luaL_error(L, "invalid option to `format'");
    }
  }
  lua_pushlstring(L, b.data(), b.size());
  return 1;
}

// --- additions ------------------------------------------------------------

static int StrLualex(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  bool wide = lua_toboolean(L, 2);
  std::u16string w = luaX_expandescapes(s, l, wide);
  std::string out;
  for (char16_t c : w) {
    out.push_back(static_cast<char>(c & 0xff));
    if (wide) out.push_back(static_cast<char>(c >> 8));
  }
  lua_pushlstring(L, out.data(), out.size());
  return 1;
}

// pack(format, ...): codes b/B (8-bit), h/H (16-bit), i/I (32-bit), f (float),
// d (double), s (32-bit length + bytes), z (zero-terminated), o (boolean byte);
// little endian.
static int StrPack(lua_State* L) {
  size_t fl;
  const char* f = luaL_checklstring(L, 1, &fl);
  std::string out;
  int arg = 2;
  auto put = [&out](uint64_t v, int n) {
    for (int i = 0; i < n; i++) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  for (size_t i = 0; i < fl; i++, arg++) {
    char c = f[i];
    switch (c) {
      case 'b':
      case 'B':
        put(static_cast<uint64_t>(luaL_clampll(luaL_checknumber(L, arg))), 1);
        break;
      case 'h':
      case 'H':
        put(static_cast<uint64_t>(luaL_clampll(luaL_checknumber(L, arg))), 2);
        break;
      case 'i':
      case 'I':
        put(static_cast<uint64_t>(luaL_clampll(luaL_checknumber(L, arg))), 4);
        break;
      case 'f': {
        float x = static_cast<float>(luaL_checknumber(L, arg));
        uint32_t u;
        memcpy(&u, &x, 4);
        put(u, 4);
        break;
      }
      case 'd': {
        double x = luaL_checknumber(L, arg);
        uint64_t u;
        memcpy(&u, &x, 8);
        put(u, 8);
        break;
      }
      case 's': {
        size_t l;
        const char* s = luaL_checklstring(L, arg, &l);
        put(l, 4);
        out.append(s, l);
        break;
      }
      case 'z': {
        size_t l;
        const char* s = luaL_checklstring(L, arg, &l);
        out.append(s, strnlen(s, l));
        out.push_back('\0');
        break;
      }
      case 'o':
        if (lua_type(L, arg) != LUA_TBOOLEAN) luaL_argerror(L, arg, "expected a boolean");
        out.push_back(lua_toboolean(L, arg) ? 1 : 0);
        break;
      default: {
        char msg[32];
        snprintf(msg, sizeof msg, "bad code `%c'", c);
        luaL_argerror(L, 1, msg);
      }
    }
  }
  lua_pushlstring(L, out.data(), out.size());
  return 1;
}

// unpack(format, data [, pos]): the values followed by the position after them.
static int StrUnpack(lua_State* L) {
  size_t fl, dl;
  const char* f = luaL_checklstring(L, 1, &fl);
  const char* d = luaL_checklstring(L, 2, &dl);
  long long ipos = luaL_clampll(luaL_optnumber(L, 3, 1));
  size_t pos = ipos < 1 ? 1 : static_cast<size_t>(ipos);
  pos--;
  int n = 0;
  auto get = [&](int bytes) -> uint64_t {
    if (pos + static_cast<size_t>(bytes) > dl) luaL_error(L, "data string too short");
    uint64_t v = 0;
    for (int i = 0; i < bytes; i++)
      v |= static_cast<uint64_t>(static_cast<unsigned char>(d[pos + i])) << (8 * i);
    pos += static_cast<size_t>(bytes);
    return v;
  };
  for (size_t i = 0; i < fl; i++) {
    luaL_checkstack(L, 2, "too many results");
    switch (f[i]) {
      case 'b':
        lua_pushnumber(L, static_cast<int8_t>(get(1)));
        break;
      case 'B':
        lua_pushnumber(L, static_cast<uint8_t>(get(1)));
        break;
      case 'h':
        lua_pushnumber(L, static_cast<int16_t>(get(2)));
        break;
      case 'H':
        lua_pushnumber(L, static_cast<uint16_t>(get(2)));
        break;
      case 'i':
        lua_pushnumber(L, static_cast<int32_t>(get(4)));
        break;
      case 'I':
        lua_pushnumber(L, static_cast<uint32_t>(get(4)));
        break;
      case 'f': {
        uint32_t u = static_cast<uint32_t>(get(4));
        float x;
        memcpy(&x, &u, 4);
        lua_pushnumber(L, x);
        break;
      }
      case 'd': {
        uint64_t u = get(8);
        double x;
        memcpy(&x, &u, 8);
        lua_pushnumber(L, x);
        break;
      }
      case 's': {
        size_t l = static_cast<size_t>(get(4));
        if (l > dl - pos) luaL_error(L, "data string too short");
        lua_pushlstring(L, d + pos, l);
        pos += l;
        break;
      }
      case 'z': {
        size_t l = strnlen(d + pos, dl - pos);
        if (pos + l >= dl) luaL_error(L, "data string too short");
        lua_pushlstring(L, d + pos, l);
        pos += l + 1;
        break;
      }
      case 'o':
        lua_pushboolean(L, get(1) != 0);
        break;
      default: {
        char msg[32];
        snprintf(msg, sizeof msg, "bad code `%c'", f[i]);
        luaL_argerror(L, 1, msg);
      }
    }
    n++;
  }
  lua_pushnumber(L, static_cast<lua_Number>(pos + 1));
  return n + 1;
}

static const luaL_reg strlib[] = {
    {"len", StrLen},       {"sub", StrSub},   {"lower", StrLower},   {"upper", StrUpper},
    {"char", StrChar},     {"rep", StrRep},   {"byte", StrByte},     {"format", StrFormat},
    {"dump", StrDump},     {"find", StrFind}, {"gfind", Gfind},      {"gsub", StrGsub},
    {"lualex", StrLualex}, {"pack", StrPack}, {"unpack", StrUnpack}, {nullptr, nullptr}};

int luaopen_string(lua_State* L) {
  luaL_openlib(L, "string", strlib, 0);
  lua_pop(L, 1);
  return 0;
}
