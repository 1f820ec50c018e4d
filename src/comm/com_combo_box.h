#pragma once
// A pick-only list of the serial ports, bound to a port.
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/choice.h"

namespace comm {

class TCustomComPort;

enum class TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

/// Shows one property of a bound port; only the port names (cpPort) are
/// listed. The user's choice runs the control's onChange, whose handler sets
/// the port from Text(); the combo box itself never changes the port.
class TComComboBox : public platform::ComboBox {
 public:
  TComComboBox(platform::Control* parent, std::string name);
  ~TComComboBox() override;

  TCustomComPort* ComPort() const { return port_; }
  /// Binds a port (or none) and chooses the entry equal to its Port, or none.
  void SetComPort(TCustomComPort* port);

  TComProperty ComProperty() const { return property_; }
  /// cpPort fills the list with the machine's ports (enumeratePorts), then
  /// chooses the bound port's entry, or the first entry when none is bound.
  /// Setting it again reads the list again: ports plugged in or pulled out
  /// since show up or go, and the bound port's entry stays chosen.
  void SetComProperty(TComProperty p);
  /// Where cpPort takes the port names from: the machine's ports by default
  /// (tests list directories of their own).
  std::function<std::vector<std::string>()> enumeratePorts;
  /// As SetComProperty(cpPort) with a list the caller gives (tests, refresh).
  void SetPortNames(std::vector<std::string> names);

 private:
  friend class TCustomComPort;
  void PortDestroyed(TCustomComPort* port);
  void ChooseBound();

  TCustomComPort* port_ = nullptr;
  TComProperty property_ = TComProperty::cpNone;
};

}  // namespace comm
