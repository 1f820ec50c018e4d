#include "config/script_table.h"

#include <cassert>
#include <initializer_list>

#include "config/address_checks.h"

namespace config {

namespace {

using P = ConfigPages;

/// The bits of Modes for these items of the network type or the protocol.
constexpr uint8_t Items(std::initializer_list<int> items) {
  uint8_t bits = 0;
  for (int i : items) bits |= uint8_t(1 << (i + 1));
  return bits;
}
constexpr uint8_t kAllButFixed = Items({-1, kPppoe, kDhcp});
constexpr uint8_t kAnyProtocol = Items({kH323, kSip, kMgcp});
constexpr uint8_t kH323OrSip = Items({kH323, kSip});

/// Builds the table: the fields first (their addresses stay put, the rows
/// point at them), then the script's fifteen sections in order.
class Builder {
 public:
  explicit Builder(ScriptTable& t) : t_(t) { t_.fields.reserve(kFieldRoom); }

  const ScriptField* Field(ScriptField f) {
    assert(t_.fields.size() < kFieldRoom && "the rows point into the field list");
    t_.fields.push_back(f);
    return &t_.fields.back();
  }
  const ScriptField* Text(platform::Edit P::*edit, platform::Label P::*label, const char* reset = "") {
    return Field({FieldKind::Text, edit, nullptr, nullptr, nullptr, label, reset});
  }
  const ScriptField* Secret(platform::Edit P::*edit, platform::Label P::*label) {
    return Field({FieldKind::Secret, edit, nullptr, nullptr, nullptr, label});
  }
  const ScriptField* Address(platform::AddressEdit P::*address, platform::Label P::*label) {
    return Field({FieldKind::Address, nullptr, address, nullptr, nullptr, label});
  }
  const ScriptField* Check(platform::CheckBox P::*check) {
    return Field({FieldKind::Check, nullptr, nullptr, check});
  }

  /// One piece of a line: a literal, or a field's value.
  struct Part {
    Part(const char* text) : piece{PieceKind::Literal, text} {}
    Part(std::string text) : piece{PieceKind::Literal, std::move(text)} {}
    Part(const ScriptField* f) : piece{PieceKind::Value, {}, f} {}
    Part(PieceKind phone) : piece{phone, {}, nullptr} {}
    Piece piece;
  };

  /// A line written in `modes` when `presence` holds.
  void Line(std::initializer_list<Part> parts, Modes modes = {}, Presence presence = {}) {
    ScriptRow row{{}, modes, presence, perPhone_};
    for (const Part& p : parts) {
      // Literals side by side are one: values and literals alternate.
      if (p.piece.kind == PieceKind::Literal && !row.pieces.empty() &&
          row.pieces.back().kind == PieceKind::Literal)
        row.pieces.back().literal += p.piece.literal;
      else
        row.pieces.push_back(p.piece);
    }
    t_.rows.push_back(std::move(row));
  }
  void Lines(std::initializer_list<const char*> lines, Modes modes = {}) {
    for (const char* l : lines) Line({l}, modes);
  }
  /// The lines between Begin and EndPerPhone are written once a numbered grid row.
  void BeginPerPhone() { perPhone_ = true; }
  void EndPerPhone() { perPhone_ = false; }

 private:
  static constexpr size_t kFieldRoom = 48;
  ScriptTable& t_;
  bool perPhone_ = false;
};

Modes Net(uint8_t networks) { return {networks, 0xF, 0xF}; }
Modes Proto(uint8_t protocols) { return {0xF, protocols, 0xF}; }
Modes Lan(Attachment a) { return {0xF, 0xF, uint8_t(1 << a)}; }
Presence When(Presence::Kind k, const ScriptField* a, const ScriptField* b = nullptr) { return {k, a, b}; }

ScriptTable Build() {
  ScriptTable t;
  Builder b(t);

  // The fields, page by page.
  b.Field({FieldKind::Choice, nullptr, nullptr, nullptr, &P::RG_Network_type});
  const ScriptField* pppoeId = b.Text(&P::ED_PPPoE_ID, &P::L_Login_ID);
  const ScriptField* pppoePassword = b.Secret(&P::ED_PPPoE_Password, &P::L_Password);
  const ScriptField* pppoeDns = b.Address(&P::ED_PPPoE_DNS, &P::L_Primary_DNS_Server2);
  const ScriptField* staticIp = b.Address(&P::ED_Static_IP_address, &P::L_IP_address);
  const ScriptField* netmask = b.Address(&P::ED_Static_Netmask, &P::L_Netmask);
  const ScriptField* router = b.Address(&P::ED_Static_router, &P::L_Default_router);
  const ScriptField* staticDns = b.Address(&P::ED_Static_DNS, &P::L_Primary_DNS_server);
  const ScriptField* cableModem = b.Check(&P::CK_Cable_modem);
  b.Field({FieldKind::Attachment, nullptr, nullptr, nullptr, &P::RG_PC_Network});
  b.Field({FieldKind::Choice, nullptr, nullptr, nullptr, &P::RG_Protocol});
  const ScriptField* h323Id = b.Text(&P::ED_H323_ID, &P::L_H323_ID);
  const ScriptField* gkPassword = b.Secret(&P::ED_GK_password, &P::L_H323_Password);
  const ScriptField* gatekeeper1 = b.Address(&P::ED_Gatekeeper_IP, &P::L_Primary_GK_IP);
  const ScriptField* gatekeeper2 = b.Address(&P::ED_Gatekeeper_IP2, &P::L_Secondary_GK_IP);
  const ScriptField* sipUser = b.Text(&P::ED_SIP_Username, &P::L_SIP_username);
  const ScriptField* sipPassword = b.Secret(&P::ED_SIP_password, &P::L_SIP_password);
  const ScriptField* sipServer1 = b.Address(&P::ED_SIP_Server_1, &P::L_SIP_server_1);
  const ScriptField* sipServer2 = b.Address(&P::ED_SIP_Server_2, &P::L_SIP_server_2);
  const ScriptField* callAgent1 = b.Address(&P::ED_MGCP_CallAgent_1, &P::L_call_agent_1);
  const ScriptField* callAgent2 = b.Address(&P::ED_MGCP_CallAgent_2, &P::L_call_agent_2);
  b.Field({FieldKind::Phones});
  const ScriptField* areaNumber = b.Text(&P::ED_NUM, &P::L_Area_number);
  struct ServiceSlots {
    const char* daemon;
    const ScriptField* check;
    const ScriptField* port;
  };
  std::vector<ServiceSlots> services;
  for (const ServiceFields& s : kServices) {
    const ScriptField* check = b.Check(s.check);
    services.push_back({s.daemon, check, b.Field({FieldKind::Port, s.port, nullptr, s.check})});
  }
  const ScriptField* autoUpgrade = b.Check(&P::CK_auto_upgrade);
  // "http://" is the untouched default; anything else, even empty, is written.
  const ScriptField* url = b.Text(&P::ED_server_URL, &P::L_server_url, "http://");
  const ScriptField* upgradeId = b.Text(&P::ED_auto_upgrade_ID, &P::L_auto_ID);
  const ScriptField* upgradePassword = b.Secret(&P::ED_auto_upgrade_password, &P::L_auto_password);
  const ScriptField* autoReboot = b.Check(&P::CK_upgrade_complete_restart);

  using K = Presence::Kind;
  const auto pppoeClient = [&](Modes m) {
    b.Lines({"no ip address", "encapsulation pppoe", "ppp authentication pap callin", "ppp echo interval 20"},
            m);
    b.Line({"ppp pap sent-username ", pppoeId, " password ", pppoePassword}, m);
    b.Lines({"ppp ipcp default-route", "ppp ipcp ms-dns"}, m);
  };

  // 1. Address pools: pool 0's lease is longer with a fixed WAN address.
  b.Lines({"dhcp-list 0 type server", "dhcp-list 0 address server interface ether0.0"});
  b.Line({"dhcp-list 0 option dhcp-lease-time 7200"}, Net(Items({kFixed})));
  b.Line({"dhcp-list 0 option dhcp-lease-time 600"}, Net(kAllButFixed));
  b.Lines({"!", "dhcp-list 1 type server", "dhcp-list 1 address server 10.1.1.2 10.1.1.254 255.255.255.0",
           "dhcp-list 1 option dhcp-lease-time 600", "!"});

  // 2. Automatic upgrade: written whenever set, whether or not it is on.
  b.Line({"auto-upgrade  authentication login ", upgradeId, " password ", upgradePassword}, {},
         When(K::Filled, upgradeId, upgradePassword));
  b.Line({"auto-upgrade  auto-reboot"}, {}, When(K::Checked, autoReboot));
  b.Line({"auto-upgrade  url  ", url}, {}, When(K::NotDefault, url));
  b.Line({"auto-upgrade  action auto"}, {}, When(K::Checked, autoUpgrade));
  b.Lines({"!"});

  // 3. Address sharing.
  b.Lines({"ip-share  enable", "ip-share  interface net-side ether0.0",
           "ip-share  interface local-side ether1.0", "!"});

  // 4. WAN interface; the cable modem never with PPPoE.
  b.Lines({"interface ether0.0"});
  pppoeClient(Net(Items({kPppoe})));
  b.Line({"ip address dhcp"}, Net(Items({kDhcp})));
  b.Line({"ip address ", staticIp, " ", netmask}, Net(Items({kFixed})),
         When(K::BothFilled, staticIp, netmask));
  b.Line({"qos-control 200 100"}, Net(Items({kDhcp, kFixed})), When(K::Checked, cableModem));
  b.Lines({"!"});

  // 5. LAN interface: the first checked attachment decides; the PPPoE server
  // carries the WAN's PPPoE login.
  b.Lines({"interface ether1.0"});
  b.Lines({"no ip address", "ip dhcp-group 0"}, Lan(kLanDhcp));
  pppoeClient(Lan(kLanPppoe));
  b.Lines({"ppp role server"}, Lan(kLanPppoe));
  b.Lines({"no ip address"}, Lan(kLanFixed));
  b.Lines({"!"});

  // 6. Name server.
  b.Line({"dnshost  nameserver   ", pppoeDns}, Net(Items({kPppoe})), When(K::Filled, pppoeDns));
  b.Line({"dnshost  nameserver   ", staticDns}, Net(Items({kFixed})), When(K::Filled, staticDns));
  b.Lines({"!"});

  // 7 and 8. Service ports, then each service on or off (SNMP before Telnet).
  for (const ServiceSlots& s : services)
    b.Line({"service-port ", std::string(s.daemon) + " ", s.port}, {}, When(K::Filled, s.port));
  b.Lines({"!"});
  for (const ServiceSlots& s : services) {
    b.Line({std::string("service ") + s.daemon}, {}, When(K::Checked, s.check));
    b.Line({std::string("no service ") + s.daemon}, {}, When(K::Unchecked, s.check));
  }
  b.Lines({"!"});

  // 9. Default route.
  b.Line({"route 0.0.0.0 0.0.0.0 ", router}, Net(Items({kFixed})), When(K::Filled, router));
  b.Lines({"!"});

  // 10. VoIP preamble.
  b.Lines({"auto-script autorun.inf", "!", "!", "!", "! VoIP configuration.", "!",
           "! Voice service voip configuration.", "!", "voice service voip", "busyout monitor gatekeeper",
           "busyout monitor voip-interface", "!", "!", "! Voice port configuration."});

  // 11. Voice ports, one block for each port with a number.
  b.BeginPerPhone();
  b.Line({"voice-port ", PieceKind::PhonePort});
  b.Lines({"caller-id enable", "caller-id type bellcore", "!"});
  b.EndPerPhone();
  b.Lines({"!", "! Pots peer configuration.", "!"});

  // 12. POTS peers: tags follow the grid rows, so a row without a number
  // leaves a gap; MGCP peers carry no number.
  b.BeginPerPhone();
  b.Line({"dial-peer voice ", PieceKind::PhoneTag, " pots"}, Proto(kAnyProtocol));
  b.Line({"destination-pattern ", PieceKind::PhoneNumber}, Proto(kH323OrSip));
  b.Line({"application mgcpapp"}, Proto(Items({kMgcp})));
  b.Line({"port ", PieceKind::PhonePort}, Proto(kAnyProtocol));
  b.Lines({"!"}, Proto(kAnyProtocol));
  b.EndPerPhone();
  b.Lines({"!", "! Voip peer configuration.", "!"});

  // 13. VoIP peer.
  const Modes h323 = Proto(Items({kH323})), sip = Proto(Items({kSip})), mgcp = Proto(Items({kMgcp}));
  b.Lines({"dial-peer voice 1000 voip", "destination-pattern T"}, Proto(kH323OrSip));
  b.Lines({"session target ras"}, h323);
  b.Line({"translate-outgoing called-number 0"}, h323, When(K::Filled, areaNumber));
  b.Lines({"session target sip-server", "session protocol sip", "dtmf-relay rtp-2833"}, sip);
  b.Lines({"!"}, Proto(kH323OrSip));
  b.Lines({"!", "!", "! Gateway configuration.", "!", "gateway"});

  // 14. Protocol section. 1719 is the gatekeeper's RAS port; 128 and 129
  // order primary and secondary, while both call agents carry 128.
  b.Line({"h323-id ", h323Id}, h323, When(K::Filled, h323Id));
  b.Line({"security password ", gkPassword}, h323, When(K::Filled, gkPassword));
  b.Line({"gkip ", gatekeeper1, " 1719 128"}, h323, When(K::Filled, gatekeeper1));
  b.Line({"gkip ", gatekeeper2, " 1719 129"}, h323, When(K::Filled, gatekeeper2));
  b.Line({"register"}, h323, When(K::Filled, gatekeeper1, gatekeeper2));
  b.Lines({"!"}, h323);
  b.Line({"translation-rule 0"}, h323, When(K::Filled, areaNumber));
  b.Line({"rule 0  [2-9]T     ", areaNumber, "%01%99"}, h323, When(K::Filled, areaNumber));
  b.Lines({"!"}, h323);

  b.Lines({"!", "! SIP UA configuration", "!", "sip-ua"}, sip);
  b.Line({"sip-username ", sipUser}, sip);
  b.Line({"sip-password ", sipPassword}, sip, When(K::Filled, sipPassword));
  b.Line({"sip-server ", sipServer1}, sip);
  b.Line({"sip-server ", sipServer2}, sip, When(K::Filled, sipServer2));
  b.Lines({"register e164", "!"}, sip);

  b.Lines({"!", "! MGCP configuration", "!", "mgcp"}, mgcp);
  b.Line({"call-agent ", callAgent1, " 2427 128"}, mgcp);
  b.Line({"call-agent ", callAgent2, " 2427 128"}, mgcp, When(K::Filled, callAgent2));
  b.Lines({"register", "!"}, mgcp);
  return t;
}

}  // namespace

const ScriptTable& TheScriptTable() {
  static const ScriptTable table = Build();
  return table;
}

size_t ScriptTable::BlockEnd(size_t i) const {
  if (!rows[i].perPhone) return i + 1;
  while (i < rows.size() && rows[i].perPhone) ++i;
  return i;
}

const platform::Edit& EditOf(const ScriptField& f, const ConfigPages& p) {
  return f.address ? p.*f.address : p.*f.edit;
}

platform::Edit& EditOf(const ScriptField& f, ConfigPages& p) { return f.address ? p.*f.address : p.*f.edit; }

bool IsEmpty(const ScriptField& f, const ConfigPages& p) {
  return f.address ? (p.*f.address).IsEmpty() : (p.*f.edit).Text().empty();
}

Attachment AttachmentOf(const ConfigPages& p) {
  if (p.RB_DHCP.Checked()) return kLanDhcp;
  if (p.RB_PPPoE.Checked()) return kLanPppoe;
  if (p.RB_IP.Checked()) return kLanFixed;
  return kNoAttachment;
}

void SetAttachment(ConfigPages& p, Attachment a) {
  platform::RadioButton* radios[] = {&p.RB_DHCP, &p.RB_PPPoE, &p.RB_IP};
  if (a == kNoAttachment) {
    for (platform::RadioButton* r : radios) r->SetChecked(false);
  } else {
    radios[a - kLanDhcp]->SetChecked(true);
  }
}

const platform::Control& CaptionControl(const ScriptField& f, const ConfigPages& p) {
  if (f.label) return p.*f.label;
  if (f.check) return p.*f.check;
  if (f.group) return p.*f.group;
  return p.SG_VoIP_Phone_number;
}

std::string CaptionOf(const ScriptField& f, const ConfigPages& p) {
  if (f.kind == FieldKind::Phones) return std::string(TrimBlanks(p.SG_VoIP_Phone_number.Cell(2, 0)));
  return std::string(TrimBlanks(CaptionControl(f, p).Caption()));
}

void CopyScriptFields(const ConfigPages& from, ConfigPages& to) {
  for (const ScriptField& f : TheScriptTable().fields) {
    switch (f.kind) {
      case FieldKind::Text:
      case FieldKind::Secret:
      case FieldKind::Port:
      case FieldKind::Address: EditOf(f, to).SetText(EditOf(f, from).Text()); break;
      case FieldKind::Check: (to.*f.check).SetChecked((from.*f.check).Checked()); break;
      case FieldKind::Choice: (to.*f.group).SetItemIndex((from.*f.group).ItemIndex()); break;
      case FieldKind::Attachment: SetAttachment(to, AttachmentOf(from)); break;
      case FieldKind::Phones: {
        const platform::StringGrid& source = from.SG_VoIP_Phone_number;
        platform::StringGrid& grid = to.SG_VoIP_Phone_number;
        grid.SetRowCount(source.RowCount());
        for (int row = 1; row < source.RowCount(); ++row)
          for (int col = 0; col < source.ColCount(); ++col) grid.SetCell(col, row, source.Cell(col, row));
        break;
      }
    }
  }
}

}  // namespace config
