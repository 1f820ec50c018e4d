#include "com_error.h"

#include <cerrno>

namespace comm {

namespace {
const char* const kTexts[] = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};
}  // namespace

std::string EComPort::Text(int number) {
  if (number < 1 || number > int(std::size(kTexts))) return "Unknown com port error";
  return kTexts[number - 1];
}

std::string EComPort::Message(int number, int code) {
  std::string text = Text(number);
  if (number == CE_InvalidAsync || number == CE_ConnChangeProp) return text;
  return text + " (system error " + std::to_string(code) + ")";
}

EComPort::EComPort(int number, int code)
    : platform::Error(Message(number, code)), number_(number), code_(code) {}

std::string EComPort::Advice() const {
  if (number_ != CE_OpenFailed) return {};
  if (code_ == EACCES || code_ == EPERM)
    return "You may not use this port: ask for membership of the dialout group, then log in again.";
  if (code_ == EBUSY) return "Another program holds this port: close it there, then try again.";
  return {};
}

}  // namespace comm
