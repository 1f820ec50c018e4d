// The connection dialog's start state and its two radio rules.
#include <gtest/gtest.h>

#include "link/connection.h"

namespace {

using platform::Colour;

constexpr Colour kLight = Colour::Sys(Colour::System::Light3D);
constexpr Colour kWindow = Colour::Sys(Colour::System::Window);

// Catches a dialog that starts with the TCP fields usable, and controls that
// cannot be found by name.
TEST(ConnectionDialog, StartState) {
  devlink::TF_Connection d;
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
  EXPECT_EQ(d.link.LinkMode, 0);
}

// Catches the radios not excluding each other across their frames and the
// fields or colours not following the choice both ways.
TEST(ConnectionDialog, RadioRulesSwitchTheFields) {
  devlink::TF_Connection d;
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
  devlink::TF_Connection d;
  d.Show();
  d.BB_Cancel.Click();
  EXPECT_FALSE(d.Visible());
}

}  // namespace
