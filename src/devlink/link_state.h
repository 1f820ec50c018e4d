#pragma once
// A state to start the link in, named step by step, for tests, benchmarks
// and fuzz targets: `LinkState::OverTcp().Reading(Reply::Login)`. What a
// state does not name stays as it is.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devlink/reply_interpreter.h"
#include "devlink/transports.h"

namespace devlink {

class LinkState {
 public:
  static LinkState OverTcp() { return LinkState().Over(TransportKind::Tcp); }
  static LinkState OverSerial() { return LinkState().Over(TransportKind::Serial); }

  /// `kind` chosen (not opened): writes go to it.
  LinkState& Over(TransportKind kind) { return Set(transport_, kind); }
  /// The next lines are read as the reply `r`.
  LinkState& Reading(Reply r) { return Set(reply_, r); }
  /// Whole lines for the status memo (true) or words for the interpreter.
  LinkState& StatusLines(bool on = true) { return Set(statusMode_, on); }
  /// A poll's gatekeeper query goes out after the next status chunk.
  LinkState& FollowUpDue(bool due = true) { return Set(followUpDue_, due); }
  /// The save markers already counted.
  LinkState& SaveTagsSeen(int32_t start, int32_t end) { return Set(tags_, std::pair{start, end}); }
  /// The VoIP reply's port rows, pots peers and patterns counted so far.
  LinkState& VoipCounted(int32_t rows, int32_t pots, int32_t patterns) {
    return Set(voip_, std::vector<int32_t>{rows, pots, patterns});
  }
  /// A gatekeeper, SIP server and call agent line seen: the next go to the
  /// secondary fields.
  LinkState& AddressesSeen(bool seen = true) { return Set(addressesSeen_, seen); }
  /// The next received word goes to `slot` (outside the table: dropped).
  LinkState& NextWordAt(int32_t slot) { return Set(nextSlot_, slot); }
  /// `word` in the word table's `slot`.
  LinkState& Word(int slot, std::string word) {
    words_.emplace_back(slot, std::move(word));
    return *this;
  }

 private:
  friend class DeviceLink;
  template <typename T, typename V>
  LinkState& Set(std::optional<T>& field, V value) {
    field = std::move(value);
    return *this;
  }
  std::optional<TransportKind> transport_;
  std::optional<Reply> reply_;
  std::optional<bool> statusMode_;
  std::optional<bool> followUpDue_;
  std::optional<std::pair<int32_t, int32_t>> tags_;
  std::optional<std::vector<int32_t>> voip_;
  std::optional<bool> addressesSeen_;
  std::optional<int32_t> nextSlot_;
  std::vector<std::pair<int, std::string>> words_;
};

}  // namespace devlink
