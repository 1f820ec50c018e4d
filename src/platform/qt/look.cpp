// The application's look: style, palette, password character and fonts.
#include <QApplication>
#include <QFontDatabase>
#include <QProxyStyle>
#include <QStyleFactory>

#include "platform/qt/binding.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

/// Fusion with "*" as the password character, as the windows show secrets.
class LookStyle : public QProxyStyle {
 public:
  LookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }
};

/// The windows are laid out in pixels for a small sans font: 11-pixel text
/// keeps the 13-pixel label rows and the seven tabs of a 510-pixel window.
constexpr int kFontPixels = 11;

}  // namespace

void ApplyLook(QApplication& app) {
  // The palette is the desktop's when its platform theme gives one (a dark
  // one among them), Fusion's own otherwise: the windows take their colours
  // from it, except the few the design fixes, which come in pairs.
  app.setStyle(new LookStyle);
  QFont font = app.font();
  font.setPixelSize(kFontPixels);
  app.setFont(font);
}

QFont FontFor(const Font& f) {
  QFont q = QApplication::font();
  if (f.fixedPitch || f.family == "Terminal") {
    q = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Ask the matcher for fixed pitch too: some systems' "monospace" font
    // does not say it is one.
    q.setFixedPitch(true);
    q.setPixelSize(kFontPixels);
  } else if (!f.family.empty()) {
    q.setFamily(Decode(f.family));
  }
  if (f.pixelHeight > 0) q.setPixelSize(f.pixelHeight);
  q.setBold(f.bold);
  return q;
}

}  // namespace platform::qt
