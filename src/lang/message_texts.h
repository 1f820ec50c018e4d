#pragma once
// The fifteen message texts of the main window, named by their key in the
// language file (which is also their English text). They are empty until the
// language file has been applied.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lang {

enum class Msg {
  EndConnection,  // "Do you want to end connection?"
  Restart,        // "Would you like to restart?"
  CloseProgram,   // "Would you like to close this program?"
  CannotConnectEquipment,
  InputHostName,
  CannotConnectHost,
  IdOrPasswordIncorrect,
  SaveComplete,
  PleaseRestart,
  SetupDns,
  SetupVoip,
  SetupPppoe,
  SetupStaticIp,
  FillOutAll,
  SetupPstn,
};

inline constexpr std::array<std::string_view, 15> kMessageKeys = {
    "Do you want to end connection?",
    "Would you like to restart?",
    "Would you like to close this program?",
    "Can not connect in equipment",
    "Input the name of host",
    "Can not connect to host",
    "Id or password is not correct",
    "Save was complete",
    "Please restart, if you want to apply to a modification",
    "Please setup DNS contents",
    "Please setup VoIP contents",
    "Please setup PPPoE contents",
    "Please setup static IP contents",
    "Please fill out all contents",
    "Please setup PSTN contents",
};

class MessageTexts {
 public:
  const std::string& operator[](Msg m) const { return texts_[size_t(m)]; }
  void Set(Msg m, std::string text) { texts_[size_t(m)] = std::move(text); }

  /// The message whose key equals `key` exactly, if any.
  static std::optional<Msg> FromKey(std::string_view key) {
    for (size_t i = 0; i < kMessageKeys.size(); ++i)
      if (kMessageKeys[i] == key) return Msg(i);
    return std::nullopt;
  }

 private:
  std::array<std::string, 15> texts_;
};

}  // namespace lang
