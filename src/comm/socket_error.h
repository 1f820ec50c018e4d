#pragma once
// The error the TCP client socket raises.
#include <string>
#include <string_view>

#include "platform/ui/errors.h"

namespace comm {

class ESocketError : public platform::Error {
 public:
  using platform::Error::Error;

  /// A platform call failed: "Windows socket error: <description> (<code>),
  /// on API '<call>'", the description being strerror's text without
  /// trailing blanks, line ends and full stops, at most 256 characters.
  static ESocketError Platform(int code, std::string_view api);
  /// A notification reported an error that the OnError handler left.
  static ESocketError Async(int code);
  static ESocketError NoAddress();
  static ESocketError CannotCreate();
  static ESocketError AlreadyOpen();
  static ESocketError ChangeWhileActive();
};

}  // namespace comm
