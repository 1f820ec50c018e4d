// The reply field mapping: each query reply's lines onto the main window's
// fields. Checks, radios and choices go through their setters, so the pages'
// rules run exactly as for a user's click, and only on a real change.
//
// A word the line does not have may hold a word of an earlier line (the
// table is emptied only when a command is sent); the rows read it as it is.
// The replies' "!END-TAG!" lines are the query series' steps, taken by the
// interpreter after the rows here.
#include <string>

#include "devlink/reply_interpreter.h"

namespace devlink {

namespace {

using config::kDhcp, config::kFixed, config::kPppoe;
using config::kH323, config::kMgcp, config::kSip;

/// The rows that take one word of a reply line into a text field: in the
/// reply `state`, when word `keyAt` is `key` (and word `testAt` is `test`,
/// unless `test` is empty), the field := word `valueAt`.
struct WordRow {
  Reply state;
  int keyAt;
  std::string_view key;
  int testAt;
  std::string_view test;
  int valueAt;
  platform::Edit config::ConfigPages::*field;
};
using P = config::ConfigPages;
constexpr WordRow kWordRows[] = {
    {Reply::Wan, 0, "ppp", 1, "pap", 3, &P::ED_PPPoE_ID},
    {Reply::Wan, 0, "ppp", 1, "pap", 5, &P::ED_PPPoE_Password},
    {Reply::AutoUpgrade, 1, "authentication", 0, {}, 3, &P::ED_auto_upgrade_ID},
    {Reply::AutoUpgrade, 1, "authentication", 0, {}, 5, &P::ED_auto_upgrade_password},
    {Reply::AutoUpgrade, 1, "url", 0, {}, 2, &P::ED_server_URL},
    {Reply::Voip, 0, "h323-id", 0, {}, 1, &P::ED_H323_ID},
    {Reply::Voip, 0, "security", 0, {}, 2, &P::ED_GK_password},
    {Reply::Voip, 0, "sip-username", 0, {}, 1, &P::ED_SIP_Username},
    {Reply::Voip, 0, "sip-password", 0, {}, 1, &P::ED_SIP_password},
    {Reply::Pstn, 0, "ppp", 2, "sent-username", 3, &P::ED_PSTN_login},
    {Reply::Pstn, 0, "ppp", 2, "sent-username", 5, &P::ED_PSTN_password},
};

/// The first address line of a kind goes to the primary field, every later
/// one to the secondary field.
void FirstOrSecond(bool& seen, platform::Edit& first, platform::Edit& second, const std::string& word) {
  (seen ? second : first).SetText(word);
  seen = true;
}

}  // namespace

void ReplyInterpreter::TakeWords(Reply state, const LineWords& w) {
  for (const WordRow& r : kWordRows)
    if (r.state == state && w[r.keyAt] == r.key && (r.test.empty() || w[r.testAt] == r.test))
      (pages_.*r.field).SetText(w[r.valueAt]);
}

std::vector<const platform::Control*> OneWordFields(const config::ConfigPages& p) {
  std::vector<const platform::Control*> fields;
  for (const WordRow& r : kWordRows) fields.push_back(&(p.*r.field));
  // The rows below that take one word in their own way: a service's port,
  // the area number before its "%", the grid's ports and phone numbers.
  for (const config::ServiceFields& s : config::kServices) fields.push_back(&(p.*s.port));
  fields.push_back(&p.ED_NUM);
  fields.push_back(&p.SG_VoIP_Phone_number);
  return fields;
}

void ReplyInterpreter::MapWan(const LineWords& w) {
  config::ConfigPages& p = pages_;
  const std::string& key = w[0];
  if (key == "qos-control") {
    p.CK_Cable_modem.SetChecked(true);
  } else if (key == "ip") {
    if (w[2] == "dhcp") {
      p.RG_Network_type.SetItemIndex(kDhcp);
    } else {
      p.RG_Network_type.SetItemIndex(kFixed);
      p.ED_Static_IP_address.SetText(w[2]);
      p.ED_Static_Netmask.SetText(w[3]);
    }
  } else if (key == "no") {
    p.RG_Network_type.SetItemIndex(kFixed);
  } else if (key == "route") {
    p.ED_Static_router.SetText(w[3]);
  } else if (key == "encapsulation") {
    if (w[1] == "pppoe") p.RG_Network_type.SetItemIndex(kPppoe);
  } else if (key == "ppp") {
    if (w[1] == "pap") {
      p.RG_Network_type.SetItemIndex(kPppoe);
      TakeWords(Reply::Wan, w);
    }
  }
}

void ReplyInterpreter::MapLan(const LineWords& w) {
  config::ConfigPages& p = pages_;
  const std::string& key = w[0];
  if (key == "no") {
    p.RB_DHCP.SetChecked(false);
    p.RB_PPPoE.SetChecked(false);
    p.RB_IP.SetChecked(true);
  } else if (key == "ip") {
    p.RB_DHCP.SetChecked(true);
    p.RB_PPPoE.SetChecked(false);
    p.RB_IP.SetChecked(false);
  } else if (key == "encapsulation") {
    p.RB_DHCP.SetChecked(false);
    p.RB_PPPoE.SetChecked(true);
    p.RB_IP.SetChecked(false);
  }
}

void ReplyInterpreter::MapDns(const LineWords& w) {
  if (w[0] != "dnshost") return;
  config::ConfigPages& p = pages_;
  // The WAN reply has already chosen the network type.
  switch (p.RG_Network_type.ItemIndex()) {
    case kPppoe: p.ED_PPPoE_DNS.SetText(w[2]); break;
    case kFixed: p.ED_Static_DNS.SetText(w[2]); break;
    default: break;
  }
}

void ReplyInterpreter::MapAutoUpgrade(const LineWords& w) {
  config::ConfigPages& p = pages_;
  // Matched on word 1 whatever word 0 is, so an empty line after a matched
  // one repeats the match with the words left over.
  const std::string& key = w[1];
  if (key == "authentication" || key == "url") {
    TakeWords(Reply::AutoUpgrade, w);
  } else if (key == "auto-reboot") {
    p.CK_upgrade_complete_restart.SetChecked(true);
  } else if (key == "action") {
    p.CK_auto_upgrade.SetChecked(true);
    p.ED_server_URL.SetEnabled(true);
    p.ED_auto_upgrade_ID.SetEnabled(true);
    p.ED_auto_upgrade_password.SetEnabled(true);
    p.L_server_url.SetEnabled(true);
    p.L_auto_ID.SetEnabled(true);
    p.L_auto_password.SetEnabled(true);
  }
}

void ReplyInterpreter::MapService(const LineWords& w) {
  config::ConfigPages& p = pages_;
  if (w[0] == "service") {
    if (const config::ServiceFields* s = config::FindService(w[1])) (p.*s->check).SetChecked(true);
  } else if (w[0] == "no") {
    if (const config::ServiceFields* s = config::FindService(w[2])) (p.*s->check).SetChecked(false);
  }
}

void ReplyInterpreter::MapServicePort(const LineWords& w) {
  if (const config::ServiceFields* s = config::FindService(w[1])) (pages_.*s->port).SetText(w[2]);
}

void ReplyInterpreter::MapVersion(const LineWords& w) {
  if (w[0] == "version") pages_.L_version.SetCaption(w[1]);
}

void ReplyInterpreter::MapVoip(const LineWords& w) {
  config::ConfigPages& p = pages_;
  platform::StringGrid& grid = p.SG_VoIP_Phone_number;
  const std::string& key = w[0];
  if (key == "voice-port") {
    if (counts_.VoicePortRow >= kMaxVoicePorts) {
      // One past the last row: the "!" lines of the ports passed over set
      // nothing, and the trace line is written once per read-out.
      if (counts_.VoicePortRow == kMaxVoicePorts)
        windows_.Trace("voice-port lines beyond " + std::to_string(kMaxVoicePorts) + " ports passed over");
      counts_.VoicePortRow = kMaxVoicePorts + 1;
      return;
    }
    // The first port reuses the grid's single data row.
    if (counts_.VoicePortRow > 0) grid.AddRow();
    ++counts_.VoicePortRow;
    grid.SetCell(0, counts_.VoicePortRow, w[1]);
  } else if (key == "!") {
    if (w[1] == "FXS" || w[1] == "FXO" || w[1] == "E1" || w[1] == "E&M")
      grid.SetCell(1, counts_.VoicePortRow, w[1]);
  } else if (key == "dial-peer") {
    if (w[3] == "pots") ++counts_.PotsPeerCount;
  } else if (key == "destination-pattern") {
    // Held only while the pots dial-peers are at least as many as the
    // patterns, so the patterns of the VoIP peers after them are not.
    ++counts_.PatternCount;
    if (counts_.PotsPeerCount >= counts_.PatternCount) heldPattern_ = w[1];
  } else if (key == "port") {
    for (int row : grid.RowsWith(0, w[1]))
      if (row >= 1) grid.SetCell(2, row, heldPattern_);
    heldPattern_.clear();
  } else if (key == "gkip") {
    FirstOrSecond(counts_.GatekeeperSeen, p.ED_Gatekeeper_IP, p.ED_Gatekeeper_IP2, w[1]);
    p.RG_Protocol.SetItemIndex(kH323);
  } else if (key == "rule") {
    if (w[1] == "0") p.ED_NUM.SetText(NumberToken(w[3], '%'));
  } else if (key == "sip-server") {
    FirstOrSecond(counts_.SipServerSeen, p.ED_SIP_Server_1, p.ED_SIP_Server_2, w[1]);
    p.RG_Protocol.SetItemIndex(kSip);
  } else if (key == "call-agent") {
    FirstOrSecond(counts_.CallAgentSeen, p.ED_MGCP_CallAgent_1, p.ED_MGCP_CallAgent_2, w[1]);
    p.RG_Protocol.SetItemIndex(kMgcp);
  } else {
    TakeWords(Reply::Voip, w);  // h323-id, security, sip-username, sip-password
  }
}

void ReplyInterpreter::MapPstn(const LineWords& w) {
  config::ConfigPages& p = pages_;
  // Once the always-up mode has been seen it is chosen for every later line.
  (counts_.PstnAllUp ? p.RB_All_up : p.RB_Dial_up).SetChecked(true);
  const std::string& key = w[0];
  if (key == "modem") {
    if (w[1] == "keep-active") {
      counts_.PstnAllUp = true;
      p.RB_All_up.SetChecked(true);
    } else if (w[2] == "dialer") {
      // The dialer word carries a four-character dial prefix before the number.
      p.ED_PSTN_dialing.SetText(w[3].size() > 4 ? w[3].substr(4) : std::string());
    }
  } else if (key == "ppp") {
    TakeWords(Reply::Pstn, w);  // the login when word 2 is "sent-username"
  }
}

}  // namespace devlink
