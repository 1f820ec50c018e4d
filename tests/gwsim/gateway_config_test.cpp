#include "gwsim/gateway_config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

#include <unistd.h>

namespace gwsim {
namespace {

// Catches presets that lose settings when written to a file and read back.
TEST(GatewayConfigTest, TextFormatRoundTripsEveryPreset) {
  for (const auto& name : presetNames()) {
    const GatewayConfig c = preset(name);
    EXPECT_EQ(parseConfigText(formatConfigText(c), GatewayConfig{}), c) << name;
    // Also onto a base with longer lists: the file's lists replace the base's.
    EXPECT_EQ(parseConfigText(formatConfigText(c), preset("full")), c) << name;
  }
  GatewayConfig empty;
  empty.voicePorts.clear();
  EXPECT_EQ(parseConfigText(formatConfigText(empty), preset("full")), empty);
}

// Catches presets that do not cover what tests rely on.
TEST(GatewayConfigTest, PresetsDifferInTheirModes) {
  EXPECT_EQ(preset("pppoe-h323").wanType, WanType::Pppoe);
  EXPECT_EQ(preset("pppoe-h323").protocol, Protocol::H323);
  EXPECT_EQ(preset("dhcp-sip").wanType, WanType::Dhcp);
  EXPECT_EQ(preset("dhcp-sip").protocol, Protocol::Sip);
  EXPECT_EQ(preset("static-mgcp").wanType, WanType::Static);
  EXPECT_EQ(preset("static-mgcp").protocol, Protocol::Mgcp);
  const GatewayConfig full = preset("full");
  EXPECT_GE(full.voicePorts.size(), 3u);
  std::set<std::string> types;
  for (const auto& p : full.voicePorts) types.insert(p.type);
  EXPECT_GE(types.size(), 2u);
  EXPECT_FALSE(full.gatekeeper1.empty());
  EXPECT_FALSE(full.gatekeeper2.empty());
  EXPECT_THROW(preset("nope"), ConfigError);
}

// Catches a loader that accepts what the replies cannot carry, or that
// reports errors without saying where.
TEST(GatewayConfigTest, ParsesKeysAndReportsBadLines) {
  const GatewayConfig c = parseConfigText(
      "# a comment\n"
      "preset = static-mgcp\n"
      "model = RN420\n"
      "sip.password = a#b = c\n"
      "service.tftpd = yes\n"
      "service.tftpd.port = 6970\n"
      "voice-port = 5 E1\n"
      "pots-peer = 0 5 3001\n");
  EXPECT_EQ(c.wanType, WanType::Static);
  EXPECT_EQ(c.model, "RN420");
  EXPECT_EQ(c.sipPassword, "a#b = c");
  EXPECT_TRUE(c.findService("tftpd")->enabled);
  EXPECT_EQ(c.findService("tftpd")->port, "6970");
  EXPECT_EQ(c.voicePorts, (std::vector<VoicePort>{{"5", "E1"}}));
  EXPECT_EQ(c.potsPeers, (std::vector<PotsPeer>{{0, "3001", "5", false}}));

  const char* bad[] = {"model = two words", "wan.type = isdn",      "no equals sign",
                       "unknown.key = 1",   "voice-port = 1 XYZ",   "service.ftpd = maybe",
                       "pots-peer = x 1 2", "pstn.dial-prefix = AT"};
  for (const char* text : bad) {
    try {
      parseConfigText(std::string("\n") + text + "\n");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ConfigError& e) {
      EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(loadConfigFile("/nonexistent/gwsim.conf"), ConfigError);
}

// Catches a file loader that differs from the text parser.
TEST(GatewayConfigTest, LoadsAFile) {
  char path[] = "/tmp/gwsim_config_XXXXXX";
  const int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  ::close(fd);
  std::ofstream(path) << "preset = dhcp-sip\nsip.username = 4242\n";
  const GatewayConfig c = loadConfigFile(path);
  std::remove(path);
  EXPECT_EQ(c.protocol, Protocol::Sip);
  EXPECT_EQ(c.sipUsername, "4242");
}

}  // namespace
}  // namespace gwsim
