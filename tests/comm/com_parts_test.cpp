// The serial component's parts that need no device: error texts, settings,
// port enumeration and the port list.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>

#include "comm/com_combo_box.h"
#include "comm/com_enum.h"
#include "comm/com_error.h"
#include "comm/com_port.h"
#include "platform/ui/message_box.h"

namespace comm {
namespace {

// Catches a wrong text, a missing or extra code suffix: users quote these.
TEST(EComPortTest, MessagesCarryTheCodeExceptForErrors4And14) {
  struct Row {
    int number, code;
    const char* message;
  };
  const Row rows[] = {
      {1, 2, "Unable to open com port (system error 2)"},
      {2, 5, "WriteFile function failed (system error 5)"},
      {4, -1, "Invalid Async parameter"},
      {9, 0, "SetupComm function failed (system error 0)"},
      {11, -1, "GetCommModemStatus function failed (system error -1)"},
      {14, -1, "Cannot set property while connected"},
      {23, 13, "Registry error (system error 13)"},
  };
  for (const Row& r : rows) {
    const EComPort e(r.number, r.code);
    EXPECT_STREQ(e.what(), r.message) << r.number;
    EXPECT_EQ(e.Number(), r.number);
    EXPECT_EQ(e.Code(), r.code);
  }
}

// Catches advice missing for the two causes users can fix, or shown for
// others; the message itself must stay as it is.
TEST(EComPortTest, PermissionAndBusyAddOneLineOfAdviceBelowTheMessage) {
  EXPECT_NE(EComPort(1, EACCES).Advice().find("dialout"), std::string::npos);
  EXPECT_NE(EComPort(1, EBUSY).Advice().find("Another program"), std::string::npos);
  EXPECT_TRUE(EComPort(1, ENOENT).Advice().empty());
  EXPECT_TRUE(EComPort(2, EACCES).Advice().empty());

  platform::ScriptedMessageBoxes boxes;
  platform::ShowError(EComPort(1, EACCES));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "Unable to open com port (system error 13)\n" + EComPort(1, EACCES).Advice());
}

// Catches odd buffer sizes kept as given (sizes are always even).
TEST(ComSettingsTest, OddBufferSizesAreStoredOneLower) {
  TComPort port;
  port.Buffer().SetInputSize(5119);
  port.Buffer().SetOutputSize(5118);
  EXPECT_EQ(port.Buffer().InputSize(), 5118);
  EXPECT_EQ(port.Buffer().OutputSize(), 5118);
  port.Buffer().SetOutputSize(1);
  EXPECT_EQ(port.Buffer().OutputSize(), 0);
}

// Catches defaults that differ from the gateway's line: 9600 8N1, no flow
// control, DTR and RTS off, the read-at-once and write-bound time-outs.
TEST(ComSettingsTest, DefaultsAreTheGatewayLine) {
  TComPort port;
  EXPECT_EQ(port.BaudRate(), TBaudRate::br9600);
  EXPECT_EQ(port.DataBits(), TDataBits::dbEight);
  EXPECT_EQ(port.StopBits(), TStopBits::sbOneStopBit);
  EXPECT_EQ(port.Parity().Bits(), TParityBits::prNone);
  EXPECT_FALSE(port.FlowControl().OutCTSFlow() || port.FlowControl().XonXoffIn() ||
               port.FlowControl().XonXoffOut());
  EXPECT_EQ(port.FlowControl().ControlDTR(), TDTRFlowControl::dtrDisable);
  EXPECT_EQ(port.FlowControl().ControlRTS(), TRTSFlowControl::rtsDisable);
  EXPECT_EQ(port.Timeouts().ReadInterval(), -1);
  EXPECT_EQ(port.Timeouts().WriteTotalMultiplier(), 100);
  EXPECT_EQ(port.Timeouts().WriteTotalConstant(), 1000);
  EXPECT_EQ(port.Events(), 0x05FFu);
  EXPECT_FALSE(port.Connected());
}

// Catches virtual consoles listed as ports, by-id links missed, a
// case-sensitive sort, or an error for a machine with no ports.
TEST(EnumComPortsTest, ListsTtysWithADeviceAndByIdLinksSortedWithoutCase) {
  namespace fs = std::filesystem;
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const fs::path dir = tmp.path().toStdString();
  const fs::path sys = dir / "tty", byId = dir / "by-id";
  fs::create_directories(byId);
  for (const char* name : {"ttyS10", "ttyS2", "ttyUSB0", "TTYACM0", "tty1", "console"})
    fs::create_directories(sys / name);
  fs::create_directories(dir / "dev");
  for (const char* name : {"ttyS10", "ttyS2", "ttyUSB0", "TTYACM0"})
    fs::create_directory_symlink(dir / "dev", sys / name / "device");
  fs::create_symlink("../../ttyUSB0", byId / "usb-FTDI_FT232R-if00-port0");

  const auto names = EnumComPorts(sys.string(), byId.string());
  const std::vector<std::string> expected = {(byId / "usb-FTDI_FT232R-if00-port0").string(), "TTYACM0",
                                             "ttyS10", "ttyS2", "ttyUSB0"};
  EXPECT_EQ(names, expected);

  EXPECT_TRUE(EnumComPorts((dir / "none").string(), (dir / "none2").string()).empty());
}

// Catches a list that chooses the wrong entry for its port, or keeps a
// dangling binding after the port is gone.
TEST(TComComboBoxTest, ChoosesTheBoundPortsEntry) {
  TComComboBox combo(nullptr, "CB_Serial");
  combo.SetPortNames({"ttyS0", "ttyS1", "ttyUSB0"});
  EXPECT_EQ(combo.Text(), "ttyS0");  // none bound: the first

  auto port = std::make_unique<TComPort>();
  port->SetPort("TTYUSB0");
  combo.SetComPort(port.get());
  EXPECT_EQ(combo.Text(), "ttyUSB0");  // compared without case

  port->SetPort("ttyACM3");
  combo.SetPortNames({"ttyS0", "ttyS1"});
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");

  combo.SetText("TTYS1");
  EXPECT_EQ(combo.Text(), "ttyS1");
  combo.SetText("nothing");
  EXPECT_EQ(combo.Text(), "ttyS1");

  port.reset();
  EXPECT_EQ(combo.ComPort(), nullptr);
  EXPECT_EQ(combo.Text(), "ttyS0");
}

}  // namespace
}  // namespace comm
