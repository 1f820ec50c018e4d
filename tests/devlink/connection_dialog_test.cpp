// The connection dialog's start state and its two radio rules.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "comm/com_enum.h"
#include "link_fixture.h"
#include "pty_pair.h"

namespace {

using platform::Colour;

constexpr Colour kLight = Colour::Sys(Colour::System::Light3D);
constexpr Colour kWindow = Colour::Sys(Colour::System::Window);

// Catches a dialog that starts with the TCP fields usable, and controls that
// cannot be found by name.
TEST(ConnectionDialog, StartState) {
  linktest::DialogBench bench;
  devlink::TF_Connection& d = bench.dialog;
  EXPECT_FALSE(d.Visible());
  for (const char* name : {"RB_Serial", "L_port", "CB_Serial", "RB_TCP", "L_Host", "ED_host", "L_TCP_port",
                           "ED_TCP", "BB_Connect", "BB_Cancel"})
    EXPECT_NE(d.Find(name), nullptr) << name;
  EXPECT_TRUE(d.RB_Serial.Checked());
  EXPECT_FALSE(d.RB_TCP.Checked());
  EXPECT_EQ(d.ED_TCP.Text(), "514");
  EXPECT_EQ(d.ED_host.Text(), "");
  EXPECT_FALSE(d.ED_host.Enabled() || d.ED_TCP.Enabled() || d.L_Host.Enabled() || d.L_TCP_port.Enabled());
  EXPECT_EQ(d.ED_host.Background(), kLight);
  EXPECT_TRUE(d.L_port.Enabled() && d.CB_Serial.Enabled());
  EXPECT_EQ(bench.link.Record().LinkMode(), 0);
}

// Catches the radios not excluding each other across their frames and the
// fields or colours not following the choice both ways.
TEST(ConnectionDialog, RadioRulesSwitchTheFields) {
  linktest::DialogBench bench;
  devlink::TF_Connection& d = bench.dialog;
  d.RB_TCP.Click();
  EXPECT_FALSE(d.RB_Serial.Checked());
  EXPECT_TRUE(d.ED_host.Enabled() && d.ED_TCP.Enabled() && d.L_Host.Enabled() && d.L_TCP_port.Enabled());
  EXPECT_EQ(d.ED_host.Background(), kWindow);
  EXPECT_EQ(d.ED_TCP.Background(), kWindow);
  EXPECT_FALSE(d.L_port.Enabled() || d.CB_Serial.Enabled());

  d.RB_Serial.Click();
  EXPECT_FALSE(d.RB_TCP.Checked());
  EXPECT_FALSE(d.ED_host.Enabled() || d.ED_TCP.Enabled() || d.L_Host.Enabled() || d.L_TCP_port.Enabled());
  EXPECT_EQ(d.ED_host.Background(), kLight);
  EXPECT_EQ(d.ED_TCP.Background(), kLight);
  EXPECT_TRUE(d.L_port.Enabled() && d.CB_Serial.Enabled());
}

// Catches Cancel touching the transports instead of only closing.
TEST(ConnectionDialog, CancelCloses) {
  linktest::DialogBench bench;
  devlink::TF_Connection& d = bench.dialog;
  d.Show();
  d.BB_Cancel.Click();
  EXPECT_FALSE(d.Visible());
}

// Catches a port list read only at program start: an adapter plugged in
// later (a new link to a pty) must be listed when the dialog shows again,
// with the port chosen before still chosen, and one pulled out must go.
TEST(ConnectionDialog, ShowingAgainReadsThePortListAgain) {
  namespace fs = std::filesystem;
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const fs::path byId = fs::path(tmp.path().toStdString()) / "by-id";
  fs::create_directories(byId);
  testsupport::PtyPair first, later;
  const std::string firstLink = (byId / "usb-b-first").string(), laterLink = (byId / "usb-a-later").string();
  fs::create_symlink(first.path, firstLink);

  linktest::DialogBench bench;
  devlink::TF_Connection& d = bench.dialog;
  d.CB_Serial.enumeratePorts = [&] { return comm::EnumComPorts((byId / "no-sys").string(), byId.string()); };
  d.Show();
  ASSERT_EQ(d.CB_Serial.Items(), std::vector<std::string>{firstLink});
  d.CB_Serial.UserChoose(0);
  d.BB_Cancel.Click();

  fs::create_symlink(later.path, laterLink);
  d.Show();
  EXPECT_EQ(d.CB_Serial.Items(), (std::vector<std::string>{laterLink, firstLink}));
  EXPECT_EQ(d.CB_Serial.Text(), firstLink);
  d.BB_Cancel.Click();

  fs::remove(firstLink);
  d.Show();
  EXPECT_EQ(d.CB_Serial.Items(), std::vector<std::string>{laterLink});
  EXPECT_EQ(d.CB_Serial.Text(), "");
  EXPECT_EQ(bench.link.Transport().SerialPortName(), firstLink);  // only the user's choice changes the port
}

}  // namespace
