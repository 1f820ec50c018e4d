#include "cli/target.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <charconv>

namespace cli {

std::optional<Target> ParseTarget(std::string_view text) {
  constexpr std::string_view kTcp = "tcp:", kSerial = "serial:";
  Target t;
  if (text.starts_with(kSerial)) {
    t.kind = Target::Kind::Serial;
    t.device = std::string(text.substr(kSerial.size()));
    if (t.device.empty()) return std::nullopt;
    return t;
  }
  if (!text.starts_with(kTcp)) return std::nullopt;
  std::string_view rest = text.substr(kTcp.size());
  if (const size_t colon = rest.rfind(':'); colon != std::string_view::npos) {
    const std::string_view port = rest.substr(colon + 1);
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), t.port);
    if (port.empty() || ec != std::errc() || end != port.data() + port.size() || t.port < 1 || t.port > 65535)
      return std::nullopt;
    rest = rest.substr(0, colon);
  }
  if (rest.empty()) return std::nullopt;
  t.host = std::string(rest);
  return t;
}

std::optional<std::string> DottedAddress(const std::string& host) {
  in_addr a{};
  if (inet_pton(AF_INET, host.c_str(), &a) == 1) return host;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
  freeaddrinfo(found);
  return std::string(text);
}

}  // namespace cli
