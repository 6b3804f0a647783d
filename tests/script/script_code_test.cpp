#include "script/script_code.h"

#include "script/script.h"
#include "script/script_path.h"
#include "tests/script/script_test_fixture.h"

namespace {

TEST_F(ScriptTest, ScriptFilesAreCompiledOncePerRun) {
  WriteFile("assets/scripts/count.lua", "gCount = (gCount or 0) + 1");
  InitFileSystem();
  TScript script;
  const int compiled = ScriptCompileCount();
  ASSERT_TRUE(script.RunScript("scripts/count.lua"));
  EXPECT_EQ(ScriptCompileCount(), compiled + 1);
  // The text changes on disk, but the run keeps the code it compiled first.
  WriteFile("assets/scripts/count.lua", "gCount = 100");
  ASSERT_TRUE(script.RunScript("scripts/count.lua"));
  EXPECT_EQ(ScriptCompileCount(), compiled + 1);
  EXPECT_EQ(GlobalNumber(script.GetState(), "gCount"), 2);

  // Another script state shares the cached code.
  TScript other;
  ASSERT_TRUE(other.RunScript("scripts/count.lua"));
  EXPECT_EQ(GlobalNumber(other.GetState(), "gCount"), 1);
  EXPECT_EQ(ScriptCompileCount(), compiled + 1);

  std::string error;
  auto first = LoadScriptCode("scripts/count.lua", "", error);
  auto second = LoadScriptCode("scripts/count.lua", "", error);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(assets.GetAsset("scripts/count.lua"), first);
  EXPECT_TRUE(first->IsKindOf(TScriptCode::kType));
  EXPECT_STREQ(first->ClassName(), "TScriptCode");
  EXPECT_EQ(std::string(first->Code(), 4), "\033Lua");

  // Once nobody holds it, the next load compiles the new text.
  first.reset();
  second.reset();
  ForgetCompiledScripts();
  ASSERT_TRUE(script.RunScript("scripts/count.lua"));
  EXPECT_EQ(ScriptCompileCount(), compiled + 2);
  EXPECT_EQ(GlobalNumber(script.GetState(), "gCount"), 100);
}

TEST_F(ScriptTest, LoadScriptCodeFailuresAnswerNullWithTheMessage) {
  WriteFile("assets/scripts/bad.lua", "function f( end");
  WriteFile("assets/scripts/binary.lua", std::string("\033Lua\x50\x01\x04garbage", 14));
  InitFileSystem();
  std::string error;
  EXPECT_EQ(LoadScriptCode("", "", error), nullptr);
  EXPECT_EQ(LoadScriptCode("scripts/none.lua", "", error), nullptr);
  EXPECT_NE(error.find("scripts/none.lua"), std::string::npos);
  error.clear();
  EXPECT_EQ(LoadScriptCode("scripts/bad.lua", "", error), nullptr);
  EXPECT_NE(error.find("bad.lua:1:"), std::string::npos);
  error.clear();
  EXPECT_EQ(LoadScriptCode("scripts/binary.lua", "", error), nullptr);
  EXPECT_FALSE(error.empty());
  // Nothing was cached for the failures.
  EXPECT_EQ(assets.GetAsset("scripts/bad.lua"), nullptr);
  TScript script;
  EXPECT_FALSE(script.RunScript("scripts/binary.lua"));
}

TEST_F(ScriptTest, SearchPathTemplatesAreTriedInOrder) {
  WriteFile("assets/scripts/a.lua", "gWhere = 'assets'");
  WriteFile("extra/scripts/a.lua", "gWhere = 'extra'");
  WriteFile("extra/scripts/b.lua", "gWhere = 'extra only'");
  InitFileSystem();
  // Templates name files the way the file system does: "::" for a literal path.
  EXPECT_EQ(FindScriptFile("scripts/a.lua", "assets/?;::extra/?"), "assets/scripts/a.lua");
  EXPECT_EQ(FindScriptFile("scripts/a.lua", "::extra/?;assets/?"), "::extra/scripts/a.lua");
  EXPECT_EQ(FindScriptFile("scripts/b.lua", "assets/?;;::extra/?"), "::extra/scripts/b.lua");
  EXPECT_EQ(FindScriptFile("scripts/b.lua", "extra/?"), "");
  EXPECT_EQ(FindScriptFile("scripts/c.lua", "assets/?;::extra/?"), "");
  EXPECT_EQ(FindScriptFile("", "?"), "");
  EXPECT_EQ(ScriptSearchPath(), "assets/?;?;../?;../../?");

  std::string error;
  EXPECT_EQ(LoadScriptCode("scripts/b.lua", "nowhere/?", error), nullptr);
  EXPECT_EQ(LoadScriptCode("scripts/b.lua", "", error), nullptr);  // "assets/?;../?;?"
  EXPECT_NE(LoadScriptCode("scripts/b.lua", "::extra/?", error), nullptr);

  const std::string saved = ScriptSearchPath();
  SetScriptSearchPath("::extra/?");
  TScript script;
  EXPECT_TRUE(script.RunScript("scripts/a.lua"));
  EXPECT_EQ(Global(script.GetState(), "gWhere"), "extra");
  // dofile inside a script follows the engine's path too.
  script.DoLuaString("dofile( 'scripts/b.lua' )");
  EXPECT_EQ(Global(script.GetState(), "gWhere"), "extra only");
  SetScriptSearchPath(saved);
}

}  // namespace
