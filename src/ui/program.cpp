#include "ui/program.h"

#include <QCoreApplication>
#include <cassert>

#include "ui/layouts.h"

namespace ui {

TF_morvel_config_main* F_morvel_config_main = nullptr;
devlink::TF_Connection* F_Connection = nullptr;
TF_Debug* F_Debug = nullptr;
TF_Login* F_Login = nullptr;
TF_Review* F_Review = nullptr;

Program::Program(std::function<void()> onEnd) {
  assert(F_morvel_config_main == nullptr && "one Program at a time");
  main_ = std::make_unique<TF_morvel_config_main>();
  F_morvel_config_main = main_.get();
  link_ = std::make_unique<devlink::DeviceLink>(*main_, main_->pages);
  connection_ = std::make_unique<devlink::TF_Connection>(*link_, *main_);
  LayOutConnectionDialog(*connection_);  // the link's folder holds no layout
  F_Connection = connection_.get();
  debug_ = std::make_unique<TF_Debug>();
  F_Debug = debug_.get();
  login_ = std::make_unique<TF_Login>();
  F_Login = login_.get();
  review_ = std::make_unique<TF_Review>();
  F_Review = review_.get();
  // What keeps the log from being written is said once in the trace.
  log_ = std::make_unique<devlink::ConnectionLog>(
      devlink::ConnectionLog::DefaultDir(),
      [this](std::string line) { debug_->Display.Add(std::move(line)); });

  main_->Wire(*link_, *connection_, *debug_, *login_, *review_, *log_);
  debug_->Wire(*link_);
  login_->Wire(*main_, *link_);

  main_->onProgramEnd = onEnd ? std::move(onEnd) : [] { QCoreApplication::quit(); };
}

Program::~Program() {
  // Detach from the windows first so nothing reaches a half-destroyed one.
  main_->onProgramEnd = nullptr;
  F_morvel_config_main = nullptr;
  F_Connection = nullptr;
  F_Debug = nullptr;
  F_Login = nullptr;
  F_Review = nullptr;
  // The dialog uses the link, and the link drives the windows: they go first.
  connection_.reset();
  link_.reset();
  log_.reset();  // ends a connection still open
  login_.reset();
  review_.reset();
  debug_.reset();
  main_.reset();
}

void Program::Start() { main_->Show(); }

}  // namespace ui
