#pragma once
// Where the gateway is: "tcp:HOST[:PORT]" or "serial:DEVICE".
#include <optional>
#include <string>
#include <string_view>

namespace cli {

struct Target {
  enum class Kind { Tcp, Serial };
  Kind kind = Kind::Tcp;
  std::string host;    ///< Tcp: a name or a dotted address
  int port = 514;      ///< Tcp: 1 to 65535
  std::string device;  ///< Serial: a port name of the machine's list, or a path
};

/// The target `text` names, or nothing when it is none.
std::optional<Target> ParseTarget(std::string_view text);

/// `host` as the dotted IPv4 address the link connects to: itself when it is
/// one, else its first IPv4 address; nothing when it has none.
std::optional<std::string> DottedAddress(const std::string& host);

}  // namespace cli
