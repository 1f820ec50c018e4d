#include "ui/program.h"

#include <QCoreApplication>
#include <cassert>

#include "ui/layouts.h"

namespace ui {

TF_morvel_config_main* F_morvel_config_main = nullptr;
devlink::TF_Connection* F_Connection = nullptr;
TF_Debug* F_Debug = nullptr;
TF_Login* F_Login = nullptr;

Program::Program(std::function<void()> onEnd) {
  assert(F_morvel_config_main == nullptr && "one Program at a time");
  main_ = std::make_unique<TF_morvel_config_main>();
  F_morvel_config_main = main_.get();
  connection_ = std::make_unique<devlink::TF_Connection>();
  LayOutConnectionDialog(*connection_);  // the link's folder holds no layout
  F_Connection = connection_.get();
  debug_ = std::make_unique<TF_Debug>();
  F_Debug = debug_.get();
  login_ = std::make_unique<TF_Login>();
  F_Login = login_.get();

  main_->Wire(*connection_, *debug_, *login_);
  debug_->Wire(*connection_);
  login_->Wire(*main_, *connection_);

  devlink::LinkPeers peers;
  peers.trace = &debug_->Display;
  peers.login = login_.get();
  peers.cover = &main_->P_main;
  peers.save = &main_->BB_Save;
  peers.restart = &main_->BB_Restart;
  peers.connect = &main_->BB_Connect;
  peers.disconnect = &main_->BB_Disconnect;
  peers.pages = &main_->pages;
  peers.messages = &main_->messages;
  peers.polling = &main_->T_State_Info;
  peers.progressStrip = &main_->P_State;
  peers.progress = &main_->Gauge1;
  connection_->Wire(peers);

  main_->onProgramEnd = onEnd ? std::move(onEnd) : [] { QCoreApplication::quit(); };
}

Program::~Program() {
  // Detach from the windows first so nothing reaches a half-destroyed one.
  main_->onProgramEnd = nullptr;
  F_morvel_config_main = nullptr;
  F_Connection = nullptr;
  F_Debug = nullptr;
  F_Login = nullptr;
  // The link drives the other windows' controls: it goes first.
  connection_.reset();
  login_.reset();
  debug_.reset();
  main_.reset();
}

void Program::Start() { main_->Show(); }

}  // namespace ui
