#include "platform/qt/file_dialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/qt/text_codec.h"

namespace platform::qt {

std::optional<std::string> QtFileDialogs::Choose(const platform::FileDialog& d) {
  QWidget* parent = QApplication::activeWindow();
  const QString caption = Decode(d.caption);
  const QString name = Decode(d.proposedName);
  const QString filter = Decode(d.filter);
  const QString path = d.mode == platform::FileMode::Save
                           ? QFileDialog::getSaveFileName(parent, caption, name, filter)
                           : QFileDialog::getOpenFileName(parent, caption, name, filter);
  if (path.isEmpty()) return std::nullopt;
  // Paths are byte strings inside, as the file system takes them.
  return std::string(QFile::encodeName(path).constData());
}

}  // namespace platform::qt
