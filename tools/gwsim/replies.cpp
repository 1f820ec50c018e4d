#include "gwsim/replies.h"

#include <cstdio>

namespace gwsim::replies {

namespace {

using Lines = std::vector<std::string>;

/// The PPPoE block of an interface; the credentials only when both are set.
void pppoe(const std::string& id, const std::string& password, Lines& out) {
  out.push_back("encapsulation pppoe");
  out.push_back("ppp authentication pap callin");
  out.push_back("ppp echo interval 20");
  if (!id.empty() && !password.empty())
    out.push_back("ppp pap sent-username " + id + " password " + password);
  out.push_back("ppp ipcp default-route");
  out.push_back("ppp ipcp ms-dns");
}

void wan(const GatewayConfig& c, Lines& out) {
  out.push_back("interface ether0.0");
  switch (c.wanType) {
    case WanType::Pppoe:
      out.push_back("no ip address");
      pppoe(c.pppoeId, c.pppoePassword, out);
      break;
    case WanType::Dhcp:
      out.push_back("ip address dhcp");
      if (c.cableModem) out.push_back("qos-control 200 100");
      break;
    case WanType::Static:
      if (!c.staticIp.empty() && !c.staticNetmask.empty())
        out.push_back("ip address " + c.staticIp + " " + c.staticNetmask);
      else
        out.push_back("no ip address");
      if (c.cableModem) out.push_back("qos-control 200 100");
      if (!c.staticRouter.empty()) out.push_back("route 0.0.0.0 0.0.0.0 " + c.staticRouter);
      break;
  }
  out.push_back("!");
}

void lan(const GatewayConfig& c, Lines& out) {
  out.push_back("interface ether1.0");
  out.push_back("no ip address");
  switch (c.lanMode) {
    case LanMode::DhcpGroup: out.push_back("ip dhcp-group 0"); break;
    case LanMode::PppoeServer:
      pppoe(c.lanPppoeId, c.lanPppoePassword, out);
      out.push_back("ppp role server");
      break;
    case LanMode::NoAddress: break;
  }
  out.push_back("!");
}

void autoUpgrade(const GatewayConfig& c, Lines& out) {
  if (!c.upgradeLogin.empty() && !c.upgradePassword.empty())
    out.push_back("auto-upgrade  authentication login " + c.upgradeLogin + " password " + c.upgradePassword);
  if (c.autoReboot) out.push_back("auto-upgrade  auto-reboot");
  if (!c.upgradeUrl.empty()) out.push_back("auto-upgrade  url  " + c.upgradeUrl);
  if (c.autoUpgrade) out.push_back("auto-upgrade  action auto");
}

void voip(const GatewayConfig& c, Lines& out) {
  out.push_back("voice service voip");
  out.push_back("busyout monitor gatekeeper");
  out.push_back("busyout monitor voip-interface");
  out.push_back("!");
  for (const auto& p : c.voicePorts) {
    out.push_back("voice-port " + p.name);
    out.push_back("! " + p.type);
    out.push_back("caller-id enable");
    out.push_back("caller-id type bellcore");
    out.push_back("!");
  }
  for (const auto& p : c.potsPeers) {
    out.push_back("dial-peer voice " + std::to_string(p.tag) + " pots");
    if (!p.pattern.empty()) out.push_back("destination-pattern " + p.pattern);
    if (p.mgcpApp) out.push_back("application mgcpapp");
    if (!p.port.empty()) out.push_back("port " + p.port);
    out.push_back("!");
  }
  for (const auto& p : c.voipPeers) {
    out.push_back("dial-peer voice " + std::to_string(p.tag) + " " + p.kind);
    if (!p.pattern.empty()) out.push_back("destination-pattern " + p.pattern);
    for (const auto& l : p.lines) out.push_back(l);
    out.push_back("!");
  }
  out.push_back("gateway");
  switch (c.protocol) {
    case Protocol::H323:
      if (!c.h323Id.empty()) out.push_back("h323-id " + c.h323Id);
      if (!c.gkPassword.empty()) out.push_back("security password " + c.gkPassword);
      if (!c.gatekeeper1.empty()) out.push_back("gkip " + c.gatekeeper1 + " 1719 128");
      if (!c.gatekeeper2.empty()) out.push_back("gkip " + c.gatekeeper2 + " 1719 129");
      if (!c.gatekeeper1.empty() || !c.gatekeeper2.empty()) out.push_back("register");
      break;
    case Protocol::Sip:
      out.push_back("!");
      out.push_back("sip-ua");
      if (!c.sipUsername.empty()) out.push_back("sip-username " + c.sipUsername);
      if (!c.sipPassword.empty()) out.push_back("sip-password " + c.sipPassword);
      if (!c.sipServer1.empty()) out.push_back("sip-server " + c.sipServer1);
      if (!c.sipServer2.empty()) out.push_back("sip-server " + c.sipServer2);
      out.push_back("register e164");
      break;
    case Protocol::Mgcp:
      out.push_back("!");
      out.push_back("mgcp");
      if (!c.callAgent1.empty()) out.push_back("call-agent " + c.callAgent1 + " 2427 128");
      if (!c.callAgent2.empty()) out.push_back("call-agent " + c.callAgent2 + " 2427 128");
      out.push_back("register");
      break;
  }
  out.push_back("!");
  if (!c.areaNumber.empty()) {
    out.push_back("translation-rule 0");
    out.push_back("rule 0  [2-9]T     " + c.areaNumber + "%01%99");
    out.push_back("!");
  }
}

void pstn(const GatewayConfig& c, Lines& out) {
  out.push_back("interface modem0");
  if (c.modemKeepActive) out.push_back("modem keep-active");
  if (!c.dialNumber.empty()) out.push_back("modem default dialer " + c.dialPrefix + c.dialNumber);
  out.push_back("ppp authentication pap");
  if (!c.pstnUsername.empty() && !c.pstnPassword.empty())
    out.push_back("ppp pap sent-username " + c.pstnUsername + " password " + c.pstnPassword);
  out.push_back("!");
}

std::string uptimeText(long long s) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lld days %02lld:%02lld:%02lld", s / 86400, s / 3600 % 24, s / 60 % 60,
                s % 60);
  return buf;
}

std::string field(std::string_view label, std::string_view value) {
  std::string l = "  " + std::string(label);
  if (l.size() < 24) l.resize(24, ' ');
  return l + ": " + std::string(value);
}

}  // namespace

const std::vector<std::string>& queryNames() {
  static const std::vector<std::string> names{
      "get-wan",          "get-lan",     "get-dns-server", "get-auto-upgrade", "get-service",
      "get-service-port", "get-version", "get-model",      "get-voip",         "get-pstn"};
  return names;
}

bool query(std::string_view q, const GatewayConfig& c, std::vector<std::string>& out) {
  if (q == "get-model") {
    out.push_back("model " + c.model);
  } else if (q == "get-version") {
    out.push_back("version " + c.version);
  } else if (q == "get-wan") {
    wan(c, out);
  } else if (q == "get-lan") {
    lan(c, out);
  } else if (q == "get-dns-server") {
    if (!c.dnsServer.empty()) out.push_back("dnshost  nameserver   " + c.dnsServer);
  } else if (q == "get-auto-upgrade") {
    autoUpgrade(c, out);
  } else if (q == "get-service") {
    for (const auto& s : c.services) out.push_back((s.enabled ? "service " : "no service ") + s.name);
  } else if (q == "get-service-port") {
    for (const auto& s : c.services)
      if (!s.port.empty()) out.push_back("service-port " + s.name + " " + s.port);
  } else if (q == "get-voip") {
    voip(c, out);
  } else if (q == "get-pstn") {
    pstn(c, out);
  } else {
    return false;
  }
  return true;
}

std::vector<std::string> wanStatus(const GatewayConfig& c, long long uptime) {
  const bool isStatic = c.wanType == WanType::Static;
  const std::string address =
      isStatic ? c.staticIp : (c.wanType == WanType::Dhcp ? "172.20.4.117" : "211.45.10.23");
  const std::string mask = isStatic ? c.staticNetmask : "255.255.255.255";
  const std::string router =
      isStatic ? c.staticRouter : (c.wanType == WanType::Dhcp ? "172.20.4.1" : "211.45.10.1");
  Lines l{"!START-TAG!",
          "System Information",
          field("Model", c.model),
          field("System software", c.version),
          field("Up time", uptimeText(uptime)),
          "",
          "WAN interface ether0.0",
          field("Connection type", c.wanType == WanType::Pppoe  ? "PPPoE"
                                   : c.wanType == WanType::Dhcp ? "DHCP client"
                                                                : "Fixed IP address"),
          field("Link", "up, 100 Mbit/s full duplex"),
          field("IP address", address),
          field("Netmask", mask),
          field("Default router", router),
          field("Name server", c.dnsServer.empty() ? "(none)" : c.dnsServer),
          field("Cable modem", c.cableModem ? "yes" : "no"),
          "",
          "LAN interface ether1.0",
          field("Mode", c.lanMode == LanMode::DhcpGroup     ? "DHCP server (dhcp-group 0)"
                        : c.lanMode == LanMode::PppoeServer ? "PPPoE server"
                                                            : "no address"),
          field("Address pool", "10.1.1.2 - 10.1.1.254"),
          field("Packets in/out", std::to_string(1200 + uptime * 3) + "/" + std::to_string(900 + uptime * 2)),
          "!END-TAG!"};
  return l;
}

std::vector<std::string> gatekeeperStatus(const GatewayConfig& c, long long uptime) {
  Lines l{"!START-TAG!", "VoIP Information"};
  switch (c.protocol) {
    case Protocol::H323:
      l.push_back(field("Protocol", "H.323"));
      l.push_back(field("H323 ID", c.h323Id.empty() ? "(none)" : c.h323Id));
      l.push_back(field("Primary gatekeeper", c.gatekeeper1.empty() ? "(none)" : c.gatekeeper1 + ":1719"));
      l.push_back(field("Secondary gatekeeper", c.gatekeeper2.empty() ? "(none)" : c.gatekeeper2 + ":1719"));
      l.push_back(field("Registration",
                        c.gatekeeper1.empty() && c.gatekeeper2.empty() ? "not registered" : "registered"));
      break;
    case Protocol::Sip:
      l.push_back(field("Protocol", "SIP"));
      l.push_back(field("SIP user", c.sipUsername.empty() ? "(none)" : c.sipUsername));
      l.push_back(field("SIP server", c.sipServer1.empty() ? "(none)" : c.sipServer1));
      l.push_back(field("Registration", c.sipServer1.empty() ? "not registered" : "registered"));
      break;
    case Protocol::Mgcp:
      l.push_back(field("Protocol", "MGCP"));
      l.push_back(field("Call agent", c.callAgent1.empty() ? "(none)" : c.callAgent1 + ":2427"));
      l.push_back(field("Registration", c.callAgent1.empty() ? "not registered" : "registered"));
      break;
  }
  for (const auto& p : c.voicePorts) {
    std::string number;
    for (const auto& peer : c.potsPeers)
      if (peer.port == p.name) number = peer.pattern;
    l.push_back(
        field("Port " + p.name + " (" + p.type + ")", "on-hook" + (number.empty() ? "" : ", " + number)));
  }
  l.push_back(field("Calls since start", std::to_string(uptime / 600)));
  l.push_back("!END-TAG!");
  return l;
}

std::vector<std::string> help() {
  return {
      "get-wan                 WAN interface (ether0.0) settings",
      "get-lan                 LAN interface (ether1.0) settings",
      "get-dns-server          name server",
      "get-auto-upgrade        automatic software upgrade settings",
      "get-service             services switched on and off",
      "get-service-port        service port numbers",
      "get-version             system software version",
      "get-model               model name",
      "get-voip                VoIP settings and dial-peers",
      "get-wan-status          WAN status",
      "get-gatekeeper-status   VoIP registration status",
      "start-login             log in: start-login ID PASSWORD",
      "write-system            store a configuration: !START-TAG! lines !END-TAG!",
      "reboot-system           restart the gateway",
      "end-morvel              end the console session",
  };
}

}  // namespace gwsim::replies
