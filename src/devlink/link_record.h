#pragma once
// The private state of the device link: which transport is in use, the words
// of the line being received, the reply interpreter's state and its counters.
#include <cstdint>
#include <string>
#include <vector>

#include "config/config_pages.h"

namespace devlink {

inline constexpr int32_t kLinkSerial = 100;
inline constexpr int32_t kLinkTcp = 101;

/// Slots of the word table; words beyond the last slot of a line are dropped.
inline constexpr int kTokenSlots = 2048;
/// A word being received is cut at this length, so a peer that never sends a
/// delimiter cannot grow memory without bound.
inline constexpr size_t kMaxWordBytes = 64 * 1024;
/// Port rows the phone grid takes from the VoIP reply; further "voice-port"
/// lines are passed over, so a hostile gateway cannot grow the grid.
inline constexpr int32_t kMaxVoicePorts = config::kMaxPhoneRows;

/// Values of `ReplyState`: which reply the interpreter is reading.
namespace reply {
inline constexpr int32_t kNone = 0;
inline constexpr int32_t kWan = 1;
inline constexpr int32_t kLan = 2;
inline constexpr int32_t kDns = 3;
inline constexpr int32_t kAutoUpgrade = 4;
inline constexpr int32_t kService = 5;
inline constexpr int32_t kServicePort = 6;
inline constexpr int32_t kLogin = 7;
inline constexpr int32_t kVersion = 8;
inline constexpr int32_t kModel = 9;
inline constexpr int32_t kVoip = 12;
inline constexpr int32_t kSave = 13;
inline constexpr int32_t kGatekeeperStatus = 15;
inline constexpr int32_t kWanStatus = 16;
inline constexpr int32_t kPstn = 17;
}  // namespace reply

struct LinkRecord {
  int32_t LinkMode = 0;  // 100 serial, 101 TCP; any other value: sends are dropped
  // Written only by the receive path (and emptied by SendGetData); others read it.
  std::vector<std::string> Tokens = std::vector<std::string>(kTokenSlots);
  int32_t TokenIndex = 0;
  std::string RxLine;
  int32_t ReplyState = reply::kNone;
  bool StatusMode = false;
  bool StatusFollowUp = false;
  bool ProbeAnswered = false;
  int32_t StartTagCount = 0;
  int32_t EndTagCount = 0;
  int32_t VoicePortRow = 0;
  int32_t PotsPeerCount = 0;
  int32_t PatternCount = 0;
  std::string HeldPattern;
  bool GatekeeperSeen = false;
  bool SipServerSeen = false;
  bool CallAgentSeen = false;
  bool PstnAllUp = false;

  /// A new read-out of the VoIP reply: the grid's rows and peers count from
  /// the start, and the next address line of each kind goes to its primary
  /// field.
  void StartVoipReadOut() {
    VoicePortRow = PotsPeerCount = PatternCount = 0;
    GatekeeperSeen = SipServerSeen = CallAgentSeen = false;
  }
};

}  // namespace devlink
