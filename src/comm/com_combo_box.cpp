#include "com_combo_box.h"

#include "com_enum.h"
#include "com_port.h"

namespace comm {

TComComboBox::TComComboBox(platform::Control* parent, std::string name)
    : platform::ComboBox(parent, std::move(name)), enumeratePorts([] { return EnumComPorts(); }) {}

TComComboBox::~TComComboBox() {
  if (port_) port_->Detach(this);
}

void TComComboBox::SetComPort(TCustomComPort* port) {
  if (port == port_) return;
  if (port_) port_->Detach(this);
  port_ = port;
  if (port_) {
    port_->Attach(this);
    ChooseBound();
  }
}

void TComComboBox::SetComProperty(TComProperty p) {
  property_ = p;
  if (p == TComProperty::cpPort) SetPortNames(enumeratePorts());
}

void TComComboBox::SetPortNames(std::vector<std::string> names) {
  property_ = TComProperty::cpPort;
  SetItems(std::move(names));
  if (port_)
    ChooseBound();
  else
    SetItemIndex(0);  // none when the list is empty
}

void TComComboBox::ChooseBound() {
  if (property_ == TComProperty::cpPort) SetItemIndex(IndexOf(port_->Port()));
}

void TComComboBox::PortDestroyed(TCustomComPort* port) {
  if (port != port_) return;
  port_ = nullptr;
  SetItemIndex(0);  // none when the list is empty
}

}  // namespace comm
