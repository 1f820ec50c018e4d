#pragma once
// Start-up: the windows of the program, each a single instance that
// lives until the program ends and is reachable program-wide.
#include <functional>
#include <memory>

#include "devlink/connection.h"
#include "devlink/connection_log.h"
#include "devlink/device_link.h"
#include "ui/debug_window.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/review_window.h"

namespace ui {

/// The program-wide windows; set while a `Program` exists, null otherwise.
extern TF_morvel_config_main* F_morvel_config_main;
extern devlink::TF_Connection* F_Connection;
extern TF_Debug* F_Debug;
extern TF_Login* F_Login;
extern TF_Review* F_Review;

/// Creates the main window (whose FormCreate runs during creation), the
/// device link, then the connection dialog (and lays it out), the debug
/// window, the login dialog and the review before Save, all hidden, and the
/// connection log (in its default place), and wires them to one another.
/// Only one may exist at a time.
class Program {
 public:
  /// `onEnd` runs when the main window has closed; without one the Qt event
  /// loop is told to quit.
  explicit Program(std::function<void()> onEnd = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  /// Shows the main window, which runs its FormShow (the language file among
  /// it); an error there is shown by the general error handler.
  void Start();

  TF_morvel_config_main& Main() { return *main_; }
  devlink::DeviceLink& Link() { return *link_; }
  devlink::TF_Connection& Connection() { return *connection_; }
  TF_Debug& Debug() { return *debug_; }
  TF_Login& Login() { return *login_; }
  devlink::ConnectionLog& Log() { return *log_; }
  TF_Review& Review() { return *review_; }

 private:
  std::unique_ptr<TF_morvel_config_main> main_;
  std::unique_ptr<devlink::DeviceLink> link_;
  std::unique_ptr<devlink::TF_Connection> connection_;
  std::unique_ptr<TF_Debug> debug_;
  std::unique_ptr<TF_Login> login_;
  std::unique_ptr<devlink::ConnectionLog> log_;
  std::unique_ptr<TF_Review> review_;
};

}  // namespace ui
