// The rules that show, hide, enable and disable the fields of the pages by the
// modes chosen, the painting of the phone-number grid, and the status polling.
//
// Each rule runs when its control's value really changes, whether the user or
// the program changed it; a rule may change another control and so run that
// one's rule at once. The nesting ends because an unchanged value runs nothing.
#include "devlink/device_link.h"
#include "ui/main_window.h"

namespace ui {

using platform::Colour;

void TF_morvel_config_main::RG_Network_typeClick() {
  config::ConfigPages& p = pages;
  switch (p.RG_Network_type.ItemIndex()) {
    case config::kPppoe:
      p.GB_Static_IP_address.Hide();
      p.GB_Common.Hide();
      p.GB_DHCP.Hide();
      p.GB_PPPoE.Show();
      p.RB_DHCP.SetEnabled(true);
      p.RB_PPPoE.SetEnabled(true);
      p.RB_IP.SetEnabled(false);
      break;
    case config::kDhcp:
      p.GB_Static_IP_address.Hide();
      p.GB_Common.Show();
      p.GB_DHCP.Show();
      p.GB_PPPoE.Hide();
      p.RB_DHCP.SetEnabled(true);
      p.RB_PPPoE.SetEnabled(false);
      p.RB_IP.SetEnabled(false);
      break;
    case config::kFixed:
      p.GB_Static_IP_address.Show();
      p.GB_Common.Show();
      p.GB_DHCP.Hide();
      p.GB_PPPoE.Hide();
      p.RB_DHCP.SetEnabled(true);
      p.RB_PPPoE.SetEnabled(false);
      p.RB_IP.SetEnabled(true);
      break;
    default: return;
  }
  // Every change of the network type puts the PC attachment back to DHCP.
  p.RB_DHCP.SetChecked(true);
  p.RB_PPPoE.SetChecked(false);
  p.RB_IP.SetChecked(false);
}

// Run as the radios' onClick these change nothing (the set has already
// unchecked the others); called directly, each still chooses its radio.
void TF_morvel_config_main::RB_DHCPClick() { pages.RB_DHCP.SetChecked(true); }
void TF_morvel_config_main::RB_PPPoEClick() { pages.RB_PPPoE.SetChecked(true); }
void TF_morvel_config_main::RB_IPClick() { pages.RB_IP.SetChecked(true); }

void TF_morvel_config_main::CB_Local_PCClick() {
  config::ConfigPages& p = pages;
  platform::Control* lanControls[] = {&p.RG_Network_type, &p.GB_Common, &p.GB_Static_IP_address, &p.GB_PPPoE,
                                      &p.GB_DHCP};
  if (p.CB_Local_PC.Checked()) {
    for (platform::Control* c : lanControls) c->SetEnabled(false);
    p.RB_PSTN_DHCP.SetEnabled(true);
    p.RB_PSTN_PPPoE.SetEnabled(true);
    if (p.RB_Dial_up.Checked()) RB_Dial_upClick();
    if (p.RB_PSTN_DHCP.Checked())
      RB_PSTN_DHCPClick();
    else
      RB_PSTN_PPPoEClick();
  } else {
    for (platform::Control* c : lanControls) c->SetEnabled(true);
    p.RB_PSTN_DHCP.SetEnabled(false);
    p.RB_PSTN_PPPoE.SetEnabled(false);
  }
}

void TF_morvel_config_main::RB_Dial_upClick() {
  // With Dial-up only the PPPoE attachment can be chosen.
  pages.RB_PSTN_PPPoE.SetChecked(true);
  pages.RB_PSTN_DHCP.SetEnabled(false);
}

void TF_morvel_config_main::RB_All_upClick() {
  if (pages.CB_Local_PC.Checked()) pages.RB_PSTN_DHCP.SetEnabled(true);
}

void TF_morvel_config_main::RB_PSTN_DHCPClick() { pages.RG_Network_type.SetItemIndex(config::kDhcp); }

void TF_morvel_config_main::RB_PSTN_PPPoEClick() {
  pages.ED_PPPoE_ID.SetText(pages.ED_PSTN_login.Text());
  pages.ED_PPPoE_Password.SetText(pages.ED_PSTN_password.Text());
  pages.RG_Network_type.SetItemIndex(config::kPppoe);
}

void TF_morvel_config_main::RG_ProtocolClick() {
  config::ConfigPages& p = pages;
  const int item = p.RG_Protocol.ItemIndex();
  if (item < config::kH323 || item > config::kMgcp) return;
  p.GB_Gatekeeper.SetVisible(item == config::kH323);
  p.GB_SIP.SetVisible(item == config::kSip);
  p.GB_MGCP.SetVisible(item == config::kMgcp);
  // Under MGCP the phone numbers cannot be edited and the grid looks inactive.
  const bool numbers = item != config::kMgcp;
  p.SG_VoIP_Phone_number.SetEnabled(numbers);
  p.SG_VoIP_Phone_number.SetBackground(
      Colour::Sys(numbers ? Colour::System::Window : Colour::System::BtnFace));
}

void TF_morvel_config_main::CK_auto_upgradeClick() {
  config::ConfigPages& p = pages;
  const bool on = p.CK_auto_upgrade.Checked();
  for (platform::Control* c :
       {static_cast<platform::Control*>(&p.ED_server_URL),
        static_cast<platform::Control*>(&p.ED_auto_upgrade_ID),
        static_cast<platform::Control*>(&p.ED_auto_upgrade_password),
        static_cast<platform::Control*>(&p.L_server_url), static_cast<platform::Control*>(&p.L_auto_ID),
        static_cast<platform::Control*>(&p.L_auto_password)})
    c->SetEnabled(on);
}

void TF_morvel_config_main::SG_VoIP_Phone_numberDrawCell(int col, int row, const platform::Rect& rect,
                                                         const platform::CellState& state,
                                                         platform::Canvas& canvas) {
  const platform::StringGrid& grid = pages.SG_VoIP_Phone_number;
  const auto centredX = [&](const std::string& text) {
    return rect.left + (rect.Right() - rect.left - canvas.TextWidth(text)) / 2;
  };

  // The brush holds the cell's usual background, preset by the grid.
  const std::string& text = grid.Cell(col, row);
  canvas.fontColour = platform::kBlack;
  canvas.FillRect(rect);
  canvas.TextOut(centredX(text), rect.top + 2, text);

  // A selected cell is framed in the grid's own colour instead of the
  // highlight colour, its text one pixel lower.
  if (state.selected) {
    canvas.brush = grid.Background();
    canvas.Rectangle(rect);
    canvas.fontColour = platform::kBlack;
    const std::string& again = grid.Cell(col, row);
    canvas.TextOut(centredX(again), rect.top + 3, again);
  }
}

void TF_morvel_config_main::PageControl1Change() {
  // The link sends the poll when no read-out or save runs, else right after;
  // the memo is cleared at once all the same, so no earlier status shows
  // while the poll waits.
  if (PageControl1.ActivePage() == &Tab_Status_information) {
    T_State_Info.Start();
    pages.M_State_Info.Clear();
    link_->Poll(devlink::PollStart::PageChosen);
  } else {
    T_State_Info.Stop();
    link_->CancelPoll();
  }
}

void TF_morvel_config_main::T_State_InfoTimer() { link_->Poll(devlink::PollStart::Tick); }

}  // namespace ui
