#pragma once
// A fresh program per test, run in its own temporary working directory (so
// the language file lands there), with scripted message boxes and recording
// transports in place of the serial port and the TCP connection.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "temp_working_dir.h"
#include "ui/program.h"

namespace ui::test {

/// Records what the link writes; closing runs `onClose` as a close event would.
class RecordingTransport : public devlink::LinkTransport {
 public:
  void Write(std::string_view bytes) override { written.emplace_back(bytes); }
  void Close() override {
    if (!open) return;
    open = false;
    ++closes;
    if (onClose) onClose();
  }
  bool IsOpen() const override { return open; }

  std::vector<std::string> written;
  bool open = true;
  int closes = 0;
  std::function<void()> onClose;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.IsValid());
    BeforeStart();
    program_ = std::make_unique<Program>([this] { ++programEnds; });
    link().Transport().Plug(devlink::TransportKind::Serial, &serial);
    link().Transport().Plug(devlink::TransportKind::Tcp, &tcp);
    WireCloseEvents();
    program_->Start();
  }

  void TearDown() override { program_.reset(); }

  /// Runs in the temporary directory before the program is created.
  virtual void BeforeStart() {}

  /// Closing a transport runs the link's own close event, as the serial port
  /// and the socket do.
  void WireCloseEvents() {
    serial.onClose = [this] { link().Transport().ReportClosed(devlink::TransportKind::Serial); };
    tcp.onClose = [this] { link().Transport().ReportClosed(devlink::TransportKind::Tcp); };
  }

  /// Puts the link on one transport as a connect would, through the link's
  /// open or connect event.
  void ConnectOver(devlink::TransportKind kind) {
    link().StartIn(devlink::LinkState().Over(kind));
    link().Transport().ReportOpened(kind);
  }

  std::string Dir() const { return dir_.Path(); }

  TF_morvel_config_main& main() { return program_->Main(); }
  config::ConfigPages& pages() { return program_->Main().pages; }
  devlink::TF_Connection& connection() { return program_->Connection(); }
  devlink::DeviceLink& link() { return program_->Link(); }
  TF_Debug& debug() { return program_->Debug(); }
  TF_Login& login() { return program_->Login(); }

  platform::ScriptedMessageBoxes boxes;
  RecordingTransport serial;
  RecordingTransport tcp;
  int programEnds = 0;
  std::unique_ptr<Program> program_;

 private:
  testsupport::TempWorkingDir dir_;
};

}  // namespace ui::test
