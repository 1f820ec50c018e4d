#include "platform/qt/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

QMessageBox::Icon IconOf(platform::Icon icon) {
  switch (icon) {
    case platform::Icon::Warning: return QMessageBox::Warning;
    case platform::Icon::Error: return QMessageBox::Critical;
    case platform::Icon::Information: return QMessageBox::Information;
    case platform::Icon::Question: return QMessageBox::Question;
    case platform::Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

/// Message texts separate their lines with a CR; Qt breaks lines at LF.
QString BoxText(const std::string& text) {
  QString s = Decode(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace

platform::Answer QtMessageBoxes::Show(const platform::MessageBox& box) {
  QMessageBox dialog(IconOf(box.icon), Decode(box.caption), BoxText(box.text), QMessageBox::NoButton,
                     QApplication::activeWindow());
  dialog.setObjectName(QStringLiteral("MessageBox"));
  switch (box.buttons) {
    case platform::Buttons::Ok: dialog.setStandardButtons(QMessageBox::Ok); break;
    case platform::Buttons::OkCancel:
      dialog.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      dialog.setDefaultButton(QMessageBox::Ok);
      dialog.setEscapeButton(QMessageBox::Cancel);
      break;
    case platform::Buttons::YesNo:
      dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      dialog.setDefaultButton(QMessageBox::Yes);
      dialog.setEscapeButton(QMessageBox::No);
      break;
  }
  // Our windows may stay on top; the box must not hide behind them.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  const int result = dialog.exec();
  switch (result) {
    case QMessageBox::Ok: return platform::Answer::Ok;
    case QMessageBox::Yes: return platform::Answer::Yes;
    case QMessageBox::No: return platform::Answer::No;
    case QMessageBox::Cancel: return platform::Answer::Cancel;
    default: break;
  }
  switch (box.buttons) {
    case platform::Buttons::OkCancel: return platform::Answer::Cancel;
    case platform::Buttons::YesNo: return platform::Answer::No;
    case platform::Buttons::Ok: break;
  }
  return platform::Answer::Ok;
}

}  // namespace platform::qt
