#pragma once
// Message boxes go through one interface: a Qt dialog in the program, a
// scripted double in tests that answers in advance and records every box.
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class Icon { None, Warning, Error, Information, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageBox {
  std::string text;
  std::string caption;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  bool operator==(const MessageBox&) const = default;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  /// Shows the box and waits (handling events) until the user answers.
  virtual Answer Show(const MessageBox& box) = 0;
};

/// Installs the program-wide message boxes; null restores the default, which
/// answers every box with its first button without showing anything.
void InstallMessageBoxes(MessageBoxes* boxes);
MessageBoxes& CurrentMessageBoxes();

/// Shows a box through the installed message boxes.
Answer ShowMessageBox(std::string text, std::string caption, Icon icon, Buttons buttons = Buttons::Ok);

/// The test double: installs itself for its lifetime, answers with the queued
/// answers in order (the first button when none is queued) and records every
/// box it was asked to show.
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  ScriptedMessageBoxes();
  ~ScriptedMessageBoxes() override;

  void Queue(Answer a) { answers_.push_back(a); }
  const std::vector<MessageBox>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }
  /// Runs while a box is "open", before it is answered: lets a test act as
  /// the nested event loop of a real box would.
  std::function<void(const MessageBox&)> whileOpen;

  Answer Show(const MessageBox& box) override;

 private:
  std::deque<Answer> answers_;
  std::vector<MessageBox> shown_;
  MessageBoxes* previous_;
};

}  // namespace platform
