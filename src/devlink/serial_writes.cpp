// Serial writes that wait for the line with the windows alive, and the
// port's close.
#include <utility>

#include "devlink/transports.h"

namespace devlink {

void Transports::WriteSerial(std::string_view bytes) {
  if (serialClosing_) return;  // nothing goes out once closing has begun
  struct Writing {
    Transports& link;
    const bool outer;
    explicit Writing(Transports& l) : link(l), outer(!std::exchange(l.serialWriting_, true)) {}
    ~Writing() {
      if (!outer) return;
      link.serialWriting_ = false;
      // A pass further up the stack reads them when it ends.
      if (link.serialDeferred_ && !link.receiving_) link.heldRead_.Start();
    }
  } writing(*this);
  port_.WriteText(bytes);
}

void Transports::CloseSerialPort() {
  // Closing runs hand-overs the port had already queued: their bytes belong
  // to a conversation that is over, and a query they would cause must not
  // follow "end-morvel".
  const bool outer = !std::exchange(serialClosing_, true);
  struct Reset {
    bool& flag;
    bool outer;
    ~Reset() {
      if (outer) flag = false;
    }
  } reset{serialClosing_, outer};
  port_.Close();
}

void Transports::ReadHeldBytes() {
  heldRead_.Stop();
  if (receiving_ || serialWriting_ || !serialDeferred_) return;
  serialDeferred_ = false;
  if (!port_.Connected()) return;
  if (const int waiting = port_.PendingInputCount(); waiting > 0) ComPortRxChar(waiting);
}

}  // namespace devlink
