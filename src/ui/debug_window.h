#pragma once
// The debug window: the trace of the conversation with the gateway, and a
// small console to send a hand-typed line and to list the words of the line
// being received; the trace can be saved to a file of the user's choice.
#include "platform/ui/toolkit.h"

namespace devlink {
class DeviceLink;
}

namespace ui {

class TF_Debug : public platform::Form {
 public:
  TF_Debug();

  /// The link whose words are listed and to which typed lines go.
  void Wire(devlink::DeviceLink& link) { link_ = &link; }

  /// The trace; other windows append one line per event.
  platform::Memo Display;
  platform::Panel Panel2;
  platform::Edit Edit1;
  platform::Button Button2;  // ".."
  platform::Button Button1;  // "Clear"
  platform::Button BB_SaveTrace;
  platform::Button Button3;  // "argv[..] Show"

  void Button1Click();
  void Button2Click();
  void Button3Click();
  /// Asks for a file and writes the trace there, one line each, as the
  /// connection log writes its lines (secrets masked); a file that cannot
  /// be written is said in an error box.
  void BB_SaveTraceClick();

 private:
  devlink::DeviceLink* link_ = nullptr;
};

}  // namespace ui
