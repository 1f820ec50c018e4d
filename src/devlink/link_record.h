#pragma once
// The link record: what the link's parts hold, read in one place (the debug
// window lists the words of the line being received). Each fact lives in
// the part that changes it; this view only reads them.
#include <cstdint>
#include <string>
#include <vector>

#include "devlink/line_reader.h"
#include "devlink/reply_interpreter.h"
#include "devlink/transports.h"

namespace devlink {

/// Values of `LinkMode`, the chosen transport as the record shows it.
inline constexpr int32_t kLinkSerial = 100;
inline constexpr int32_t kLinkTcp = 101;

class LinkRecord {
 public:
  LinkRecord(const Transports& transports, const LineReader& reader, const ReplyInterpreter& interpreter,
             const bool& statusFollowUp)
      : transports_(transports), reader_(reader), interpreter_(interpreter), followUp_(statusFollowUp) {}

  /// 100 serial, 101 TCP, 0 none chosen (sends are dropped).
  int32_t LinkMode() const {
    switch (transports_.Chosen()) {
      case TransportKind::Serial: return kLinkSerial;
      case TransportKind::Tcp: return kLinkTcp;
      case TransportKind::None: break;
    }
    return 0;
  }
  const std::vector<std::string>& Tokens() const { return reader_.Tokens(); }
  int32_t TokenIndex() const { return reader_.TokenIndex(); }
  const std::string& RxLine() const { return reader_.RxLine(); }
  bool StatusMode() const { return reader_.StatusMode(); }
  /// The running poll's gatekeeper query goes out after the next chunk.
  bool StatusFollowUp() const { return followUp_; }
  Reply ReplyState() const { return interpreter_.State(); }
  bool ProbeAnswered() const { return interpreter_.ProbeAnswered(); }
  int32_t StartTagCount() const { return interpreter_.Counted().StartTagCount; }
  int32_t EndTagCount() const { return interpreter_.Counted().EndTagCount; }
  int32_t VoicePortRow() const { return interpreter_.Counted().VoicePortRow; }
  int32_t PotsPeerCount() const { return interpreter_.Counted().PotsPeerCount; }
  int32_t PatternCount() const { return interpreter_.Counted().PatternCount; }
  bool GatekeeperSeen() const { return interpreter_.Counted().GatekeeperSeen; }
  bool SipServerSeen() const { return interpreter_.Counted().SipServerSeen; }
  bool CallAgentSeen() const { return interpreter_.Counted().CallAgentSeen; }
  bool PstnAllUp() const { return interpreter_.Counted().PstnAllUp; }

 private:
  const Transports& transports_;
  const LineReader& reader_;
  const ReplyInterpreter& interpreter_;
  const bool& followUp_;
};

}  // namespace devlink
