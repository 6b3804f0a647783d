#include "data/prefs_legacy.h"

#include <cstdlib>
#include <cstring>

#include "data/prefs_cipher.h"
#include "files/lower_case.h"
#include "files/xml_node.h"

bool IsLegacyPrefs(std::string_view bytes) {
  return bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '>';
}

int32_t LegacyPrefsChecksum(std::string_view bytes) {
  uint32_t sum = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int32_t value = static_cast<int8_t>(bytes[i]);
    sum ^= static_cast<uint32_t>(value) << (8 * (i % 4));
  }
  return static_cast<int32_t>(sum);
}

TPrefsLegacyReport ReadLegacyPrefs(std::string_view bytes, const TPrefsCipher& cipher,
                                   bool haveKeyText, TPrefsSections& sections) {
  TPrefsLegacyReport report;
  TXmlNode document;
  if (haveKeyText) {
    TXmlNode outer;
    outer.Parse(bytes);
    const TXmlNode* data1 = outer.FindChild("data1");
    const TXmlNode* data2 = outer.FindChild("data2");
    if (!data1 || !data2) return report;
    const std::string plain = cipher.DecryptText(data1->GetAttribute("data"));
    const long long expected = std::strtoll(data2->GetAttribute("data").c_str(), nullptr, 10);
    if (static_cast<int32_t>(expected) != LegacyPrefsChecksum(plain)) return report;
    document.Parse(std::string_view(plain));
  } else {
    document.Parse(bytes);
  }
  report.readable = true;
  for (const auto& install : document.Children()) {
    if (install->GetName() != "install") continue;
    std::string key = LowerCaseAscii(install->GetAttribute("tvinstallkey"));
    key.resize(std::strlen(key.c_str()));  // section keys are written with a zero byte
    if (!report.hasFirstKey) {
      report.hasFirstKey = true;
      report.firstKey = key;
    }
    TPrefsSection& section = sections[key];
    size_t slot = 0;
    for (const auto& slotElement : install->Children()) {
      if (slot > kMaxPrefsSlot) break;  // the record form could not hold more
      if (section.size() <= slot) section.resize(slot + 1);
      for (const TXmlAttribute& attribute : slotElement->Attributes()) {
        if (PrefsEntryFits(attribute.name, attribute.value.size() + 1))
          section[slot][attribute.name] = attribute.value + '\0';
      }
      ++slot;
    }
  }
  return report;
}

std::string WriteLegacyPrefs(const TPrefsSections& sections, const TPrefsCipher& cipher) {
  TXmlNode document;
  for (const auto& [key, slots] : sections) {
    TXmlNode* install = document.AddChild("install");
    install->SetAttribute("tvinstallkey", key);
    for (size_t index = 0; index < slots.size(); ++index) {
      TXmlNode* slot = install->AddChild(index == 0 ? "global" : "user");
      for (const auto& [name, value] : slots[index])
        slot->SetAttribute(name, value.substr(0, value.find('\0')));
    }
  }
  const std::string plain = document.ToString();
  TXmlNode outer;
  outer.AddChild("data1")->SetAttribute("data", cipher.EncryptText(plain));
  outer.AddChild("data2")->SetAttribute("data", LegacyPrefsChecksum(plain));
  return outer.ToString();
}
