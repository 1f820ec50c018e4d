#include "socket_error.h"

#include <cstring>

namespace comm {

ESocketError ESocketError::Platform(int code, std::string_view api) {
  std::string text = std::strerror(code);
  if (text.size() > 256) text.resize(256);
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
    text.pop_back();
  return ESocketError("Windows socket error: " + text + " (" + std::to_string(code) + "), on API '" +
                      std::string(api) + "'");
}

ESocketError ESocketError::Async(int code) {
  return ESocketError("Asynchronous socket error " + std::to_string(code));
}
ESocketError ESocketError::NoAddress() { return ESocketError("No address specified"); }
ESocketError ESocketError::CannotCreate() { return ESocketError("Can't create new socket"); }
ESocketError ESocketError::AlreadyOpen() { return ESocketError("Socket already open"); }
ESocketError ESocketError::ChangeWhileActive() {
  return ESocketError("Can't change value while socket is active");
}

}  // namespace comm
