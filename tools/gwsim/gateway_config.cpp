#include "gwsim/gateway_config.h"

#include <fstream>
#include <sstream>

#include "gwsim/text_words.h"

namespace gwsim {

Service* GatewayConfig::findService(std::string_view name) {
  for (auto& s : services)
    if (s.name == name) return &s;
  return nullptr;
}

const Service* GatewayConfig::findService(std::string_view name) const {
  return const_cast<GatewayConfig*>(this)->findService(name);
}

ConfigError ConfigError::unknownPreset(std::string_view name) {
  std::string list;
  for (const auto& n : presetNames()) list += (list.empty() ? "" : ", ") + n;
  return ConfigError("unknown preset \"" + std::string(name) + "\" (known: " + list + ")");
}

ConfigError ConfigError::badLine(int lineNo, std::string_view why) {
  return ConfigError("line " + std::to_string(lineNo) + ": " + std::string(why));
}

ConfigError ConfigError::unreadable(std::string_view path) {
  return ConfigError("cannot read configuration file \"" + std::string(path) + "\"");
}

namespace {

/// A value as a configuration file writes it.
template <typename E>
struct Named {
  E value;
  std::string_view word;
};

// The first entry of each table is the word written for a value outside it.
constexpr Named<WanType> kWanTypes[] = {
    {WanType::Pppoe, "pppoe"}, {WanType::Dhcp, "dhcp"}, {WanType::Static, "static"}};
constexpr Named<LanMode> kLanModes[] = {{LanMode::DhcpGroup, "dhcp-group"},
                                        {LanMode::PppoeServer, "pppoe-server"},
                                        {LanMode::NoAddress, "no-address"}};
constexpr Named<Protocol> kProtocols[] = {
    {Protocol::H323, "h323"}, {Protocol::Sip, "sip"}, {Protocol::Mgcp, "mgcp"}};
/// pstn.mode: whether the modem keeps its line up.
constexpr Named<bool> kPstnModes[] = {{true, "keep-active"}, {false, "dialer"}};

template <typename E, std::size_t N>
std::string_view wordOf(const Named<E> (&table)[N], E value) {
  for (const auto& n : table)
    if (n.value == value) return n.word;
  return table[0].word;
}

/// The value that `word` names; otherwise a bad line that lists the words
/// (e.g. "wan.type is pppoe, dhcp or static").
template <typename E, std::size_t N>
E valueOf(const Named<E> (&table)[N], const std::string& key, const std::string& word, int lineNo) {
  for (const auto& n : table)
    if (n.word == word) return n.value;
  std::string choices;
  for (std::size_t i = 0; i < N; ++i)
    choices += (i == 0 ? "" : i + 1 == N ? " or " : ", ") + std::string(table[i].word);
  throw ConfigError::badLine(lineNo, key + " is " + choices);
}

}  // namespace

std::string_view toString(WanType type) { return wordOf(kWanTypes, type); }
std::string_view toString(LanMode mode) { return wordOf(kLanModes, mode); }
std::string_view toString(Protocol protocol) { return wordOf(kProtocols, protocol); }

namespace {

VoipPeer h323Peer(bool translate) {
  VoipPeer p{1000, "voip", "T", {"session target ras"}};
  if (translate) p.lines.push_back("translate-outgoing called-number 0");
  return p;
}

VoipPeer sipPeer() {
  return {1000, "voip", "T", {"session target sip-server", "session protocol sip", "dtmf-relay rtp-2833"}};
}

GatewayConfig pppoeH323() {
  GatewayConfig c;
  c.wanType = WanType::Pppoe;
  c.pppoeId = "user01@isp";
  c.pppoePassword = "ppp-secret";
  c.dnsServer = "168.126.63.1";
  c.lanMode = LanMode::DhcpGroup;
  c.protocol = Protocol::H323;
  c.voicePorts = {{"0", "FXS"}, {"1", "FXS"}};
  c.potsPeers = {{0, "1001", "0", false}, {1, "1002", "1", false}};
  c.voipPeers = {h323Peer(true)};
  c.h323Id = "gw1001";
  c.gkPassword = "gk-secret";
  c.gatekeeper1 = "10.0.0.1";
  c.areaNumber = "02";
  c.dialNumber = "5551234";
  c.pstnUsername = "pstnuser";
  c.pstnPassword = "pstn-secret";
  return c;
}

GatewayConfig dhcpSip() {
  GatewayConfig c;
  c.wanType = WanType::Dhcp;
  c.cableModem = true;
  c.lanMode = LanMode::NoAddress;
  c.autoUpgrade = true;
  c.upgradeUrl = "http://upgrade.example.net/mvg";
  c.upgradeLogin = "upg";
  c.upgradePassword = "upg-secret";
  c.autoReboot = true;
  c.protocol = Protocol::Sip;
  c.voicePorts = {{"0", "FXS"}, {"1", "FXS"}};
  c.potsPeers = {{0, "1001", "0", false}, {1, "1002", "1", false}};
  c.voipPeers = {sipPeer()};
  c.sipUsername = "1001";
  c.sipPassword = "sip-secret";
  c.sipServer1 = "10.0.0.5";
  c.modemKeepActive = true;
  return c;
}

GatewayConfig staticMgcp() {
  GatewayConfig c;
  c.wanType = WanType::Static;
  c.staticIp = "192.168.10.20";
  c.staticNetmask = "255.255.255.0";
  c.staticRouter = "192.168.10.1";
  c.dnsServer = "192.168.10.1";
  c.lanMode = LanMode::PppoeServer;
  c.lanPppoeId = "lanuser";
  c.lanPppoePassword = "lan-secret";
  c.services[0].enabled = true;  // ftpd
  c.protocol = Protocol::Mgcp;
  c.voicePorts = {{"0", "FXS"}, {"1", "FXO"}};
  c.potsPeers = {{0, "2001", "0", true}, {1, "2002", "1", true}};
  c.callAgent1 = "10.0.0.9";
  c.dialNumber = "0179";
  return c;
}

GatewayConfig full() {
  GatewayConfig c = pppoeH323();
  c.model = "MVG-2800";
  for (auto& s : c.services) s.enabled = true;
  c.services[0].port = "2121";
  c.services[1].port = "8080";
  c.services[2].port = "2323";
  c.services[3].port = "1161";
  c.services[4].port = "6969";
  c.services[5].port = "5140";
  c.autoUpgrade = true;
  c.upgradeUrl = "http://upgrade.example.net/mvg2800";
  c.upgradeLogin = "upg";
  c.upgradePassword = "upg-secret";
  c.autoReboot = true;
  c.voicePorts = {{"0", "FXS"}, {"1", "FXS"}, {"2", "FXO"}, {"3", "E&M"}};
  c.potsPeers = {{0, "1001", "0", false}, {1, "1002", "1", false}, {2, "1003", "2", false}};
  c.gatekeeper2 = "10.0.0.2";
  c.areaNumber = "031";
  // Settings of the protocols not in use are kept by the gateway all the same.
  c.sipUsername = "2001";
  c.sipPassword = "sip-secret";
  c.sipServer1 = "10.0.1.5";
  c.sipServer2 = "10.0.1.6";
  c.callAgent1 = "10.0.2.9";
  c.callAgent2 = "10.0.2.10";
  return c;
}

/// A key whose value is stored as it stands in one member of GatewayConfig.
template <typename V>
struct Field {
  std::string_view key;
  V GatewayConfig::*member;
};

constexpr Field<std::string> kTextKeys[] = {
    {"wan.pppoe.id", &GatewayConfig::pppoeId},
    {"wan.pppoe.password", &GatewayConfig::pppoePassword},
    {"wan.ip", &GatewayConfig::staticIp},
    {"wan.netmask", &GatewayConfig::staticNetmask},
    {"wan.router", &GatewayConfig::staticRouter},
    {"wan.dns", &GatewayConfig::dnsServer},
    {"lan.pppoe.id", &GatewayConfig::lanPppoeId},
    {"lan.pppoe.password", &GatewayConfig::lanPppoePassword},
    {"upgrade.url", &GatewayConfig::upgradeUrl},
    {"upgrade.login", &GatewayConfig::upgradeLogin},
    {"upgrade.password", &GatewayConfig::upgradePassword},
    {"h323.id", &GatewayConfig::h323Id},
    {"h323.password", &GatewayConfig::gkPassword},
    {"h323.gatekeeper1", &GatewayConfig::gatekeeper1},
    {"h323.gatekeeper2", &GatewayConfig::gatekeeper2},
    {"h323.area-number", &GatewayConfig::areaNumber},
    {"sip.username", &GatewayConfig::sipUsername},
    {"sip.password", &GatewayConfig::sipPassword},
    {"sip.server1", &GatewayConfig::sipServer1},
    {"sip.server2", &GatewayConfig::sipServer2},
    {"mgcp.call-agent1", &GatewayConfig::callAgent1},
    {"mgcp.call-agent2", &GatewayConfig::callAgent2},
    {"pstn.number", &GatewayConfig::dialNumber},
    {"pstn.username", &GatewayConfig::pstnUsername},
    {"pstn.password", &GatewayConfig::pstnPassword},
};

/// Keys written as yes or no.
constexpr Field<bool> kYesNoKeys[] = {
    {"wan.cable-modem", &GatewayConfig::cableModem},
    {"upgrade.auto", &GatewayConfig::autoUpgrade},
    {"upgrade.auto-reboot", &GatewayConfig::autoReboot},
};

/// The member of `c` that `key` names in `table`, or nullptr.
template <typename V, std::size_t N>
V* fieldOf(const Field<V> (&table)[N], GatewayConfig& c, std::string_view key) {
  for (const auto& f : table)
    if (f.key == key) return &(c.*f.member);
  return nullptr;
}

/// Keys and values of a configuration file may stand among any white space.
std::string trimSpace(std::string_view s) { return trim(s, " \t\r\n"); }

bool parseBool(const std::string& v, int lineNo) {
  if (v == "yes" || v == "on" || v == "true" || v == "1") return true;
  if (v == "no" || v == "off" || v == "false" || v == "0") return false;
  throw ConfigError::badLine(lineNo, "expected yes or no, got \"" + v + "\"");
}

int parseTag(const std::string& v, int lineNo) {
  try {
    std::size_t used = 0;
    const int tag = std::stoi(v, &used);
    if (used == v.size() && tag >= 0) return tag;
  } catch (const std::exception&) {
  }
  throw ConfigError::badLine(lineNo, "expected a dial-peer tag, got \"" + v + "\"");
}

// A value that a reply prints as one word must not contain blanks.
void requireOneWord(const std::string& key, const std::string& v, int lineNo) {
  if (v.find_first_of(" \t") != std::string::npos)
    throw ConfigError::badLine(lineNo, key + " must be a single word");
}

}  // namespace

std::vector<std::string> presetNames() { return {"pppoe-h323", "dhcp-sip", "static-mgcp", "full"}; }

GatewayConfig preset(std::string_view name) {
  if (name == "pppoe-h323") return pppoeH323();
  if (name == "dhcp-sip") return dhcpSip();
  if (name == "static-mgcp") return staticMgcp();
  if (name == "full") return full();
  throw ConfigError::unknownPreset(name);
}

GatewayConfig parseConfigText(std::string_view text, const GatewayConfig& base) {
  GatewayConfig c = base;
  std::istringstream in{std::string(text)};
  int lineNo = 0;
  bool listsCleared[3] = {false, false, false};  // voice-port, pots-peer, voip-peer
  for (std::string raw; std::getline(in, raw);) {
    ++lineNo;
    // Only whole lines are comments: passwords may contain '#'.
    const std::string line = trimSpace(raw);
    if (line.empty() || line[0] == '#') continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos) throw ConfigError::badLine(lineNo, "expected key = value");
    const std::string key = trimSpace(line.substr(0, eq));
    const std::string v = trimSpace(line.substr(eq + 1));

    if (auto* field = fieldOf(kTextKeys, c, key))
      *field = v;
    else if (auto* flag = fieldOf(kYesNoKeys, c, key))
      *flag = parseBool(v, lineNo);
    else if (key == "preset") {
      c = preset(v);
      listsCleared[0] = listsCleared[1] = listsCleared[2] = false;
    } else if (key == "model") {
      requireOneWord(key, v, lineNo);
      c.model = v;
    } else if (key == "version") {
      requireOneWord(key, v, lineNo);
      c.version = v;
    } else if (key == "wan.type")
      c.wanType = valueOf(kWanTypes, key, v, lineNo);
    else if (key == "lan.mode")
      c.lanMode = valueOf(kLanModes, key, v, lineNo);
    else if (key.starts_with("service.")) {
      std::string name = key.substr(8);
      const bool isPort = name.size() > 5 && name.ends_with(".port");
      if (isPort) name.resize(name.size() - 5);
      Service* s = c.findService(name);
      if (!s) throw ConfigError::badLine(lineNo, "unknown service \"" + name + "\"");
      if (isPort)
        s->port = v;
      else
        s->enabled = parseBool(v, lineNo);
    } else if (key == "voip.protocol")
      c.protocol = valueOf(kProtocols, key, v, lineNo);
    else if (key == "voice-port") {
      // The first list entry of a file replaces the preset's list.
      if (!listsCleared[0]) c.voicePorts.clear(), listsCleared[0] = true;
      if (v.empty()) continue;  // "voice-port =" alone: no voice ports
      const auto w = words(v);
      if (w.size() != 2 || (w[1] != "FXS" && w[1] != "FXO" && w[1] != "E1" && w[1] != "E&M"))
        throw ConfigError::badLine(lineNo, "voice-port = NAME FXS|FXO|E1|E&M");
      c.voicePorts.push_back({w[0], w[1]});
    } else if (key == "pots-peer") {
      if (!listsCleared[1]) c.potsPeers.clear(), listsCleared[1] = true;
      if (v.empty()) continue;
      auto w = words(v);
      PotsPeer p;
      if (!w.empty() && w.back() == "mgcpapp") p.mgcpApp = true, w.pop_back();
      if (w.size() < 2 || w.size() > 3)
        throw ConfigError::badLine(lineNo, "pots-peer = TAG PORT [PATTERN] [mgcpapp]");
      p.tag = parseTag(w[0], lineNo);
      p.port = w[1];
      if (w.size() == 3) p.pattern = w[2];
      c.potsPeers.push_back(p);
    } else if (key == "voip-peer") {
      if (!listsCleared[2]) c.voipPeers.clear(), listsCleared[2] = true;
      if (v.empty()) continue;
      const auto w = words(v);
      if (w.size() < 1 || w.size() > 3)
        throw ConfigError::badLine(lineNo, "voip-peer = TAG [KIND] [PATTERN]");
      VoipPeer p;
      p.tag = parseTag(w[0], lineNo);
      if (w.size() > 1) p.kind = w[1];
      if (w.size() > 2) p.pattern = w[2];
      c.voipPeers.push_back(p);
    } else if (key == "voip-peer.line") {
      if (c.voipPeers.empty()) throw ConfigError::badLine(lineNo, "voip-peer.line before any voip-peer");
      c.voipPeers.back().lines.push_back(v);
    } else if (key == "pstn.mode")
      c.modemKeepActive = valueOf(kPstnModes, key, v, lineNo);
    else if (key == "pstn.dial-prefix") {
      if (v.size() != 4)
        throw ConfigError::badLine(lineNo, "pstn.dial-prefix has four characters, e.g. ATDT");
      c.dialPrefix = v;
    } else
      throw ConfigError::badLine(lineNo, "unknown key \"" + key + "\"");
  }
  return c;
}

GatewayConfig loadConfigFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ConfigError::unreadable(path);
  std::ostringstream text;
  text << in.rdbuf();
  return parseConfigText(text.str());
}

std::string formatConfigText(const GatewayConfig& c) {
  std::ostringstream o;
  auto kv = [&](std::string_view k, std::string_view v) { o << k << " = " << v << '\n'; };
  auto yn = [](bool b) { return b ? "yes" : "no"; };
  kv("model", c.model);
  kv("version", c.version);
  kv("wan.type", toString(c.wanType));
  kv("lan.mode", toString(c.lanMode));
  kv("voip.protocol", toString(c.protocol));
  kv("pstn.mode", wordOf(kPstnModes, c.modemKeepActive));
  kv("pstn.dial-prefix", c.dialPrefix);
  for (const auto& f : kTextKeys) kv(f.key, c.*f.member);
  for (const auto& f : kYesNoKeys) kv(f.key, yn(c.*f.member));
  for (const auto& s : c.services) {
    kv("service." + s.name, yn(s.enabled));
    kv("service." + s.name + ".port", s.port);
  }
  if (c.voicePorts.empty()) kv("voice-port", "");
  if (c.potsPeers.empty()) kv("pots-peer", "");
  if (c.voipPeers.empty()) kv("voip-peer", "");
  for (const auto& p : c.voicePorts) kv("voice-port", p.name + " " + p.type);
  for (const auto& p : c.potsPeers)
    kv("pots-peer", std::to_string(p.tag) + " " + p.port + (p.pattern.empty() ? "" : " " + p.pattern) +
                        (p.mgcpApp ? " mgcpapp" : ""));
  for (const auto& p : c.voipPeers) {
    kv("voip-peer", std::to_string(p.tag) + " " + p.kind + (p.pattern.empty() ? "" : " " + p.pattern));
    for (const auto& l : p.lines) kv("voip-peer.line", l);
  }
  return o.str();
}

}  // namespace gwsim
