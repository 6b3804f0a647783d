// TXSellWindow (window type "XSellWindow"): the "more games" dialog. Its script functions
// fill it from "xsell/xsell.xml" (SetupXSell) and open the web address behind one of its
// links (LaunchGameLink). The file is optional: without it the dialog shows no games, and
// the main menu does not offer the dialog at all.
//
// "xsell/xsell.xml": root element xsell with, in any order, up to seven gameinfo elements
// (description, linktext, link), an optional sitelink (link) and an optional centertext
// (text1, text2).
#pragma once

#include <array>
#include <string>

#include "ui/window.h"

class TXSellWindow : public TWindow {
 public:
  static constexpr int kGameSlots = 7;
  static constexpr char kFileName[] = "xsell/xsell.xml";

  // Registers SetupXSell and LaunchGameLink with the running window script.
  TXSellWindow();
  ~TXSellWindow() override;
  static TWindow* Create();

  // Fills the texts and links from the file, hides the rows without a game and centres the
  // buttons and logos on their described positions.
  void SetupXSell();
  // Opens the site link (0) or a game's link (1 to 7); other indices do nothing.
  void LaunchGameLink(int index);

  const std::string& GameLink(int slot) const { return mGameLinks.at(slot - 1); }
  const std::string& SiteLink() const { return mSiteLink; }

 private:
  void Hide(const std::string& name);
  void CentreOnPosition(const std::string& name);

  std::array<std::string, kGameSlots> mGameLinks;
  std::string mSiteLink;
};
