#include "modal_form.h"

#include "form.h"

namespace platform {

namespace {

void PressEnterAndClose(Form& form) {
  form.PressEnter();
  if (form.Visible()) form.Close();
}

class AnsweringModalForms : public ModalForms {
 public:
  void Run(Form& form) override { PressEnterAndClose(form); }
};

AnsweringModalForms gAnswering;
ModalForms* gCurrent = &gAnswering;

}  // namespace

void InstallModalForms(ModalForms* forms) { gCurrent = forms ? forms : &gAnswering; }

ModalForms& CurrentModalForms() { return *gCurrent; }

ScriptedModalForms::ScriptedModalForms() : previous_(&CurrentModalForms()) { InstallModalForms(this); }

ScriptedModalForms::~ScriptedModalForms() {
  InstallModalForms(previous_ == &gAnswering ? nullptr : previous_);
}

void ScriptedModalForms::Run(Form& form) {
  shown_.push_back(&form);
  if (actions_.empty()) return PressEnterAndClose(form);
  const Action act = std::move(actions_.front());
  actions_.pop_front();
  act(form);
  if (form.Visible()) form.Close();
}

}  // namespace platform
