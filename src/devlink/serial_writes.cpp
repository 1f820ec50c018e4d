// Serial writes that wait for the line with the windows alive, and the
// progress of a save over serial.
#include <utility>

#include "devlink/connection.h"

namespace devlink {

void TF_Connection::WriteSerial(std::string_view bytes) {
  struct Writing {
    TF_Connection& link;
    const bool outer;
    explicit Writing(TF_Connection& l) : link(l), outer(!std::exchange(l.serialWriting_, true)) {}
    ~Writing() {
      if (!outer) return;
      link.serialWriting_ = false;
      // A pass further up the stack reads them when it ends.
      if (link.serialDeferred_ && !link.receiving_) link.heldRead_.Start();
    }
  } writing(*this);
  ComPort.WriteText(bytes);
}

void TF_Connection::ReadHeldBytes() {
  heldRead_.Stop();
  if (receiving_ || serialWriting_ || !serialDeferred_) return;
  serialDeferred_ = false;
  if (!ComPort.Connected()) return;
  if (const int waiting = ComPort.PendingInputCount(); waiting > 0) ComPortRxChar(waiting);
}

void TF_Connection::ShowSaveProgress(int percent) {
  if (link.LinkMode != kLinkSerial || !peers_.cover || !peers_.progressStrip || !peers_.progress) return;
  if (!std::exchange(saveProgressShown_, true)) {
    coverWasHidden_ = !peers_.cover->Visible();
    peers_.cover->Show();
    peers_.progressStrip->Show();
  }
  peers_.progress->SetProgress(percent);
}

void TF_Connection::HideSaveProgress() {
  if (!std::exchange(saveProgressShown_, false)) return;
  peers_.progressStrip->Hide();
  if (coverWasHidden_) peers_.cover->Hide();
}

}  // namespace devlink
