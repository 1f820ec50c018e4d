#pragma once
// The error every serial port operation raises: a numbered failure plus the
// platform's error code (errno, or -1 when there is none).
#include <string>

#include "platform/ui/errors.h"

namespace comm {

/// Error numbers of EComPort; the numbering is part of the component's
/// contract (callers and users quote them), so it never changes.
enum ComErrorNumber : int {
  CE_OpenFailed = 1,
  CE_WriteFailed = 2,
  CE_ReadFailed = 3,
  CE_InvalidAsync = 4,
  CE_PurgeFailed = 5,
  CE_AsyncCheck = 6,
  CE_SetState = 7,
  CE_SetTimeouts = 8,
  CE_SetupCom = 9,
  CE_ClearCom = 10,
  CE_ModemStat = 11,
  CE_Escape = 12,
  CE_TransmitChar = 13,
  CE_ConnChangeProp = 14,
  CE_EnumPorts = 15,
  CE_StoreFailed = 16,
  CE_LoadFailed = 17,
  CE_RegFailed = 18,
  CE_LedStateFailed = 19,
  CE_ThreadCreated = 20,
  CE_WaitFailed = 21,
  CE_HasLink = 22,
  CE_RegError = 23,
};

class EComPort : public platform::Error {
 public:
  /// `code` is the errno of the failing call, -1 when there is none.
  EComPort(int number, int code);

  int Number() const { return number_; }
  int Code() const { return code_; }

  /// One line for the user when the cause is a common, fixable one:
  /// missing permission (dialout group) or a port held by another program.
  std::string Advice() const override;

  /// The fixed text of an error number ("Unable to open com port" for 1).
  static std::string Text(int number);
  /// The full message: the text, plus " (system error N)" for every
  /// number except 4 and 14.
  static std::string Message(int number, int code);

 private:
  int number_;
  int code_;
};

}  // namespace comm
