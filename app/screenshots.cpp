// Writes PNG pictures of every window and page of the program, for people to
// look at. With a gateway address it first runs a visit (connect over TCP,
// log in, read out) so the pages show a real read-out.
//
//   morvel_screenshots <out-dir> [--tcp HOST:PORT | --serial PORT] [--login ID --password PW]
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <out-dir> [--tcp HOST:PORT | --serial PORT] [--login ID --password PW]\n",
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
  for (int i = 2; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--tcp")) {
      std::string hp = argv[i + 1];
      host = hp.substr(0, hp.find(':'));
      port = hp.substr(hp.find(':') + 1);
    } else if (!std::strcmp(argv[i], "--serial")) {
      serial = argv[i + 1];
    } else if (!std::strcmp(argv[i], "--login")) {
      id = argv[i + 1];
    } else if (!std::strcmp(argv[i], "--password")) {
      password = argv[i + 1];
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
      connection.ED_TCP.SetText(online ? port : "514");
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
    main.debug1.Click();
    ok &= Grab(view.Debug().Window(), out, QStringLiteral("debug"));
  }
  platform::InstallMessageBoxes(nullptr);
  return ok ? 0 : 1;
}
