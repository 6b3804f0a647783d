// The lexer: turns source text into tokens, including the dialect's wide-string
// literals (L"...") and the bitwise operator tokens.
#include "script/lua/lua_lex.h"

#include <cctype>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_string.h"

static const char* const token2string[] = {
    "and",      "break", "continue", "do",    "else",    "elseif",  "end",      "false",  "for",
    "function", "if",    "in",       "local", "nil",     "not",     "or",       "repeat", "return",
    "then",     "true",  "until",    "while", "*name",   "..",      "...",      "==",     ">=",
    "<=",       "~=",    "<<",       ">>",    "*number", "*string", "*wstring", "<eof>"};

void luaX_init(lua_State* L) {
  for (int i = 0; i < NUM_RESERVED; i++) {
    TString* ts = luaS_new(L, token2string[i]);
    ts->marked |= GC_FIXED;
    ts->reserved = static_cast<uint8_t>(i + 1);
  }
}

const char* luaX_token2str(LexState* ls, int token) {
  if (token < FIRST_RESERVED) {
    ls->buff.assign(1, static_cast<char>(token));
    return ls->buff.c_str();
  }
  return token2string[token - FIRST_RESERVED];
}

void luaX_errorline(LexState* ls, const char* msg, const char* token, int line) {
  lua_State* L = ls->L;
  char buff[80];
  luaO_chunkid(buff, ls->source->data(), sizeof buff);
  luaO_pushfstring(L, "%s:%d: %s near `%s'", buff, line, msg, token);
  luaD_throw(L, LUA_ERRSYNTAX);
}

static std::string TokenText(LexState* ls, int token) {
  switch (token) {
    case TK_NAME:
    case TK_STRING:
    case TK_NUMBER:
      return ls->buff;
    case TK_WSTRING: {
      std::string w("L\"");
      w.append(ls->buff);
      w.push_back('"');
      return w;
    }
    default:
      return luaX_token2str(ls, token);
  }
}

static void LexError(LexState* ls, const char* msg, int token) {
  std::string text = TokenText(ls, token);
  if (text.size() > 60) {
    text.resize(60);
    text.append("...");
  }
  luaX_errorline(ls, msg, text.c_str(), ls->linenumber);
}

void luaX_syntaxerror(LexState* ls, const char* msg) {
  std::string text;
  switch (ls->t.token) {
    case TK_NAME:
    case TK_STRING:
      text.assign(ls->t.seminfo.ts->data(), ls->t.seminfo.ts->len);
      break;
    case TK_NUMBER: {
      char b[32];
      luaO_num2str(ls->t.seminfo.r, b);
      text = b;
      break;
    }
    case TK_WSTRING:
      text = "*wstring";
      break;
    default:
      text = luaX_token2str(ls, ls->t.token);
  }
  if (text.size() > 60) {
    text.resize(60);
    text.append("...");
  }
  luaX_errorline(ls, msg, text.c_str(), ls->linenumber);
}

static inline void Next(LexState* ls) {
  ls->current = ls->p < ls->end ? static_cast<unsigned char>(*ls->p++) : -1;
}

static inline void SaveAndNext(LexState* ls) {
  ls->buff.push_back(static_cast<char>(ls->current));
  Next(ls);
}

void luaX_setinput(lua_State* L, LexState* ls, const char* text, size_t len, TString* source) {
  ls->L = L;
  ls->lookahead.token = TK_EOS;
  ls->fs = nullptr;
  ls->p = text;
  ls->end = text + len;
  ls->linenumber = 1;
  ls->lastline = 1;
  ls->source = source;
  ls->nestlevel = 0;
  Next(ls);
  if (ls->current == '#') {  // skip a first line starting with '#' (shell scripts)
    while (ls->current != '\n' && ls->current != -1) Next(ls);
  }
}

static void IncLine(LexState* ls) {
  int old = ls->current;
  Next(ls);
  if ((ls->current == '\n' || ls->current == '\r') && ls->current != old) Next(ls);
  ++ls->linenumber;
}

// Reads a numeral; the buffer may already hold a leading '.'.
static void ReadNumeral(LexState* ls, SemInfo* seminfo) {
  while (isdigit(ls->current) || ls->current == '.') {
    if (ls->current == '.' && !ls->buff.empty() && ls->buff.back() == '.') {
      ls->buff.push_back('.');
      LexError(ls, "ambiguous syntax (decimal point x string concatenation)", TK_NUMBER);
    }
    SaveAndNext(ls);
  }
  if (ls->current == 'e' || ls->current == 'E') {
    SaveAndNext(ls);
    if (ls->current == '+' || ls->current == '-') SaveAndNext(ls);
    while (isdigit(ls->current)) SaveAndNext(ls);
  }
  if (!luaO_str2d(ls->buff.data(), ls->buff.size(), &seminfo->r))
    LexError(ls, "malformed number", TK_NUMBER);
}

static void ReadLongString(LexState* ls, SemInfo* seminfo, bool isComment) {
  int cont = 0;
  ls->buff = "[[";
  Next(ls);  // skip second '['
  if (ls->current == '\r' || ls->current == '\n') IncLine(ls);
  for (;;) {
    switch (ls->current) {
      case -1:
        LexError(ls, isComment ? "unfinished long comment" : "unfinished long string", TK_EOS);
        break;
      case '[':
        SaveAndNext(ls);
        if (ls->current == '[') {
          cont++;
          SaveAndNext(ls);
        }
        continue;
      case ']':
        SaveAndNext(ls);
        if (ls->current == ']') {
          if (cont == 0) goto endloop;
          cont--;
          SaveAndNext(ls);
        }
        continue;
      case '\n':
      case '\r':
        ls->buff.push_back('\n');
        IncLine(ls);
        if (isComment) ls->buff.clear();
        continue;
      default:
        if (isComment) {
          Next(ls);
        } else {
          SaveAndNext(ls);
        }
    }
  }
endloop:
  SaveAndNext(ls);  // skip the second ']'
  if (!isComment) {
    seminfo->ts = luaS_newlstr(ls->L, ls->buff.data() + 2, ls->buff.size() - 4);
  }
}

static void ReadString(LexState* ls, int del, SemInfo* seminfo) {
  ls->buff.clear();
  Next(ls);
  while (ls->current != del) {
    switch (ls->current) {
      case -1:
        LexError(ls, "unfinished string", TK_EOS);
        break;
      case '\n':
      case '\r':
        LexError(ls, "unfinished string", TK_STRING);
        break;
      case '\\': {
        Next(ls);
        int c;
        switch (ls->current) {
          case 'a':
            c = '\a';
            break;
          case 'b':
            c = '\b';
            break;
          case 'f':
            c = '\f';
            break;
          case 'n':
            c = '\n';
            break;
          case 'r':
            c = '\r';
            break;
          case 't':
            c = '\t';
            break;
          case 'v':
            c = '\v';
            break;
          case '\n':
          case '\r':
            IncLine(ls);
            ls->buff.push_back('\n');
            continue;
          case -1:
            continue;  // reported as unfinished string
          default:
            if (!isdigit(ls->current)) {
              SaveAndNext(ls);  // \\ \" \' and any other character
              continue;
            }
            c = 0;
            for (int i = 0; i < 3 && isdigit(ls->current); i++) {
              c = 10 * c + (ls->current - '0');
              Next(ls);
            }
            if (c > 255) LexError(ls, "escape sequence too large", TK_STRING);
            ls->buff.push_back(static_cast<char>(c));
            continue;
        }
        ls->buff.push_back(static_cast<char>(c));
        Next(ls);
        continue;
      }
      default:
        SaveAndNext(ls);
    }
  }
  Next(ls);
  seminfo->ts = luaS_newlstr(ls->L, ls->buff.data(), ls->buff.size());
}

std::u16string luaX_expandescapes(const char* s, size_t len, bool wide) {
  std::u16string out;
  size_t i = 0;
  while (i < len) {
    unsigned char ch = static_cast<unsigned char>(s[i++]);
    if (ch != '\\' || i >= len) {
      out.push_back(ch);
      continue;
    }
    unsigned char e = static_cast<unsigned char>(s[i++]);
    switch (e) {
      case 'a':
        out.push_back(u'\a');
        break;
      case 'b':
        out.push_back(u'\b');
        break;
      case 'f':
        out.push_back(u'\f');
        break;
      case 'n':
        out.push_back(u'\n');
        break;
      case 'r':
        out.push_back(u'\r');
        break;
      case 't':
        out.push_back(u'\t');
        break;
      case 'v':
        out.push_back(u'\v');
        break;
      case 'x': {
        unsigned v = 0;
        int maxd = wide ? 4 : 2, n = 0;
        while (n < maxd && i < len && isxdigit(static_cast<unsigned char>(s[i]))) {
          char c = s[i++];
          v = v * 16 + static_cast<unsigned>(isdigit(static_cast<unsigned char>(c))
                                                 ? c - '0'
                                                 : (tolower(c) - 'a' + 10));
          n++;
        }
        out.push_back(static_cast<char16_t>(v));
        break;
      }
      default:
        if (isdigit(e)) {
          unsigned v = e - '0';
          for (int n = 1; n < 3 && i < len && isdigit(static_cast<unsigned char>(s[i])); n++)
            v = v * 10 + static_cast<unsigned>(s[i++] - '0');
          out.push_back(static_cast<char16_t>(wide ? v : (v & 0xff)));
        } else {
          out.push_back(e);
        }
    }
  }
  return out;
}

// L"...": raw text up to the closing quote, escapes expanded in wide mode.
static void ReadWideString(LexState* ls, SemInfo* seminfo) {
  ls->buff.clear();
  Next(ls);  // skip the opening quote
  while (ls->current != '"') {
    if (ls->current == -1) LexError(ls, "unfinished string", TK_EOS);
    if (ls->current == '\n' || ls->current == '\r') LexError(ls, "unfinished string", TK_WSTRING);
    if (ls->current == '\\') {
      SaveAndNext(ls);
      if (ls->current == -1) continue;
      if (ls->current == '\n' || ls->current == '\r') {
        IncLine(ls);
        ls->buff.back() = '\n';
        continue;
      }
    }
    SaveAndNext(ls);
  }
  Next(ls);
  std::u16string w = luaX_expandescapes(ls->buff.data(), ls->buff.size(), true);
  seminfo->ts = luaS_newwstr(ls->L, w.data(), w.size());
}

static int Llex(LexState* ls, SemInfo* seminfo) {
  for (;;) {
    switch (ls->current) {
      case '\n':
      case '\r':
        IncLine(ls);
        continue;
      case '-':
        Next(ls);
        if (ls->current != '-') return '-';
        Next(ls);
        if (ls->current == '[') {
          Next(ls);
          if (ls->current == '[') {
            ReadLongString(ls, seminfo, true);
            continue;
          }
        }
        while (ls->current != '\n' && ls->current != '\r' && ls->current != -1) Next(ls);
        continue;
      case '[':
        Next(ls);
        if (ls->current != '[') return '[';
        ReadLongString(ls, seminfo, false);
        return TK_STRING;
      case '=':
        Next(ls);
        if (ls->current != '=') return '=';
        Next(ls);
        return TK_EQ;
      case '<':
        Next(ls);
        if (ls->current == '=') {
          Next(ls);
          return TK_LE;
        }
        if (ls->current == '<') {
          Next(ls);
          return TK_SHL;
        }
        return '<';
      case '>':
        Next(ls);
        if (ls->current == '=') {
          Next(ls);
          return TK_GE;
        }
        if (ls->current == '>') {
          Next(ls);
          return TK_SHR;
        }
        return '>';
      case '~':
        Next(ls);
        if (ls->current != '=') return '~';
        Next(ls);
        return TK_NE;
      case '"':
      case '\'':
        ReadString(ls, ls->current, seminfo);
        return TK_STRING;
      case '.':
        ls->buff.assign(1, '.');
        Next(ls);
        if (ls->current == '.') {
          Next(ls);
          if (ls->current == '.') {
            Next(ls);
            return TK_DOTS;
          }
          return TK_CONCAT;
        }
        if (!isdigit(ls->current)) return '.';
        ls->buff.assign(1, '.');
        ReadNumeral(ls, seminfo);
        return TK_NUMBER;
      case -1:
        return TK_EOS;
      default:
        if (isspace(ls->current)) {
          Next(ls);
          continue;
        }
        if (isdigit(ls->current)) {
          ls->buff.clear();
          ReadNumeral(ls, seminfo);
          return TK_NUMBER;
        }
        if (isalpha(ls->current) || ls->current == '_') {
          if (ls->current == 'L' && ls->p < ls->end && *ls->p == '"') {
            Next(ls);
            ReadWideString(ls, seminfo);
            return TK_WSTRING;
          }
          ls->buff.clear();
          do {
            SaveAndNext(ls);
          } while (isalnum(ls->current) || ls->current == '_');
          if (ls->buff.size() > 10000) LexError(ls, "lexical element too long", TK_NAME);
          TString* ts = luaS_newlstr(ls->L, ls->buff.data(), ls->buff.size());
          if (ts->reserved > 0) return ts->reserved - 1 + FIRST_RESERVED;
          seminfo->ts = ts;
          return TK_NAME;
        }
        {
          int c = ls->current;
          Next(ls);
          return c;
        }
    }
  }
}

void luaX_next(LexState* ls) {
  ls->lastline = ls->linenumber;
  if (ls->lookahead.token != TK_EOS) {
    ls->t = ls->lookahead;
    ls->lookahead.token = TK_EOS;
  } else {
    ls->t.token = Llex(ls, &ls->t.seminfo);
  }
}

void luaX_lookahead(LexState* ls) {
  ls->lookahead.token = Llex(ls, &ls->lookahead.seminfo);
}
