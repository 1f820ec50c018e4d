#pragma once
// Stand-ins for the windows the link drives: the main window's pages on a
// throwaway page control and the other windows' controls, wired as the
// program wires them. Used by the link's tests and the benchmarks.
#include <string>

#include "lang/message_texts.h"
#include "devlink/connection.h"
#include "platform/ui/toolkit.h"
#include "stand_in_pages.h"

namespace testsupport {

/// The main window's pages and the other windows' controls the link touches.
struct StandInPeers : StandInPages {
  platform::Memo trace{nullptr, "Display"};
  platform::Form login{"F_Login", "Login"};
  platform::Panel cover{nullptr, "P_main"};
  platform::Button save{nullptr, "BB_Save"};
  platform::Button restart{nullptr, "BB_Restart"};
  platform::Button connect{nullptr, "BB_Connect"};
  platform::Button disconnect{nullptr, "BB_Disconnect"};
  lang::MessageTexts messages;

  StandInPeers() {
    for (size_t i = 0; i < lang::kMessageKeys.size(); ++i)
      messages.Set(lang::Msg(i), std::string(lang::kMessageKeys[i]));
    save.SetEnabled(false);
    restart.SetEnabled(false);
  }

  devlink::LinkPeers Wiring() {
    devlink::LinkPeers p;
    p.trace = &trace;
    p.login = &login;
    p.cover = &cover;
    p.save = &save;
    p.restart = &restart;
    p.connect = &connect;
    p.disconnect = &disconnect;
    p.pages = &pages;
    p.messages = &messages;
    return p;
  }
};

}  // namespace testsupport
