// Helpers on values: raw equality, number conversions and chunk names for messages.
#include "script/lua/lua_object.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

const Value luaO_nilobject = {{nullptr}, LUA_TNIL};

int luaO_log2(unsigned int x) {
  int l = -1;
  while (x) {
    x >>= 1;
    l++;
  }
  return l;
}

bool luaO_rawequal(const Value* a, const Value* b) {
  if (a->tt != b->tt) return false;
  switch (a->tt) {
    case LUA_TNIL:
      return true;
    case LUA_TNUMBER:
      return a->n == b->n;
    case LUA_TBOOLEAN:
      return a->b == b->b;
    default:
      return a->p == b->p;
  }
}

bool luaO_str2d(const char* s, size_t len, double* result) {
  if (len == 0 || len > 400 || memchr(s, 0, len)) return false;
  std::string text(s, len);
  const char* c = text.c_str();
  char* endptr;
  double res;
  const char* q = c;
  while (isspace(static_cast<unsigned char>(*q))) q++;
  if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X')) {  // hexadecimal integer
    if (!isxdigit(static_cast<unsigned char>(q[2]))) return false;
    res = static_cast<double>(strtoul(q, &endptr, 16));
  } else {
    res = strtod(c, &endptr);
    if (endptr == c) return false;
    // strtod also reads "inf", "nan" and hex floats, which the language does not.
    for (const char* p = c; p < endptr; p++) {
      if (isalpha(static_cast<unsigned char>(*p)) && *p != 'e' && *p != 'E') return false;
    }
  }
  while (isspace(static_cast<unsigned char>(*endptr))) endptr++;
  if (*endptr != '\0') return false;
  *result = res;
  return true;
}

int luaO_num2str(double n, char* buf) {
  // Whole numbers below 10^14 print as their digits under "%.14g" too; -0 keeps its sign
  // through printf.
  if (n > -1e14 && n < 1e14 && n == static_cast<double>(static_cast<int64_t>(n)) &&
      !(n == 0 && std::signbit(n))) {
    int64_t v = static_cast<int64_t>(n);
    uint64_t u = v < 0 ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v);
    char digits[20];
    int k = 0;
    do {
      digits[k++] = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u != 0);
    int len = 0;
    if (v < 0) buf[len++] = '-';
    while (k > 0) buf[len++] = digits[--k];
    buf[len] = '\0';
    return len;
  }
  return snprintf(buf, 32, "%.14g", n);
}

void luaO_chunkid(char* out, const char* source, size_t bufflen) {
  if (*source == '=') {
    snprintf(out, bufflen, "%s", source + 1);
  } else if (*source == '@') {
    source++;
    size_t l = strlen(source);
    if (l + 1 > bufflen) {
      snprintf(out, bufflen, "...%s", source + (l - (bufflen - 4)));
    } else {
      snprintf(out, bufflen, "%s", source);
    }
  } else {
    size_t len = strcspn(source, "\n\r");
    size_t room = bufflen - sizeof("[string \"...\"]");
    bool cut = source[len] != '\0' || len > room;
    if (len > room) len = room;
    std::string first(source, len);
    snprintf(out, bufflen, "[string \"%s%s\"]", first.c_str(), cut ? "..." : "");
  }
}
