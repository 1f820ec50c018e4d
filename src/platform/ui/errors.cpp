#include "errors.h"

#include <QCoreApplication>

#include "message_box.h"

namespace platform {

namespace {
std::string& Title() {
  static std::string title;
  return title;
}
}  // namespace

std::string TitleFromPath(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return std::string(file.substr(0, file.find('.')));
}

const std::string& ProgramTitle() {
  if (Title().empty() && QCoreApplication::instance())
    Title() = TitleFromPath(QCoreApplication::applicationFilePath().toStdString());
  return Title();
}

void SetProgramTitle(std::string title) { Title() = std::move(title); }

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void ShowError(const std::exception& e) {
  std::string text = ErrorBoxText(e.what());
  if (const auto* err = dynamic_cast<const Error*>(&e))
    if (std::string advice = err->Advice(); !advice.empty()) text += "\n" + advice;
  ShowMessageBox(std::move(text), ProgramTitle(), Icon::Error, Buttons::Ok);
}

}  // namespace platform
