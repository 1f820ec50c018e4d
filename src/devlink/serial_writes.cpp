// Serial writes that wait for the line with the windows alive, and the
// port's close.
#include <utility>

#include "devlink/device_link.h"

namespace devlink {

void DeviceLink::WriteSerial(std::string_view bytes) {
  if (serialClosing_) return;  // nothing goes out once closing has begun
  struct Writing {
    DeviceLink& link;
    const bool outer;
    explicit Writing(DeviceLink& l) : link(l), outer(!std::exchange(l.serialWriting_, true)) {}
    ~Writing() {
      if (!outer) return;
      link.serialWriting_ = false;
      // A pass further up the stack reads them when it ends.
      if (link.serialDeferred_ && !link.receiving_) link.heldRead_.Start();
    }
  } writing(*this);
  ComPort.WriteText(bytes);
}

void DeviceLink::CloseSerialPort() {
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
  ComPort.Close();
}

void DeviceLink::ReadHeldBytes() {
  heldRead_.Stop();
  if (receiving_ || serialWriting_ || !serialDeferred_) return;
  serialDeferred_ = false;
  if (!ComPort.Connected()) return;
  if (const int waiting = ComPort.PendingInputCount(); waiting > 0) ComPortRxChar(waiting);
}

}  // namespace devlink
