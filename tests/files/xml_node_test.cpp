#include "files/xml_node.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/file_system.h"
#include "files/zxml.h"

namespace {

TEST(XmlReader, TextIsNormalisedToSingleSpaces) {
  TXmlNode root;
  root.Parse("<level>\n    first line\n\t  second   line\r\n  </level>");
  TXmlNode* level = root.FindChild("level");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->GetText(), "first line second line");
  // Quotes around text vanish; delimiters in text stand apart.
  root.Parse("<b>\"  quoted  text \" a=b x>y</b>");
  EXPECT_EQ(root.FindChild("b")->GetText(), "  quoted  text  a = b x > y");
}

TEST(XmlReader, DeclarationAndCommentAreSiblingsOfTheRootElement) {
  TXmlNode root;
  root.Parse(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- saved by hand -->\n"
      "<settings><game>mahjong</game></settings>");
  ASSERT_EQ(root.Children().size(), 3u);
  EXPECT_EQ(root.Children()[0]->GetName(), "?xml");
  EXPECT_EQ(root.Children()[0]->GetAttribute("version"), "1.0");
  EXPECT_TRUE(root.Children()[0]->Children().empty());
  EXPECT_EQ(root.Children()[1]->GetName(), "!--");
  TXmlNode* settings = root.FindChild("settings");
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(settings->FindChild("game")->GetText(), "mahjong");
  EXPECT_EQ(root.FindChild("Settings"), nullptr);  // names are case-sensitive
}

TEST(XmlReader, AttributesQuotedUnquotedAndSelfClosing) {
  TXmlNode root;
  root.Parse("<tile x=12 name=\"a b\"/><next/>");
  ASSERT_EQ(root.Children().size(), 2u);
  TXmlNode* tile = root.FindChild("tile");
  ASSERT_EQ(tile->Attributes().size(), 2u);
  bool quoted = true;
  EXPECT_EQ(tile->GetAttribute("x", &quoted), "12");
  EXPECT_FALSE(quoted);
  EXPECT_EQ(tile->GetAttribute("name", &quoted), "a b");
  EXPECT_TRUE(quoted);
  EXPECT_TRUE(tile->Children().empty());
  EXPECT_EQ(tile->GetAttribute("X"), "");
  EXPECT_EQ(tile->GetAttribute("missing"), "");

  // A value directly followed by "/>" loses the "/"; an empty quoted value is a value.
  root.Parse("<a v=7/><b e=\"\" w='single'></b>");
  EXPECT_EQ(root.FindChild("a")->GetAttribute("v"), "7");
  TXmlNode* b = root.FindChild("b");
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->HasAttribute("e"));
  EXPECT_EQ(b->GetAttribute("e"), "");
  EXPECT_EQ(b->GetAttribute("w"), "'single'");
  // A name without a value is dropped; a repeated name is kept twice, the first wins.
  root.Parse("<c flag k=1 k=2 />");
  TXmlNode* c = root.FindChild("c");
  ASSERT_EQ(c->Attributes().size(), 2u);
  EXPECT_EQ(c->GetAttribute("k"), "1");
  EXPECT_FALSE(c->HasAttribute("flag"));
}

TEST(XmlReader, EntitiesAndCharacterReferences) {
  TXmlNode root;
  root.Parse("<t a=\"&lt;&amp;&gt;&quot;&apos;\">caf&#233; &#x41; &nbsp; &AMP; &#321;</t>");
  TXmlNode* t = root.FindChild("t");
  EXPECT_EQ(t->GetAttribute("a"), "<&>\"'");
  EXPECT_EQ(t->GetText(), "caf\xE9 &#x41; &nbsp; &AMP; A");  // 321 mod 256 = 65
  // An escaped "<" is text, never the start of a tag.
  root.Parse("<u>&lt;v&gt; &lt; done</u>");
  TXmlNode* u = root.FindChild("u");
  EXPECT_TRUE(u->Children().empty());
  EXPECT_EQ(u->GetText(), "<v> < done");
}

TEST(XmlReader, NestingAndMalformedStructure) {
  TXmlNode root;
  root.Parse("<a><b><c>deep</c></b><d/></a><e>");
  TXmlNode* a = root.FindChild("a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->FindChild("b")->FindChild("c")->GetText(), "deep");
  EXPECT_NE(a->FindChild("d"), nullptr);
  EXPECT_NE(root.FindChild("e"), nullptr);  // unclosed at the end of the source

  // The name of a closing tag is not checked: it ends whatever element is open.
  root.Parse("<x><y>1</z>2</q></x>3");
  TXmlNode* x = root.FindChild("x");
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->FindChild("y")->GetText(), "1");
  EXPECT_EQ(x->GetText(), "2");
  EXPECT_EQ(root.GetText(), "");  // "</x>" ended the root's content too

  // The source ending inside a tag keeps what was built.
  root.Parse("<p k=\"v\"><q r=");
  TXmlNode* p = root.FindChild("p");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetAttribute("k"), "v");
  EXPECT_NE(p->FindChild("q"), nullptr);
}

TEST(XmlReader, BytesAreDataUpToTheLength) {
  const std::string text("<a>x\xFFy z\xC3\xA9</a><b/>", 19);
  TXmlNode root;
  root.Parse(text);
  ASSERT_NE(root.FindChild("a"), nullptr);
  EXPECT_EQ(root.FindChild("a")->GetText(), "x\xFFy z\xC3\xA9");
  EXPECT_NE(root.FindChild("b"), nullptr);
  // A multi-byte lead byte swallows the next bytes, delimiters included.
  root.Parse("<m>\xE2<n>");
  TXmlNode* m = root.FindChild("m");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->GetText(), "\xE2<n >");
  // A sequence cut short by the end is completed with 255.
  root.Parse("<k>\xF0\x90");
  EXPECT_EQ(root.FindChild("k")->GetText(), "\xF0\x90\xFF\xFF");
}

TEST(XmlReader, IterationAndSetters) {
  TXmlNode root;
  root.Parse("<r><one a=1 b=2/><two/></r>");
  TXmlNode* r = root.FindChild("r");
  std::string names;
  std::string name;
  TXmlNode* child = nullptr;
  r->ResetChildren();
  while (r->NextChild(&name, &child)) names += name + ";";
  EXPECT_EQ(names, "one;two;");
  TXmlNode* one = r->FindChild("one");
  std::string pairs, value;
  one->ResetAttributes();
  while (one->NextAttribute(&name, &value)) pairs += name + "=" + value + ";";
  EXPECT_EQ(pairs, "a=1;b=2;");

  bool quoted = false;
  one->SetAttribute("a", -42);
  EXPECT_EQ(one->GetAttribute("a", &quoted), "-42");
  EXPECT_TRUE(quoted);
  one->SetAttribute("c", "new");
  EXPECT_EQ(one->Attributes().back().name, "c");
  EXPECT_EQ(one->Attributes().size(), 3u);
}

TEST(XmlWriter, WritesIndentedEscapedText) {
  TXmlNode root("doc");
  root.SetAttribute("v", "a\"b");
  TXmlNode* child = root.AddChild("line");
  child->SetText("one\ntwo <&>");
  child->AddAttribute("n", "5", false);
  EXPECT_EQ(root.ToString(),
            "<doc\n    v=\"a&quot;b\">\n"
            "    <line\n        n=5>\n"
            "    one&#10;two &lt;&amp;&gt;\n"
            "    </line>\n"
            "</doc>\n");
}

TEST(XmlWriter, OutputReadsBackToTheSameTree) {
  TXmlNode original("prefs");
  TXmlNode* user = original.AddChild("user");
  std::string allBytes;
  for (int b = 1; b < 256; ++b) allBytes += static_cast<char>(b);
  user->SetAttribute("bytes", allBytes);
  user->SetAttribute("empty", "");
  user->SetText("caf\xC3\xA9 = \"best\"");
  user->AddChild("odd<name");

  TXmlNode copy;
  copy.Parse(original.ToString());
  TXmlNode* prefs = copy.FindChild("prefs");
  ASSERT_NE(prefs, nullptr);
  TXmlNode* readUser = prefs->FindChild("user");
  ASSERT_NE(readUser, nullptr);
  EXPECT_EQ(readUser->GetAttribute("bytes"), allBytes);
  EXPECT_TRUE(readUser->HasAttribute("empty"));
  EXPECT_EQ(readUser->GetText(), "caf\xC3\xA9 = \"best\"");
  EXPECT_NE(readUser->FindChild("odd<name"), nullptr);
  EXPECT_EQ(prefs->ToString(), original.ToString());
}

TEST(XmlWriter, UnnamedRootReadsBackAsItsChildren) {
  TXmlNode root;
  root.AddChild("data1")->SetAttribute("data", "abc");
  root.AddChild("data2")->SetAttribute("data", 17);
  const std::string text = root.ToString();
  EXPECT_EQ(text.substr(0, 3), "<>\n");
  TXmlNode copy;
  copy.Parse(text);
  ASSERT_EQ(copy.Children().size(), 2u);
  EXPECT_EQ(copy.FindChild("data2")->GetAttribute("data"), "17");
}

TEST(XmlReader, DeepNestingDoesNotExhaustTheStack) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "<a>";
  TXmlNode root;
  root.Parse(text);
  int depth = 0;
  for (const TXmlNode* node = &root; !node->Children().empty(); node = node->Children()[0].get())
    ++depth;
  EXPECT_EQ(depth, 200000);
}

}  // namespace

namespace {

// Plain and compressed documents, as files of the virtual file system and as strings.
class XmlFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RegisterMemoryFile("plain.xml", nullptr, 0);
    RegisterMemoryFile("packed.xml", nullptr, 0);
  }
};

TEST_F(XmlFileTest, CompressedAndPlainDocumentsGiveTheSameTree) {
  const std::string plain =
      "<?xml version=\"1.0\"?>\r\n<settings>\r\n  <game>\r\n    mahjongcuriomar\r\n  </game>\r\n"
      "  <note text=\"two\r\nlines\"/>\r\n</settings>\r\n";
  const std::vector<uint8_t> packed = PackZxml(plain.data(), plain.size());
  RegisterMemoryFile("plain.xml", plain.data(), plain.size());
  RegisterMemoryFile("packed.xml", packed.data(), packed.size());

  TXmlNode fromPlainFile, fromPackedFile, fromPackedString;
  fromPlainFile.LoadFile("plain.xml");
  fromPackedFile.LoadFile("PACKED.XML");
  fromPackedString.Parse(
      std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()));
  ASSERT_NE(fromPlainFile.FindChild("settings"), nullptr);
  EXPECT_EQ(fromPlainFile.FindChild("settings")->FindChild("game")->GetText(), "mahjongcuriomar");
  // Text mode drops the carriage return inside the quoted value.
  EXPECT_EQ(fromPlainFile.FindChild("settings")->FindChild("note")->GetAttribute("text"),
            "two\nlines");
  EXPECT_EQ(fromPackedFile.FindChild("settings")->FindChild("game")->GetText(), "mahjongcuriomar");
  // A container is read untranslated, as file and as string alike: carriage returns stay.
  EXPECT_EQ(fromPackedFile.ToString(), fromPackedString.ToString());
  EXPECT_EQ(fromPackedString.FindChild("settings")->FindChild("note")->GetAttribute("text"),
            "two\r\nlines");
}

TEST_F(XmlFileTest, MissingOrDamagedSourcesGiveAnEmptyTree) {
  TXmlNode root;
  root.LoadFile("no/such/file.xml");
  EXPECT_TRUE(root.Children().empty());
  std::string damaged = "ZXML\x10\0\0\0\x40\0\0\0garbage-not-zlib";
  damaged.resize(28);
  RegisterMemoryFile("packed.xml", damaged.data(), damaged.size());
  root.LoadFile("packed.xml");
  EXPECT_TRUE(root.Children().empty());
  root.Parse(damaged);
  EXPECT_TRUE(root.Children().empty());
}

}  // namespace
