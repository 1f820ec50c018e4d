#pragma once
// The main window: the tabbed configuration pages, the button bar that
// connects, disconnects, saves, restarts and exits, the cover panel that hides
// the pages until a gateway is logged in and accepted, the progress strip of
// the wait after a restart, and the three timers.
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>

#include "config/config_pages.h"
#include "config/detached_pages.h"
#include "devlink/link_windows.h"
#include "lang/message_texts.h"
#include "platform/ui/toolkit.h"

namespace devlink {
class ConnectionLog;
class DeviceLink;
class TF_Connection;
}  // namespace devlink

namespace ui {

class TF_Debug;
class TF_Login;
class TF_Review;

/// Also the windows as the device link sees them (LinkWindows): the button
/// bar's looks, the login dialog, the trace and the message texts.
class TF_morvel_config_main : public platform::Form, public devlink::LinkWindows {
 public:
  static constexpr const char* kVersion = "v2.35";
  /// Ticks after which the gauge timer stops (70 s at 700 ms).
  static constexpr int32_t kGaugeTicks = 100;
  /// Lines the debug trace and the status memo keep, the most recent ones:
  /// a gateway that streams lines cannot grow them without bound.
  static constexpr size_t kMemoLines = 10000;

  /// Builds the window hidden; FormCreate runs before the constructor returns.
  TF_morvel_config_main();
  ~TF_morvel_config_main() override;

  /// The link and the other windows this one drives, and the log that its
  /// trace and the link's traffic go to. Must be set before the window shows
  /// or the link reports anything.
  void Wire(devlink::DeviceLink& link, devlink::TF_Connection& connection, TF_Debug& debug, TF_Login& login,
            TF_Review& review, devlink::ConnectionLog& log);

  // Header.
  platform::Panel Panel1;
  platform::Image IMG_Morvel_Setup;
  platform::Image IMG_DIAL_UP;
  platform::Image IMG_Product;  // the third product banner
  platform::Panel Panel3;

  // Pages.
  platform::PageControl PageControl1;
  platform::TabSheet Tab_PSTN;
  platform::TabSheet Tab_LAN;
  platform::TabSheet Tab_PC;
  platform::TabSheet Tab_VoIP;
  platform::TabSheet Tab_Service;
  platform::TabSheet Tab_Auto_upgrade;
  platform::TabSheet Tab_Status_information;
  platform::TabSheet Tab_About;
  config::ConfigPages pages;

  // Button bar.
  platform::Panel Panel2;
  platform::Button BB_Connect;
  platform::Button BB_Disconnect;
  platform::Button BB_Import;
  platform::Button BB_Export;
  platform::Button BB_Save;
  platform::Button BB_Restart;
  platform::Button BB_Exit;

  // Cover panel with the splash picture and the restart progress strip; built
  // last so that it lies over the pages.
  platform::Panel P_main;
  platform::Image Image2;
  platform::Panel P_State;
  platform::Gauge Gauge1;

  platform::Timer T_State_Info;
  platform::Timer Timer1;
  platform::Timer Timer_gauge;

  platform::PopupMenu PopupMenu1;
  platform::MenuItem debug1;
  platform::MenuItem import1;  // Ctrl+I
  platform::MenuItem export1;  // Ctrl+E

  /// The fifteen message texts, filled by the language file.
  lang::MessageTexts messages;
  /// Ticks of the gauge timer since it was last started.
  int32_t gaugeTickCount = 0;

  // Event operations of the window.
  void FormCreate();
  void FormShow();
  void BB_ConnectClick();
  void BB_DisconnectClick();
  void BB_ExitClick();
  void FormCloseQuery(bool& canClose);
  void FormClose();
  void debug1Click();
  void Timer1Timer();
  void Timer_gaugeTimer();

  // Save and restart.
  void BB_SaveClick();
  void BB_RestartClick();

  // The configuration as a file (configuration_files.cpp).
  void BB_ExportClick();
  void BB_ImportClick();

  // Rules of the pages (tab_rules.cpp).
  void RG_Network_typeClick();
  void RB_DHCPClick();
  void RB_PPPoEClick();
  void RB_IPClick();
  void CB_Local_PCClick();
  void RB_Dial_upClick();
  void RB_All_upClick();
  void RB_PSTN_DHCPClick();
  void RB_PSTN_PPPoEClick();
  void RG_ProtocolClick();
  void CK_auto_upgradeClick();
  void SG_VoIP_Phone_numberDrawCell(int col, int row, const platform::Rect& rect,
                                    const platform::CellState& state, platform::Canvas& canvas);
  void PageControl1Change();
  void T_State_InfoTimer();

  // What the link asks of the windows (link_looks.cpp).
  void Trace(std::string line) override;
  std::string Message(lang::Msg m) const override;
  void ShowSerialConnected() override;
  void ShowTcpConnected() override;
  void ShowDisconnected() override;
  void ShowModelAccepted() override;
  void EnableSave(bool enabled) override;
  void ShowLogin() override;
  void CloseLogin() override;
  void ShowSaveProgress(int percent) override;
  void HideSaveProgress() override;
  void ShowRestarting() override;
  void ConversationEnded(const devlink::Ending& ending) override;
  void Untraced(Traffic way, std::string_view bytes) override;

  /// The time Export writes into a file's header (tests set a fixed one).
  std::function<std::time_t()> clock = [] { return std::time(nullptr); };

  /// Runs when the window has closed and the program should end.
  std::function<void()> onProgramEnd;

 private:
  /// Start values of the frame: the idle button bar, the hidden strip and
  /// debug entry, the gauge's range.
  void SetStartState();
  void AttachRules();
  /// The look of the 40-second wait after a restart: cover and strip shown,
  /// polling stopped, Connect and Exit disabled, the two timers running.
  void StartRestartWait();
  /// `question`, preceded by a warning while a save runs or waits.
  std::string QuestionOverASave(const std::string& question) const;
  /// The read-out has ended complete: the pages as it left them are kept
  /// for the review, and Save may be pressed.
  void KeepReadOut();
  /// Save's checks, shared by Export: on the first that fails, turns to its
  /// page and warns. True when all pass.
  bool CheckBeforeWriting();
  /// Save as the link allows it, once a gateway has been read out.
  void ApplySaveLook();
  /// Export while the pages show a configuration; Import then, or while no
  /// gateway is connected (a file prepared at the desk).
  void ApplyFileLook();

  devlink::DeviceLink* link_ = nullptr;
  devlink::TF_Connection* connection_ = nullptr;
  TF_Debug* debug_ = nullptr;
  TF_Login* login_ = nullptr;
  devlink::ConnectionLog* log_ = nullptr;
  TF_Review* review_ = nullptr;
  /// The pages as the last complete read-out of this connection left them,
  /// for the review before Save; kept in memory only.
  std::unique_ptr<config::DetachedPages> readOut_;
  /// The link allows Save (its transport and model check, no read-out running).
  bool saveAllowed_ = false;
  /// A serial save's progress put up the cover; `coverWasHidden_`: the pages
  /// were in view before it.
  bool saveProgressShown_ = false;
  bool coverWasHidden_ = false;
};

}  // namespace ui
