#pragma once
// The link on a test bench: recording transports in place of the serial port
// and the socket, recording windows (recording_windows.h), and received bytes
// fed in chunks.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "devlink/connection.h"
#include "devlink/device_link.h"
#include "platform/ui/toolkit.h"
#include "recording_windows.h"

namespace linktest {

/// Records every write; can be told to raise on the n-th write.
class RecordingTransport : public devlink::LinkTransport {
 public:
  void Write(std::string_view bytes) override {
    if (failOnWrite > 0 && int(writes.size()) + 1 == failOnWrite) throw platform::Error("write failed");
    writes.emplace_back(bytes);
    if (onWrite) onWrite(writes.back());
  }
  void Close() override {
    ++closes;
    open = false;
  }
  bool IsOpen() const override { return open; }

  std::vector<std::string> writes;
  std::function<void(const std::string&)> onWrite;
  int failOnWrite = 0;
  int closes = 0;
  bool open = true;
};

/// The windows as the link sees them: the pages and a record of the rest.
using Windows = testsupport::RecordingWindows;

/// Feeds `bytes` to the receive path in chunks of `chunk` bytes.
template <typename Link>
void Feed(Link& c, std::string_view bytes, size_t chunk = 0,
          devlink::LineEnds ends = devlink::LineEnds::Tcp) {
  if (chunk == 0) chunk = bytes.size() ? bytes.size() : 1;
  for (size_t i = 0; i < bytes.size(); i += chunk) c.Receive(bytes.substr(i, chunk), ends);
}

/// A link over TCP with recording transports and recording windows.
struct WiredLink {
  Windows windows;
  devlink::DeviceLink link{windows, windows.pages};
  RecordingTransport tcp;
  RecordingTransport serial;

  WiredLink() {
    link.Transport().Plug(devlink::TransportKind::Tcp, &tcp);
    link.Transport().Plug(devlink::TransportKind::Serial, &serial);
    link.StartIn(devlink::LinkState::OverTcp());
  }
  /// Lines handed over as "text\r\n" each.
  template <typename Range>
  void Lines(const Range& lines) {
    for (std::string_view l : lines) {
      std::string s(l);
      s += "\r\n";
      Feed(link, s);
    }
  }
  void Lines(std::initializer_list<std::string_view> lines) {
    Lines<std::initializer_list<std::string_view>>(lines);
  }
};

/// The connection dialog over a link, with recording windows.
struct DialogBench {
  Windows windows;
  devlink::DeviceLink link{windows, windows.pages};
  devlink::TF_Connection dialog{link, windows};
};

}  // namespace linktest
