// The lexer: turns source text into tokens, including the dialect's wide-string
// literals (L"...") and the bitwise operator tokens.
#pragma once

#include <string>

#include "script/lua/lua_state.h"

enum RESERVED {
  FIRST_RESERVED = 257,
  TK_AND = FIRST_RESERVED,
  TK_BREAK,
  TK_CONTINUE,
  TK_DO,
  TK_ELSE,
  TK_ELSEIF,
  TK_END,
  TK_FALSE,
  TK_FOR,
  TK_FUNCTION,
  TK_IF,
  TK_IN,
  TK_LOCAL,
  TK_NIL,
  TK_NOT,
  TK_OR,
  TK_REPEAT,
  TK_RETURN,
  TK_THEN,
  TK_TRUE,
  TK_UNTIL,
  TK_WHILE,
  TK_NAME,
  TK_CONCAT,
  TK_DOTS,
  TK_EQ,
  TK_GE,
  TK_LE,
  TK_NE,
  TK_SHL,
  TK_SHR,
  TK_NUMBER,
  TK_STRING,
  TK_WSTRING,
  TK_EOS
};
constexpr int NUM_RESERVED = TK_WHILE - FIRST_RESERVED + 1;

struct SemInfo {
  double r;
  TString* ts;
};

struct Token {
  int token;
  SemInfo seminfo;
};

struct FuncState;

struct LexState {
  int current;  // current character (-1 at the end)
  int linenumber;
  int lastline;  // line of the last token consumed
  Token t;
  Token lookahead;
  FuncState* fs;
  lua_State* L;
  const char* p;  // reading position
  const char* end;
  TString* source;
  int nestlevel;
  std::string buff;
};

void luaX_init(lua_State* L);
void luaX_setinput(lua_State* L, LexState* ls, const char* text, size_t len, TString* source);
void luaX_next(LexState* ls);
void luaX_lookahead(LexState* ls);
[[noreturn]] void luaX_syntaxerror(LexState* ls, const char* msg);
[[noreturn]] void luaX_errorline(LexState* ls, const char* msg, const char* token, int line);
const char* luaX_token2str(LexState* ls, int token);
// Expands the escapes of string.lualex: \a \b \f \n \r \t \v, \x with up to 2 (or 4 when
// wide) hex digits, \ddd up to three decimal digits, any other character stands for itself.
std::u16string luaX_expandescapes(const char* s, size_t len, bool wide);
