#pragma once
// Names of conversations and outcomes for trace lines, and the text of a
// failed write, shared by the conversations and their endings.
#include <exception>
#include <string>
#include <string_view>

#include "devlink/conversation_queue.h"

namespace devlink {

inline std::string_view NameOf(Conversation c) {
  switch (c) {
    case Conversation::ReadOut: return "Read-out";
    case Conversation::Save: return "Save";
    case Conversation::Poll: return "Status poll";
    case Conversation::Restart: return "Restart";
    case Conversation::Typed: return "Typed line";
    case Conversation::None: break;
  }
  return "Conversation";
}

inline std::string_view NameOf(Outcome o) {
  switch (o) {
    case Outcome::Complete: return "complete";
    case Outcome::Refused: return "refused";
    case Outcome::TimedOut: return "timed out";
    case Outcome::Closed: return "closed";
  }
  return "";
}

inline std::string ErrorText(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return "write failed";
  }
}

}  // namespace devlink
