#pragma once
// The link on a test bench: recording transports in place of the serial port
// and the socket, the stand-in peers (stand_in_peers.h) wired to it, and
// received bytes fed in chunks.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "devlink/connection.h"
#include "platform/ui/toolkit.h"
#include "stand_in_peers.h"

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

/// The main window's pages and the other windows' controls the link touches.
using Peers = testsupport::StandInPeers;

/// Feeds `bytes` to the receive path in chunks of `chunk` bytes.
inline void Feed(devlink::TF_Connection& c, std::string_view bytes, size_t chunk = 0,
                 devlink::LineEnds ends = devlink::LineEnds::Tcp) {
  if (chunk == 0) chunk = bytes.size() ? bytes.size() : 1;
  for (size_t i = 0; i < bytes.size(); i += chunk) c.Receive(bytes.substr(i, chunk), ends);
}

/// A link over TCP with a recording transport and every peer wired.
struct WiredLink {
  Peers peers;
  devlink::TF_Connection conn;
  RecordingTransport tcp;
  RecordingTransport serial;

  WiredLink() {
    conn.Wire(peers.Wiring());
    conn.SetTransport(devlink::kLinkTcp, &tcp);
    conn.SetTransport(devlink::kLinkSerial, &serial);
    conn.link.LinkMode = devlink::kLinkTcp;
  }
  /// Lines handed over as "text\r\n" each.
  template <typename Range>
  void Lines(const Range& lines) {
    for (std::string_view l : lines) {
      std::string s(l);
      s += "\r\n";
      Feed(conn, s);
    }
  }
  void Lines(std::initializer_list<std::string_view> lines) { Lines<std::initializer_list<std::string_view>>(lines); }
};

}  // namespace linktest
