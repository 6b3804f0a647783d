// Opening web addresses: only http and https leave the program, embedded games use the
// page's browser program, and a container shown full screen gets out of the way first.
#include <gtest/gtest.h>

#include "frame/application.h"
#include "frame/command_line.h"
#include "frame/web_address.h"
#include "platform/headless/headless_platform.h"

namespace {

class OpenUrl : public ::testing::Test {
 protected:
  TApplication& Make(bool embedded, const std::string& hostProgram, bool container = false) {
    auto data = std::make_unique<TApplicationData>();
    data->embedded = embedded;
    data->containerMode = container;
    data->hostProgram = hostProgram;
    if (embedded) {
      platform.AddHostWindow(0x55, 800, 600);
      data->mExternalWindowParent = 0x55;
    }
    app = std::make_unique<TApplication>(std::move(data), platform);
    return *app;
  }

  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
};

}  // namespace

TEST(WebAddress, OnlyHttpAndHttpsAddressesCount) {
  EXPECT_TRUE(IsWebAddress("http://example.org"));
  EXPECT_TRUE(IsWebAddress("HTTPS://example.org/a b?c=$(id);d"));
  EXPECT_FALSE(IsWebAddress("http://"));
  EXPECT_FALSE(IsWebAddress("file:///etc/passwd"));
  EXPECT_FALSE(IsWebAddress("javascript:alert(1)"));
  EXPECT_FALSE(IsWebAddress("--new-window http://x"));
  EXPECT_FALSE(IsWebAddress(" http://x"));
  EXPECT_FALSE(IsWebAddress("http://x\nfile:///y"));
  EXPECT_FALSE(IsWebAddress(""));
}

TEST(WebAddress, TheHostProgramEndsAtTheFirstBlank) {
  EXPECT_EQ(TCommandLine("-wnd=12 -host=/usr/bin/page-host -msn").HostProgram(),
            "/usr/bin/page-host");
  EXPECT_EQ(TCommandLine("-wnd=12").HostProgram(), "");
  EXPECT_EQ(TCommandLine("-host=").HostProgram(), "");
  EXPECT_EQ(TCommandLine("-host=" + std::string(400, 'p')).HostProgram().size(), 259u);
}

TEST_F(OpenUrl, AStandAloneGameUsesTheDesktopsHandler) {
  TApplication& a = Make(false, "/ignored/when/not/embedded");
  EXPECT_TRUE(a.OpenURL("https://example.org/terms"));
  ASSERT_EQ(platform.Opened().size(), 1u);
  EXPECT_EQ(platform.Opened()[0].target, "https://example.org/terms");
  EXPECT_EQ(platform.Opened()[0].program, "");
}

TEST_F(OpenUrl, AnEmbeddedGameUsesThePagesBrowserProgram) {
  TApplication& a = Make(true, "/opt/browser/page-host");
  EXPECT_TRUE(a.OpenURL("http://example.org/"));
  ASSERT_EQ(platform.Opened().size(), 1u);
  EXPECT_EQ(platform.Opened()[0].program, "/opt/browser/page-host");
  EXPECT_EQ(platform.Minimized(), 0u);  // not in container mode
}

TEST_F(OpenUrl, OtherAddressesAreRefusedAndNothingStarts) {
  TApplication& a = Make(true, "");
  EXPECT_FALSE(a.OpenURL("file:///etc/passwd"));
  EXPECT_FALSE(a.OpenURL("-e /bin/sh"));
  EXPECT_FALSE(a.OpenURL(""));
  EXPECT_TRUE(platform.Opened().empty());
}

TEST_F(OpenUrl, AFullScreenContainerIsMinimisedBeforeTheAddressOpens) {
  TApplication& a = Make(true, "", true);
  a.Data().fullscreenRequested = true;
  EXPECT_TRUE(a.OpenURL("https://example.org/"));
  EXPECT_EQ(platform.Minimized(), 0x55u);
  EXPECT_EQ(platform.Opened().size(), 1u);
}
