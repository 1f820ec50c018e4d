#include "gwsim/script_applier.h"

#include <optional>
#include <string_view>

#include "gwsim/text_words.h"

namespace gwsim {

namespace {

/// The text after a keyword prefix, without surrounding blanks.
std::string rest(std::string_view line, std::string_view prefix) { return trim(line.substr(prefix.size())); }

/// Splits "ID password PW" as written after "... login " or "... sent-username ":
/// either side may be empty, so the split is at the literal " password ".
void splitCredentials(std::string_view tail, std::string& id, std::string& password) {
  // A blank is added so that an empty password before the end of the line
  // (trailing blanks trimmed) still ends in " password ".
  const std::string t = std::string(tail) + " ";
  const auto at = t.find(" password ");
  if (at == std::string::npos) {
    id = trim(t);
    password.clear();
    return;
  }
  id = trim(std::string_view(t).substr(0, at));
  password = trim(std::string_view(t).substr(at + 10));
}

enum class Block { None, Wan, Lan, PotsPeer, OtherPeer };

}  // namespace

void ScriptApplier::apply(const std::vector<std::string>& lines, GatewayConfig& config) {
  GatewayConfig next = config;
  bool whole = false;
  for (const auto& l : lines)
    if (trim(l) == "interface ether0.0") whole = true;

  // What the script says, collected first and settled afterwards.
  std::optional<WanType> wanType;
  bool sawQos = false, sawRoute = false, sawDns = false;
  bool lanDhcpGroup = false, lanPppoe = false, lanNoAddress = false, sawLan = false;
  std::optional<Protocol> protocol;
  struct H323 {
    std::string id, password, gk1, gk2, area;
    bool any = false;
  } h323;
  struct Sip {
    std::string user, password, server1, server2;
    int servers = 0;
    bool any = false;
  } sip;
  struct Mgcp {
    std::string agent1, agent2;
    int agents = 0;
    bool any = false;
  } mgcp;
  std::vector<PotsPeer> pots;
  std::vector<VoipPeer> others;
  bool sawPeers = false;

  if (whole) {
    next.autoUpgrade = false;
    next.autoReboot = false;
    next.upgradeUrl.clear();
    next.upgradeLogin.clear();
    next.upgradePassword.clear();
    for (auto& s : next.services) s.port.clear();
  }

  Block block = Block::None;
  for (const auto& raw : lines) {
    const std::string line = trim(raw);
    const auto w = words(line);
    if (w.empty()) continue;
    if (w[0][0] == '!') {  // separator or comment: ends interface and dial-peer blocks
      block = Block::None;
      continue;
    }

    if (line == "interface ether0.0") {
      block = Block::Wan;
      continue;
    }
    if (line == "interface ether1.0") {
      block = Block::Lan;
      sawLan = true;
      continue;
    }
    if (w[0] == "voice-port" && w.size() >= 2) {
      // Ports are hardware: a voice-port block changes nothing, so its lines
      // are read as lines that stand on their own.
      block = Block::None;
      continue;
    }
    if (w[0] == "dial-peer" && w.size() >= 4 && w[1] == "voice") {
      sawPeers = true;
      int tag = 0;
      try {
        tag = std::stoi(w[2]);
      } catch (const std::exception&) {
        block = Block::None;
        continue;
      }
      if (w[3] == "pots") {
        pots.push_back({tag, "", "", false});
        block = Block::PotsPeer;
      } else {
        others.push_back({tag, w[3], "", {}});
        block = Block::OtherPeer;
      }
      continue;
    }

    switch (block) {
      case Block::Wan:
        if (line == "encapsulation pppoe")
          wanType = WanType::Pppoe;
        else if (line == "ip address dhcp")
          wanType = WanType::Dhcp;
        else if (w[0] == "ip" && w.size() >= 4 && w[1] == "address") {
          wanType = WanType::Static;
          next.staticIp = w[2];
          next.staticNetmask = w[3];
        } else if (w[0] == "qos-control")
          sawQos = true;
        else if (line.starts_with("ppp pap sent-username "))
          splitCredentials(std::string_view(line).substr(22), next.pppoeId, next.pppoePassword);
        continue;
      case Block::Lan:
        if (w[0] == "ip" && w.size() >= 2 && w[1] == "dhcp-group")
          lanDhcpGroup = true;
        else if (line == "encapsulation pppoe" || line == "ppp role server")
          lanPppoe = true;
        else if (line == "no ip address")
          lanNoAddress = true;
        else if (line.starts_with("ppp pap sent-username ")) {
          // The tool sends its WAN PPPoE fields here; when the WAN does not use
          // PPPoE they are empty, and the server's own credentials stay.
          std::string id, password;
          splitCredentials(std::string_view(line).substr(22), id, password);
          if (!id.empty() || !password.empty()) {
            next.lanPppoeId = id;
            next.lanPppoePassword = password;
          }
        }
        continue;
      case Block::PotsPeer:
        if (w[0] == "destination-pattern")
          pots.back().pattern = rest(line, "destination-pattern");
        else if (line == "application mgcpapp")
          pots.back().mgcpApp = true;
        else if (w[0] == "port")
          pots.back().port = rest(line, "port");
        continue;
      case Block::OtherPeer:
        if (w[0] == "destination-pattern")
          others.back().pattern = rest(line, "destination-pattern");
        else
          others.back().lines.push_back(line);
        if (line == "session target ras") protocol = Protocol::H323;
        continue;
      case Block::None: break;
    }

    // Lines that stand on their own.
    if (line.starts_with("auto-upgrade ")) {
      const std::string_view tail = std::string_view(raw).substr(raw.find("auto-upgrade ") + 13);
      const std::string t = trim(tail);
      if (t.starts_with("authentication login")) {
        // "auto-upgrade  authentication login ID password PW", ID or PW possibly empty
        const auto at = raw.find("authentication login");
        std::string_view after = std::string_view(raw).substr(at + 20);
        if (!after.empty() && after[0] == ' ') after.remove_prefix(1);
        splitCredentials(after, next.upgradeLogin, next.upgradePassword);
      } else if (t == "auto-reboot") {
        next.autoReboot = true;
      } else if (t.starts_with("url")) {
        next.upgradeUrl = trim(t.substr(3));
      } else if (t.starts_with("action")) {
        next.autoUpgrade = t == "action auto";
      }
    } else if (w[0] == "dnshost" && w.size() >= 3 && w[1] == "nameserver") {
      next.dnsServer = w[2];
      sawDns = true;
    } else if (w[0] == "route" && w.size() >= 4) {
      next.staticRouter = w[3];
      sawRoute = true;
    } else if (w[0] == "service-port" && w.size() >= 3) {
      if (Service* s = next.findService(w[1])) s->port = w[2];
    } else if (w[0] == "service" && w.size() >= 2) {
      if (Service* s = next.findService(w[1])) s->enabled = true;
    } else if (w[0] == "no" && w.size() >= 3 && w[1] == "service") {
      if (Service* s = next.findService(w[2])) s->enabled = false;
    } else if (w[0] == "h323-id") {
      h323.id = rest(line, "h323-id");
      h323.any = true;
    } else if (w[0] == "security" && w.size() >= 2 && w[1] == "password") {
      h323.password = rest(line, "security password");
      h323.any = true;
    } else if (w[0] == "gkip" && w.size() >= 2) {
      // The secondary gatekeeper carries priority 129; without it, order decides.
      const bool secondary = (w.size() >= 4 && w[3] == "129") || (w.size() < 4 && !h323.gk1.empty());
      (secondary ? h323.gk2 : h323.gk1) = w[1];
      h323.any = true;
    } else if (w[0] == "rule" && w.size() >= 4 && w[1] == "0") {
      h323.area = w[3].substr(0, w[3].find('%'));
      h323.any = true;
    } else if (w[0] == "translation-rule") {
      h323.any = true;
    } else if (line == "sip-ua") {
      protocol = Protocol::Sip;
      sip.any = true;
    } else if (w[0] == "sip-username") {
      sip.user = rest(line, "sip-username");
      sip.any = true;
    } else if (w[0] == "sip-password") {
      sip.password = rest(line, "sip-password");
      sip.any = true;
    } else if (w[0] == "sip-server") {
      const std::string a = rest(line, "sip-server");
      (sip.servers++ == 0 ? sip.server1 : sip.server2) = a;
      sip.any = true;
    } else if (line == "mgcp") {
      protocol = Protocol::Mgcp;
      mgcp.any = true;
    } else if (w[0] == "call-agent" && w.size() >= 2) {
      (mgcp.agents++ == 0 ? mgcp.agent1 : mgcp.agent2) = w[1];
      mgcp.any = true;
    }
  }

  // Settle the WAN side.
  if (wanType) next.wanType = *wanType;
  if (whole) {
    if (next.wanType == WanType::Pppoe)
      next.cableModem = false;
    else
      next.cableModem = sawQos;
    if (next.wanType == WanType::Static && !sawRoute) next.staticRouter.clear();
    if (next.wanType != WanType::Dhcp && !sawDns) next.dnsServer.clear();
  } else if (sawQos) {
    next.cableModem = true;
  }

  if (sawLan) {
    if (lanDhcpGroup)
      next.lanMode = LanMode::DhcpGroup;
    else if (lanPppoe)
      next.lanMode = LanMode::PppoeServer;
    else if (lanNoAddress)
      next.lanMode = LanMode::NoAddress;
  }

  // VoIP protocol: explicit section words first, then any H.323 setting.
  if (!protocol && (h323.id.size() || h323.password.size() || h323.gk1.size() || h323.gk2.size()))
    protocol = Protocol::H323;
  if (protocol) next.protocol = *protocol;
  if (protocol == Protocol::H323 || (!whole && h323.any)) {
    if (whole || !h323.id.empty()) next.h323Id = h323.id;
    if (whole || !h323.password.empty()) next.gkPassword = h323.password;
    if (whole || !h323.gk1.empty()) next.gatekeeper1 = h323.gk1;
    if (whole || !h323.gk2.empty()) next.gatekeeper2 = h323.gk2;
    if (whole || !h323.area.empty()) next.areaNumber = h323.area;
  }
  if (protocol == Protocol::Sip || (!whole && sip.any)) {
    if (whole || !sip.user.empty()) next.sipUsername = sip.user;
    if (whole || !sip.password.empty()) next.sipPassword = sip.password;
    if (whole || sip.servers > 0) next.sipServer1 = sip.server1;
    if (whole || sip.servers > 1) next.sipServer2 = sip.server2;
  }
  if (protocol == Protocol::Mgcp || (!whole && mgcp.any)) {
    if (whole || mgcp.agents > 0) next.callAgent1 = mgcp.agent1;
    if (whole || mgcp.agents > 1) next.callAgent2 = mgcp.agent2;
  }

  if (whole || sawPeers) {
    // An MGCP peer carries no destination pattern: its port keeps the number it had.
    for (auto& p : pots) {
      if (!p.pattern.empty()) continue;
      for (const auto& old : config.potsPeers)
        if (old.port == p.port) p.pattern = old.pattern;
    }
    next.potsPeers = std::move(pots);
    next.voipPeers = std::move(others);
  }

  config = std::move(next);
}

}  // namespace gwsim
