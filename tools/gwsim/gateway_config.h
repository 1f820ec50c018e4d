#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gwsim {

enum class WanType { Pppoe, Dhcp, Static };
enum class LanMode { DhcpGroup, PppoeServer, NoAddress };
enum class Protocol { H323, Sip, Mgcp };

/// One of the six daemons the console can switch on and off.
struct Service {
  std::string name;  ///< daemon word: "ftpd", "httpd", "telnetd", "snmpd", "tftpd", "morvel"
  bool enabled = false;
  std::string port;  ///< empty: no explicit port configured
  bool operator==(const Service&) const = default;
};

/// A telephone interface of the hardware. Its name and type are fixed by the
/// hardware: a saved script never adds, removes or retypes a voice port.
struct VoicePort {
  std::string name;  ///< e.g. "0"
  std::string type;  ///< "FXS", "FXO", "E1" or "E&M"
  bool operator==(const VoicePort&) const = default;
};

/// "dial-peer voice TAG pots": the phone number (destination pattern) of a port.
struct PotsPeer {
  int tag = 0;
  std::string pattern;  ///< empty: no destination-pattern line
  std::string port;
  bool mgcpApp = false;  ///< "application mgcpapp"
  bool operator==(const PotsPeer&) const = default;
};

/// Any other dial-peer, e.g. "dial-peer voice 1000 voip" with pattern "T".
struct VoipPeer {
  int tag = 1000;
  std::string kind = "voip";
  std::string pattern;
  std::vector<std::string> lines;  ///< further lines of the block, e.g. "session target ras"
  bool operator==(const VoipPeer&) const = default;
};

/// The simulated gateway's whole configuration as plain data.
struct GatewayConfig {
  std::string model = "MVG-2400";
  std::string version = "2.35.07";

  // WAN (ether0.0)
  WanType wanType = WanType::Pppoe;
  std::string pppoeId, pppoePassword;
  std::string staticIp, staticNetmask, staticRouter;
  std::string dnsServer;
  bool cableModem = false;  ///< "qos-control 200 100"

  // LAN (ether1.0)
  LanMode lanMode = LanMode::DhcpGroup;
  std::string lanPppoeId, lanPppoePassword;  ///< credentials of the LAN PPPoE server block

  std::array<Service, 6> services{{{"ftpd", false, "21"},
                                   {"httpd", true, "80"},
                                   {"telnetd", true, "23"},
                                   {"snmpd", false, "161"},
                                   {"tftpd", false, "69"},
                                   {"morvel", true, "514"}}};

  // Automatic upgrade
  bool autoUpgrade = false;  ///< "auto-upgrade  action auto"
  std::string upgradeUrl;    ///< empty: no url line
  std::string upgradeLogin, upgradePassword;
  bool autoReboot = false;

  // VoIP
  Protocol protocol = Protocol::H323;
  std::vector<VoicePort> voicePorts;
  std::vector<PotsPeer> potsPeers;
  std::vector<VoipPeer> voipPeers;
  std::string h323Id, gkPassword, gatekeeper1, gatekeeper2;
  std::string areaNumber;  ///< translation rule 0, e.g. "02"
  std::string sipUsername, sipPassword, sipServer1, sipServer2;
  std::string callAgent1, callAgent2;

  // PSTN modem
  bool modemKeepActive = false;
  std::string dialPrefix = "ATDT";  ///< four characters, followed directly by the number
  std::string dialNumber;
  std::string pstnUsername, pstnPassword;

  Service* findService(std::string_view name);
  const Service* findService(std::string_view name) const;

  bool operator==(const GatewayConfig&) const = default;
};

/// A configuration file or preset that cannot be used.
class ConfigError : public std::runtime_error {
 public:
  static ConfigError unknownPreset(std::string_view name);
  static ConfigError badLine(int lineNo, std::string_view why);
  static ConfigError unreadable(std::string_view path);

 private:
  explicit ConfigError(const std::string& what) : std::runtime_error(what) {}
};

/// Names accepted by preset(): "pppoe-h323" (the default), "dhcp-sip", "static-mgcp", "full".
std::vector<std::string> presetNames();
/// Throws ConfigError::unknownPreset for a name not in presetNames().
GatewayConfig preset(std::string_view name);

/// Parses "key = value" lines (a line starting with # is a comment). A line "preset = NAME"
/// starts over from that preset; every other key changes one setting of the
/// configuration built so far, starting from `base`. Throws ConfigError.
GatewayConfig parseConfigText(std::string_view text, const GatewayConfig& base = preset("pppoe-h323"));
/// Reads a file in the format of parseConfigText. Throws ConfigError.
GatewayConfig loadConfigFile(const std::string& path);
/// Writes `config` in the format that parseConfigText reads back to an equal value.
std::string formatConfigText(const GatewayConfig& config);

std::string_view toString(WanType type);
std::string_view toString(LanMode mode);
std::string_view toString(Protocol protocol);

}  // namespace gwsim
