#pragma once
// How a run of the command line ends: one status each, distinct, so that a
// shell or an automation tool can tell what happened.
#include <string_view>

#include "devlink/conversation_queue.h"

namespace cli {

enum class ExitStatus {
  Ok = 0,              ///< done; diff: no field differs
  Differs = 1,         ///< diff: some fields differ
  Usage = 2,           ///< the command line is wrong
  CannotConnect = 3,   ///< no transport, or no gateway answers on it
  LoginRefused = 4,    ///< the gateway refused the login
  ModelRefused = 5,    ///< the gateway's model is one the tool refuses
  GatewayRefused = 6,  ///< an error line ("%...") ended a conversation
  GatewaySilent = 7,   ///< the gateway stopped answering
  LinkClosed = 8,      ///< the transport closed, or a write failed
  ChecksFailed = 9,    ///< Save's checks refuse the configuration
  FileRejected = 10,   ///< the file cannot be read, taken or written
};

/// Every status, in order, for --help.
inline constexpr ExitStatus kExitStatuses[] = {
    ExitStatus::Ok,           ExitStatus::Differs,      ExitStatus::Usage,          ExitStatus::CannotConnect,
    ExitStatus::LoginRefused, ExitStatus::ModelRefused, ExitStatus::GatewayRefused, ExitStatus::GatewaySilent,
    ExitStatus::LinkClosed,   ExitStatus::ChecksFailed, ExitStatus::FileRejected,
};

std::string_view ExitText(ExitStatus status);

/// The status of a conversation that did not complete (a refused login is
/// the caller's to tell apart).
ExitStatus StatusOf(devlink::Outcome outcome);

}  // namespace cli
