// The connection dialog's layout: a fixed dialog above the main window, the
// serial frame over the TCP/IP frame, OK and Cancel in a bar at the bottom.
#include "devlink/connection.h"
#include "platform/ui/layout.h"
#include "ui/layouts.h"

namespace ui {

void LayOutConnectionDialog(devlink::TF_Connection& d) {
  platform::ApplyLayout({
      {d, 0, 0, 319, 180, "Connect"},
      {d.GB_Serial, 8, 4, 303, 56},
      {d.RB_Serial, 12, 0, 60, 17, "Serial"},
      {d.L_port, 24, 26, 40, 13, "Port"},
      {d.CB_Serial, 80, 22, 120, 21},
      {d.GB_TCP, 8, 64, 303, 72},
      {d.RB_TCP, 12, 0, 60, 17, "TCP/IP"},
      {d.L_Host, 24, 24, 40, 13, "Host"},
      {d.ED_host, 80, 20, 200, 21},
      {d.L_TCP_port, 24, 48, 50, 13, "TCP port"},
      {d.ED_TCP, 80, 44, 60, 21},
      {d.P_Buttons, 0, 140, 319, 40, "", platform::Align::Bottom},
      {d.BB_Connect, 144, 8, 80, 25, "&OK"},
      {d.BB_Cancel, 230, 8, 80, 25, "&Cancel"},
  });
  d.SetBorderStyle(platform::Form::Border::FixedSingle);
  d.SetStayOnTop(true);
  d.SetPlacement(platform::Form::Placement::ScreenCenter);
  d.BB_Connect.SetGlyph(platform::Button::Glyph::Ok);
  d.BB_Cancel.SetGlyph(platform::Button::Glyph::Abort);
  d.BB_Cancel.SetCancel(true);
  platform::NameInputs({{d.L_port, d.CB_Serial}, {d.L_Host, d.ED_host}, {d.L_TCP_port, d.ED_TCP}});
}

}  // namespace ui
