#include "ui/main_window.h"

#include <initializer_list>

#include "config/address_checks.h"
#include "config/save_checks.h"
#include "config/script_writer.h"
#include "devlink/connection.h"
#include "devlink/device_link.h"
#include "lang/fixed_texts.h"
#include "lang/language_convert.h"
#include "ui/debug_window.h"
#include "ui/layouts.h"
#include "ui/login_dialog.h"
#include "ui/review_window.h"

namespace ui {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::Rect;

namespace {

config::PageSlots Slots(TF_morvel_config_main& w) {
  return {&w.Tab_PSTN,
          &w.Tab_LAN,
          &w.Tab_PC,
          &w.Tab_VoIP,
          &w.Tab_Service,
          &w.Tab_Auto_upgrade,
          &w.Tab_Status_information,
          &w.Tab_About};
}

}  // namespace

TF_morvel_config_main::TF_morvel_config_main()
    : Form("F_morvel_config_main"),
      Panel1(this, "Panel1"),
      IMG_Morvel_Setup(&Panel1, "IMG_Morvel_Setup"),
      IMG_DIAL_UP(&Panel1, "IMG_DIAL_UP"),
      IMG_Product(&Panel1, "IMG_Product"),
      Panel3(this, "Panel3"),
      PageControl1(this, "PageControl1"),
      Tab_PSTN(&PageControl1, "Tab_PSTN"),
      Tab_LAN(&PageControl1, "Tab_LAN"),
      Tab_PC(&PageControl1, "Tab_PC"),
      Tab_VoIP(&PageControl1, "Tab_VoIP"),
      Tab_Service(&PageControl1, "Tab_Service"),
      Tab_Auto_upgrade(&PageControl1, "Tab_Auto_upgrade"),
      Tab_Status_information(&PageControl1, "Tab_Status_information"),
      Tab_About(&PageControl1, "Tab_About"),
      pages(Slots(*this)),
      Panel2(this, "Panel2"),
      BB_Connect(&Panel2, "BB_Connect"),
      BB_Disconnect(&Panel2, "BB_Disconnect"),
      BB_Import(&Panel2, "BB_Import"),
      BB_Export(&Panel2, "BB_Export"),
      BB_Save(&Panel2, "BB_Save"),
      BB_Restart(&Panel2, "BB_Restart"),
      BB_Exit(&Panel2, "BB_Exit"),
      P_main(this, "P_main"),
      Image2(&P_main, "Image2"),
      P_State(&P_main, "P_State"),
      Gauge1(&P_State, "Gauge1"),
      T_State_Info("T_State_Info", 20000),
      Timer1("Timer1", 40000),
      Timer_gauge("Timer_gauge", 700),
      PopupMenu1(this, "PopupMenu1"),
      debug1(&PopupMenu1, "debug1"),
      import1(&PopupMenu1, "import1"),
      export1(&PopupMenu1, "export1") {
  SetStartState();
  LayOutMainWindow(*this);
  AttachRules();
  FormCreate();
}

TF_morvel_config_main::~TF_morvel_config_main() = default;

void TF_morvel_config_main::Wire(devlink::DeviceLink& link, devlink::TF_Connection& connection,
                                 TF_Debug& debug, TF_Login& login, TF_Review& review,
                                 devlink::ConnectionLog& log) {
  link_ = &link;
  connection_ = &connection;
  debug_ = &debug;
  login_ = &login;
  log_ = &log;
  review_ = &review;
}

void TF_morvel_config_main::SetStartState() {
  SetPopupMenu(&PopupMenu1);
  BB_Connect.SetDefault(true);
  BB_Disconnect.SetDefault(true);
  BB_Disconnect.Hide();
  BB_Save.SetEnabled(false);
  BB_Restart.SetEnabled(false);
  P_State.Hide();
  Gauge1.SetRange(0, 100);
  Gauge1.SetProgress(0);
  debug1.Hide();
  pages.M_State_Info.SetMaxLines(kMemoLines);
  debug1.SetShortCut(platform::shortcut::kCtrl | platform::shortcut::kDelete);
  // Shortcuts of the two file buttons, listed in no menu.
  import1.Hide();
  import1.SetShortCut(platform::shortcut::kCtrl | 'I');
  export1.Hide();
  export1.SetShortCut(platform::shortcut::kCtrl | 'E');
  ApplyFileLook();
}

void TF_morvel_config_main::AttachRules() {
  // Every event operation runs under the general error handler, which shows
  // what escapes it (a serial write failing, for one) and lets the program go on.
  onShow = [this] { platform::Guard([this] { FormShow(); }); };
  onCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  onClose = [this] { FormClose(); };
  BB_Connect.onClick = [this] { platform::Guard([this] { BB_ConnectClick(); }); };
  BB_Disconnect.onClick = [this] { platform::Guard([this] { BB_DisconnectClick(); }); };
  BB_Save.onClick = [this] { platform::Guard([this] { BB_SaveClick(); }); };
  BB_Restart.onClick = [this] { platform::Guard([this] { BB_RestartClick(); }); };
  BB_Exit.onClick = [this] { platform::Guard([this] { BB_ExitClick(); }); };
  debug1.onClick = [this] { platform::Guard([this] { debug1Click(); }); };
  BB_Import.onClick = [this] { platform::Guard([this] { BB_ImportClick(); }); };
  BB_Export.onClick = [this] { platform::Guard([this] { BB_ExportClick(); }); };
  import1.onClick = [this] { BB_Import.Click(); };
  export1.onClick = [this] { BB_Export.Click(); };
  // The file buttons follow the cover and the Connect button, whoever changes them.
  for (platform::Control* c : std::initializer_list<platform::Control*>{&P_main, &BB_Connect})
    c->Observe([this](platform::Control&, platform::Prop p) {
      if (p == platform::Prop::Visible || p == platform::Prop::Enabled) ApplyFileLook();
    });
  Timer1.onTimer = [this] { Timer1Timer(); };
  Timer_gauge.onTimer = [this] { Timer_gaugeTimer(); };
  T_State_Info.onTimer = [this] { T_State_InfoTimer(); };
  PageControl1.onChange = [this] { platform::Guard([this] { PageControl1Change(); }); };

  // Value rules run inside whatever changed the value (a click, the reply
  // interpreter, another rule), so they are not guarded on their own.
  config::ConfigPages& p = pages;
  p.RG_Network_type.onClick = [this] { RG_Network_typeClick(); };
  p.RB_DHCP.onClick = [this] { RB_DHCPClick(); };
  p.RB_PPPoE.onClick = [this] { RB_PPPoEClick(); };
  p.RB_IP.onClick = [this] { RB_IPClick(); };
  p.CB_Local_PC.onClick = [this] { CB_Local_PCClick(); };
  p.RB_Dial_up.onClick = [this] { RB_Dial_upClick(); };
  p.RB_All_up.onClick = [this] { RB_All_upClick(); };
  p.RB_PSTN_DHCP.onClick = [this] { RB_PSTN_DHCPClick(); };
  p.RB_PSTN_PPPoE.onClick = [this] { RB_PSTN_PPPoEClick(); };
  p.RG_Protocol.onClick = [this] { RG_ProtocolClick(); };
  p.CK_auto_upgrade.onClick = [this] { CK_auto_upgradeClick(); };
  p.SG_VoIP_Phone_number.onDrawCell = [this](int col, int row, const Rect& rect,
                                             const platform::CellState& state, platform::Canvas& canvas) {
    SG_VoIP_Phone_numberDrawCell(col, row, rect, state, canvas);
  };
  p.ED_Static_IP_address.onExit = [this] { config::ED_Static_IP_addressExit(pages); };
}

void TF_morvel_config_main::FormCreate() {
  Rect cover = P_main.Geometry();
  cover.top = Panel1.Geometry().Bottom();
  P_main.SetGeometry(cover);

  platform::StringGrid& grid = pages.SG_VoIP_Phone_number;
  grid.SetCell(0, 0, "Port");
  grid.SetCell(1, 0, "Type");
  grid.SetCell(2, 0, "Phone number");
}

void TF_morvel_config_main::FormShow() {
  Tab_PSTN.SetTabVisible(false);
  pages.GB_Area_Number.Hide();
  IMG_Product.Hide();
  IMG_Morvel_Setup.Show();
  IMG_DIAL_UP.Hide();
  pages.L_Morvel_Version.SetCaption(kVersion);
  lang::Language_Convert(*this, *connection_, *login_, messages, lang::CurrentDirectory());
}

void TF_morvel_config_main::BB_ConnectClick() {
  link_->ResetForConnect();
  connection_->Show();
  P_main.Show();
}

void TF_morvel_config_main::BB_DisconnectClick() {
  if (platform::ShowMessageBox(QuestionOverASave(messages[lang::Msg::EndConnection]), "Confirm",
                               Icon::Question, Buttons::OkCancel) != Answer::Ok)
    return;
  link_->Disconnect();
  T_State_Info.Stop();
  P_main.Show();
}

void TF_morvel_config_main::BB_ExitClick() { Close(); }

void TF_morvel_config_main::FormCloseQuery(bool& canClose) {
  canClose = false;
  if (platform::ShowMessageBox(QuestionOverASave(messages[lang::Msg::CloseProgram]), "Confirm",
                               Icon::Question, Buttons::YesNo) != Answer::Yes)
    return;
  link_->SendEnd();
  canClose = true;
}

void TF_morvel_config_main::FormClose() {
  link_->CloseSerial();
  if (onProgramEnd) onProgramEnd();
}

void TF_morvel_config_main::debug1Click() { debug_->Show(); }

void TF_morvel_config_main::Timer1Timer() {
  P_State.Hide();
  Timer1.Stop();
  BB_Connect.SetEnabled(true);
  BB_Exit.SetEnabled(true);
}

void TF_morvel_config_main::Timer_gaugeTimer() {
  Gauge1.SetProgress(Gauge1.Progress() + 1);
  ++gaugeTickCount;
  if (gaugeTickCount >= kGaugeTicks) Timer_gauge.Stop();
}

void TF_morvel_config_main::BB_SaveClick() {
  // From the click until it ends, a save takes no second click.
  if (link_->Asked(devlink::Conversation::Save)) return;
  link_->LeaveStatusMode();
  if (!readOut_ || !CheckBeforeWriting()) return;
  const std::vector<std::string> lines = config::ConfigurationScript(pages);
  // The link may have closed while the review was open: Save says whether
  // a save can still go.
  if (!review_->Confirm(readOut_->pages, pages, lines) || !BB_Save.Enabled()) return;
  // The script is fixed here: exactly the lines reviewed go out, whatever
  // the pages hold when the gateway asks for them.
  link_->BeginSave(lines);
}

bool TF_morvel_config_main::CheckBeforeWriting() {
  const auto refused = config::CheckBeforeWriting(pages, devlink::OneWordFields(pages), messages,
                                                  [this](std::string line) { Trace(std::move(line)); });
  if (!refused) return true;
  if (refused->text.empty()) return false;  // no network type chosen: nothing to say
  PageControl1.SetActivePage(refused->page);
  platform::ShowMessageBox(refused->text, "Warning", Icon::Warning, Buttons::Ok);
  return false;
}

void TF_morvel_config_main::BB_RestartClick() {
  if (link_->Asked(devlink::Conversation::Restart)) return;  // asked already: it follows what runs
  if (platform::ShowMessageBox(messages[lang::Msg::Restart], "Confirm", Icon::Question, Buttons::YesNo) !=
      Answer::Yes)
    return;
  // Now, or once the save or read-out that runs has ended; the link starts
  // the wait (ShowRestarting) when "reboot-system" has gone.
  link_->Reboot();
}

std::string TF_morvel_config_main::QuestionOverASave(const std::string& question) const {
  if (!link_->Asked(devlink::Conversation::Save)) return question;
  return lang::fixed::SaveWillBeLost() + "\r" + question;
}

void TF_morvel_config_main::StartRestartWait() {
  P_main.Show();
  T_State_Info.Stop();
  P_State.Show();
  Gauge1.SetProgress(0);
  Timer1.Start();
  BB_Connect.SetEnabled(false);
  BB_Exit.SetEnabled(false);
  gaugeTickCount = 0;
  Timer_gauge.Start();
}

}  // namespace ui
