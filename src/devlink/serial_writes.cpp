// Serial writes that wait for the line with the windows alive, and the
// progress of a save over serial.
#include <utility>

#include "devlink/device_link.h"

namespace devlink {

void DeviceLink::WriteSerial(std::string_view bytes) {
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

void DeviceLink::ReadHeldBytes() {
  heldRead_.Stop();
  if (receiving_ || serialWriting_ || !serialDeferred_) return;
  serialDeferred_ = false;
  if (!ComPort.Connected()) return;
  if (const int waiting = ComPort.PendingInputCount(); waiting > 0) ComPortRxChar(waiting);
}

void DeviceLink::ShowSaveProgress(int percent) {
  if (record_.LinkMode == kLinkSerial) windows_.ShowSaveProgress(percent);
}

}  // namespace devlink
