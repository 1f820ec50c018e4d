#include "message_box.h"

namespace platform {

namespace {

Answer FirstButton(Buttons b) { return b == Buttons::YesNo ? Answer::Yes : Answer::Ok; }

class SilentMessageBoxes : public MessageBoxes {
 public:
  Answer Show(const MessageBox& box) override { return FirstButton(box.buttons); }
};

SilentMessageBoxes gSilent;
MessageBoxes* gCurrent = &gSilent;

}  // namespace

void InstallMessageBoxes(MessageBoxes* boxes) { gCurrent = boxes ? boxes : &gSilent; }

MessageBoxes& CurrentMessageBoxes() { return *gCurrent; }

Answer ShowMessageBox(std::string text, std::string caption, Icon icon, Buttons buttons) {
  return gCurrent->Show(MessageBox{std::move(text), std::move(caption), icon, buttons});
}

ScriptedMessageBoxes::ScriptedMessageBoxes() : previous_(&CurrentMessageBoxes()) {
  InstallMessageBoxes(this);
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
  InstallMessageBoxes(previous_ == &gSilent ? nullptr : previous_);
}

Answer ScriptedMessageBoxes::Show(const MessageBox& box) {
  shown_.push_back(box);
  if (whileOpen) whileOpen(box);
  if (answers_.empty()) return FirstButton(box.buttons);
  const Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

}  // namespace platform
