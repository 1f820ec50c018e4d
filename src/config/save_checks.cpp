#include "config/save_checks.h"

#include "config/config_pages.h"

namespace config {

SaveProblem CheckSave(const ConfigPages& p, const TraceFn& trace) {
  // The netmask is tested only once the address passes.
  const bool staticOk = IP_Add_Check(p.ED_Static_IP_address.Text(), trace) &&
                        IP_Add_Check(p.ED_Static_Netmask.Text(), trace);
  const bool pppoeOk = !p.ED_PPPoE_ID.Text().empty() && !p.ED_PPPoE_Password.Text().empty();

  bool voipOk = false;
  switch (p.RG_Protocol.ItemIndex()) {
    case kH323:  // the gatekeeper entries are optional
      voipOk = true;
      break;
    case kSip:
      voipOk = IP_Add_Check(p.ED_SIP_Server_1.Text(), trace) && !p.ED_SIP_Username.Text().empty();
      break;
    case kMgcp:
      voipOk = IP_Add_Check(p.ED_MGCP_CallAgent_1.Text(), trace);
      break;
    default:
      // No protocol chosen: the script would carry no VoIP section at all, so
      // the entries count as missing rather than letting such a save through.
      voipOk = false;
      break;
  }

  switch (p.RG_Network_type.ItemIndex()) {
    case kPppoe:
      if (!pppoeOk) return SaveProblem::Pppoe;
      break;
    case kDhcp:
      break;
    case kFixed:
      if (!staticOk) return SaveProblem::StaticIp;
      break;
    default:
      return SaveProblem::NoNetworkType;
  }
  return voipOk ? SaveProblem::None : SaveProblem::Voip;
}

}  // namespace config
