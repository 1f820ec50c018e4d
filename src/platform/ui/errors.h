#pragma once
// The general error handler: whatever escapes an event operation is shown in
// an error box, and the program goes on.
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

/// Base of the errors the components raise. Advice() may add one plain line
/// that tells the user what to do about it; the message itself stays as is.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  virtual std::string Advice() const { return {}; }
};

/// The caption of the error box: the executable's file name up to its first ".".
const std::string& ProgramTitle();
void SetProgramTitle(std::string title);
/// The title for an executable path: its file name up to the first ".".
std::string TitleFromPath(std::string_view path);

/// The error box's text: the message, with a full stop appended when its last
/// character sorts after "." (a letter or a digit, for example).
std::string ErrorBoxText(std::string_view message);

/// Shows `e` in an error box (error icon, OK button, the program's title).
void ShowError(const std::exception& e);

/// Runs an event operation; an error that escapes it goes to ShowError.
template <typename F>
void Guard(F&& operation) noexcept {
  try {
    operation();
  } catch (const std::exception& e) {
    ShowError(e);
  } catch (...) {
    ShowError(std::runtime_error("Unknown error"));
  }
}

}  // namespace platform
