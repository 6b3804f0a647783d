// TControlProperties: what a page configures on the launcher control through its object
// parameters. Six text properties, kept as the UTF-16 text the page gave, and the control's
// extent in HIMETRIC units. The page cannot read or set them from script; only the
// parameters (a property bag) fill them, and the same bag form stores them again.
#pragma once

#include <string>

// Where persisted properties come from and go to: the page's object parameters, or a
// stored copy. Names are the properties' own ("DownloadUrl", ..., "_cx", "_cy").
class TPropertyBag {
 public:
  virtual ~TPropertyBag() = default;
  // False when the bag has no value of that name.
  virtual bool Read(const std::string& name, std::u16string* value) const = 0;
  virtual void Write(const std::string& name, const std::u16string& value) = 0;
};

class TControlProperties {
 public:
  // A text of this many UTF-16 units or more counts as empty.
  static constexpr size_t kMaxTextUnits = 0x100000;
  // The extent of a control the page gives none: 5080 HIMETRIC (2 inches) each way.
  static constexpr long kDefaultExtent = 5080;

  std::u16string downloadUrl;      // "-url="
  std::u16string options;          // "-options=" (key=value pairs for the game's settings)
  std::u16string msn;              // not empty: the game runs for an MSN page ("-msn")
  std::u16string anonymousScores;  // "-anon "
  std::u16string hideLogos;        // "-hidelogo "
  std::u16string gameData;         // appended to the game's command line as it is
  long extentX = kDefaultExtent;   // "_cx"
  long extentY = kDefaultExtent;   // "_cy"

  // Fills the properties the bag holds; the others keep their values. An extent that is not
  // a number in range keeps its value too.
  void Load(const TPropertyBag& bag);
  void Save(TPropertyBag* bag) const;
};

// A property as the game's command line carries it: the low 8 bits of each UTF-16 unit, one
// byte per unit, no code page; a text of kMaxTextUnits units or more gives "".
std::string NarrowProperty(const std::u16string& text);
// UTF-16 to UTF-8 (for a page); a lone surrogate becomes U+FFFD.
std::string NarrowUtf8(const std::u16string& text);
// UTF-8 (as a page's script and markup give it) to UTF-16; a malformed sequence becomes
// U+FFFD.
std::u16string WidenUtf8(const std::string& text);
