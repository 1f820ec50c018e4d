#include "cli/exit_status.h"

#include "lang/fixed_texts.h"

namespace cli {

std::string_view ExitText(ExitStatus status) {
  namespace texts = lang::fixed;
  switch (status) {
    case ExitStatus::Ok: return texts::kExitOk;
    case ExitStatus::Differs: return texts::kExitDiffers;
    case ExitStatus::Usage: return texts::kExitUsage;
    case ExitStatus::CannotConnect: return texts::kExitCannotConnect;
    case ExitStatus::LoginRefused: return texts::kExitLoginRefused;
    case ExitStatus::ModelRefused: return texts::kExitModelRefused;
    case ExitStatus::GatewayRefused: return texts::kExitGatewayRefused;
    case ExitStatus::GatewaySilent: return texts::kExitGatewaySilent;
    case ExitStatus::LinkClosed: return texts::kExitLinkClosed;
    case ExitStatus::ChecksFailed: return texts::kExitChecksFailed;
    case ExitStatus::FileRejected: return texts::kExitFileRejected;
  }
  return {};
}

ExitStatus StatusOf(devlink::Outcome outcome) {
  switch (outcome) {
    case devlink::Outcome::Complete: return ExitStatus::Ok;
    case devlink::Outcome::Refused: return ExitStatus::GatewayRefused;
    case devlink::Outcome::TimedOut: return ExitStatus::GatewaySilent;
    case devlink::Outcome::Closed: return ExitStatus::LinkClosed;
  }
  return ExitStatus::LinkClosed;
}

}  // namespace cli
