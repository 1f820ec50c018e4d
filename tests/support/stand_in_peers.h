#pragma once
// Stand-ins for the windows the link drives: the main window's pages on a
// throwaway page control and the other windows' controls, wired as the
// program wires them. Used by the link's tests and the benchmarks.
#include <string>

#include "config/config_pages.h"
#include "lang/message_texts.h"
#include "link/connection.h"
#include "platform/ui/toolkit.h"

namespace testsupport {

/// The main window's pages and the other windows' controls the link touches.
struct StandInPeers {
  platform::PageControl pageControl{nullptr, "PageControl1"};
  platform::TabSheet pstn{&pageControl, "Tab_PSTN"}, lan{&pageControl, "Tab_LAN"}, pc{&pageControl, "Tab_PC"},
      voip{&pageControl, "Tab_VoIP"}, service{&pageControl, "Tab_Service"},
      autoUpgrade{&pageControl, "Tab_Auto_upgrade"}, status{&pageControl, "Tab_Status_information"},
      about{&pageControl, "Tab_About"};
  config::ConfigPages pages{config::PageSlots{&pstn, &lan, &pc, &voip, &service, &autoUpgrade, &status, &about}};
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
