// Writes PNG pictures of every window and page of the program, for people to
// look at. With a gateway address it first runs a visit (connect over TCP,
// log in, read out) so the pages show a real read-out. With --dark the
// windows take a dark palette, as a desktop's dark theme gives one; the
// scale factor comes from Qt's QT_SCALE_FACTOR.
//
//   morvel_screenshots <out-dir> [--tcp HOST:PORT | --serial PORT] [--login ID --password PW] [--dark]
#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/qt/message_boxes.h"
#include "platform/qt/view.h"
#include "platform/ui/toolkit.h"
#include "program_view.h"
#include "ui/program.h"

namespace {

bool Grab(QWidget* w, const QString& dir, const QString& name) {
  QApplication::processEvents();
  const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
  const bool ok = w->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

/// Answers every message box with its first button, noting what it said.
class NotedBoxes : public platform::MessageBoxes {
 public:
  platform::Answer Show(const platform::MessageBox& box) override {
    std::printf("message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
    return box.buttons == platform::Buttons::YesNo ? platform::Answer::Yes : platform::Answer::Ok;
  }
};

QPalette DarkPalette() {
  const QColor window(50, 50, 52), base(32, 32, 34), text(228, 228, 228), dim(128, 128, 128);
  const QColor blue(52, 132, 220);
  QPalette p(window);
  for (const auto& [role, colour] : {std::pair{QPalette::Window, window},
                                     {QPalette::WindowText, text},
                                     {QPalette::Base, base},
                                     {QPalette::AlternateBase, QColor(44, 44, 46)},
                                     {QPalette::ToolTipBase, base},
                                     {QPalette::ToolTipText, text},
                                     {QPalette::PlaceholderText, dim},
                                     {QPalette::Text, text},
                                     {QPalette::Button, window},
                                     {QPalette::ButtonText, text},
                                     {QPalette::BrightText, QColor(255, 90, 90)},
                                     {QPalette::Light, QColor(78, 78, 80)},
                                     {QPalette::Midlight, QColor(64, 64, 66)},
                                     {QPalette::Mid, QColor(40, 40, 42)},
                                     {QPalette::Dark, QColor(24, 24, 26)},
                                     {QPalette::Shadow, QColor(10, 10, 10)},
                                     {QPalette::Highlight, blue},
                                     {QPalette::HighlightedText, Qt::white},
                                     {QPalette::Link, blue}})
    p.setColor(role, colour);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, dim);
  return p;
}
/// Runs `onOpen` on each modal window as it opens, then closes it (Cancel).
class ActingModalForms : public platform::ModalForms {
 public:
  void Run(platform::Form& form) override {
    if (onOpen) onOpen(form);
    if (form.Visible()) form.Close();
  }
  std::function<void(platform::Form&)> onOpen;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(
        stderr, "usage: %s <out-dir> [--tcp HOST:PORT | --serial PORT] [--login ID --password PW] [--dark]\n",
        argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  platform::qt::ApplyLook(app);
  NotedBoxes boxes;
  platform::InstallMessageBoxes(&boxes);
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  std::string host, port, serial, id = "admin", password = "admin";
  for (int i = 2; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--dark") {
      app.setPalette(DarkPalette());
      continue;
    }
    if (i + 1 == argc) break;
    const std::string value = argv[++i];
    if (option == "--tcp") {
      host = value.substr(0, value.find(':'));
      port = value.substr(value.find(':') + 1);
    } else if (option == "--serial") {
      serial = value;
    } else if (option == "--login") {
      id = value;
    } else if (option == "--password") {
      password = value;
    }
  }

  bool ok = true;
  {
    ui::Program program([] {});
    desktop::ProgramView view(program, desktop::FindAssetsDir());
    program.Start();
    auto& main = program.Main();
    ok &= Grab(view.Main().Window(), out, QStringLiteral("main_start"));

    main.BB_Connect.Click();
    ok &= Grab(view.Connection().Window(), out, QStringLiteral("connect"));
    auto& connection = program.Connection();
    const bool online = !host.empty() || !serial.empty();
    if (!serial.empty()) {
      connection.CB_Serial.UserChoose(connection.CB_Serial.IndexOf(serial));
      std::printf("serial port chosen: %s\n", connection.CB_Serial.Text().c_str());
      ok &= Grab(view.Connection().Window(), out, QStringLiteral("connect_serial"));
      connection.BB_Connect.Click();
    } else {
      connection.RB_TCP.Click();
      connection.ED_host.SetText(host);
      connection.ED_TCP.SetText(online ? port : std::to_string(devlink::TF_Connection::kDefaultTcpPort));
      ok &= Grab(view.Connection().Window(), out, QStringLiteral("connect_tcp"));
      if (online) connection.BB_Connect.Click();
    }
    if (online) {
      platform::DelayUntil(3000, [&] { return program.Login().Visible(); });
    } else {
      connection.Close();
      program.Login().Show();
    }
    auto& login = program.Login();
    login.ED_ID.SetText(id);
    login.ED_Password.SetText(password);
    ok &= Grab(view.Login().Window(), out, QStringLiteral("login"));
    if (online) {
      login.BB_OK.Click();
      // The read-out ends with the DNS reply; the cover goes with the model check.
      platform::DelayUntil(8000, [&] { return !main.P_main.Visible() && !login.Visible(); });
      platform::Delay(1500);
    } else {
      login.Close();
      main.P_main.Hide();  // show the pages as they are at start
    }
    for (platform::TabSheet* page : main.PageControl1.Pages()) {
      if (!page->TabVisible() || page == &main.Tab_Status_information) continue;
      main.PageControl1.SetActivePage(page);
      ok &= Grab(view.Main().Window(), out, QStringLiteral("main_") + QString::fromStdString(page->Name()));
    }
    if (online) {
      main.PageControl1.UserSelect(&main.Tab_Status_information);  // starts a status poll
      platform::Delay(2500);
    } else {
      main.PageControl1.SetActivePage(&main.Tab_Status_information);
    }
    ok &= Grab(view.Main().Window(), out, QStringLiteral("main_Tab_Status_information"));
    main.PageControl1.UserSelect(&main.Tab_LAN);
    if (online) {
      // The review before Save, with one field changed, then with its lines; cancelled.
      ActingModalForms modal;
      platform::InstallModalForms(&modal);
      modal.onOpen = [&](platform::Form&) {
        ok &= Grab(view.Review().Window(), out, QStringLiteral("review"));
        program.Review().CK_Lines.SetChecked(true);
        ok &= Grab(view.Review().Window(), out, QStringLiteral("review_lines"));
      };
      main.pages.ED_PPPoE_ID.SetText("visitor@isp");
      main.BB_Save.Click();
      platform::InstallModalForms(nullptr);
    }
    main.debug1.Click();
    ok &= Grab(view.Debug().Window(), out, QStringLiteral("debug"));
  }
  platform::InstallMessageBoxes(nullptr);
  return ok ? 0 : 1;
}
