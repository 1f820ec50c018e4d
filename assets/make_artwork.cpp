// Draws the program's artwork and writes it as JPEG files with libjpeg's
// compression API (and the desktop icon as PNG). A one-off tool: the build
// never runs it; run make_artwork.sh after changing a picture.
//
//   make_artwork <assets-dir> <share-dir>
#include <jpeglib.h>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

bool WriteJpeg(const QImage& source, const std::string& path, int quality) {
  const QImage img = source.convertToFormat(QImage::Format_RGB888);
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = JDIMENSION(img.width());
  info.image_height = JDIMENSION(img.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(img.constScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(out);
  return true;
}

QFont Sans(int px, bool bold = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(px);
  f.setBold(bold);
  return f;
}

/// The gateway drawn as a small box with LEDs and a handset beside it.
void DrawGateway(QPainter& p, QRectF box, const QColor& led) {
  QLinearGradient body(box.topLeft(), box.bottomLeft());
  body.setColorAt(0, QColor(250, 250, 252));
  body.setColorAt(1, QColor(196, 204, 216));
  p.setPen(QPen(QColor(70, 80, 100), 1.5));
  p.setBrush(body);
  p.drawRoundedRect(box, 5, 5);
  for (int i = 0; i < 4; ++i) {
    p.setBrush(i == 0 ? led : QColor(90, 200, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(box.left() + 12 + i * 11, box.center().y()), 3, 3);
  }
  p.setPen(QPen(QColor(70, 80, 100), 1));
  for (int i = 0; i < 3; ++i) p.drawRect(QRectF(box.right() - 40 + i * 12, box.center().y() - 4, 8, 8));
}

QImage Banner(const QString& title, const QString& subtitle, QColor from, QColor to, const QColor& led) {
  QImage img(510, 81, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 510, 81);
  g.setColorAt(0, from);
  g.setColorAt(1, to);
  p.fillRect(img.rect(), g);
  // Soft waves: the sound carried over the network.
  p.setPen(QPen(QColor(255, 255, 255, 40), 2));
  for (int k = 0; k < 5; ++k) {
    QPainterPath wave;
    auto y = [k](int x) { return 60 - k * 6 + 6 * std::sin((x + k * 30) / 28.0); };
    wave.moveTo(250, y(250));
    for (int x = 260; x <= 510; x += 10) wave.lineTo(x, y(x));
    p.drawPath(wave);
  }
  DrawGateway(p, QRectF(392, 22, 100, 34), led);
  p.setPen(Qt::white);
  p.setFont(Sans(24, true));
  p.drawText(QRectF(18, 10, 380, 34), Qt::AlignLeft | Qt::AlignVCenter, title);
  p.setPen(QColor(225, 235, 255));
  p.setFont(Sans(13));
  p.drawText(QRectF(20, 44, 380, 24), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
  return img;
}

QImage Splash() {
  QImage img(514, 220, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, 220);
  g.setColorAt(0, QColor(238, 243, 250));
  g.setColorAt(1, QColor(206, 218, 236));
  p.fillRect(img.rect(), g);
  // A PC, the gateway and a telephone, joined by a dashed line.
  const QColor ink(60, 78, 110);
  p.setPen(QPen(ink, 2, Qt::DashLine));
  p.drawLine(130, 100, 200, 100);
  p.drawLine(316, 100, 386, 100);
  p.setPen(QPen(ink, 2));
  p.setBrush(QColor(250, 252, 255));
  p.drawRoundedRect(QRectF(66, 66, 64, 46), 4, 4);  // screen
  p.drawRect(QRectF(88, 112, 20, 8));
  p.drawRoundedRect(QRectF(76, 120, 44, 6), 2, 2);
  DrawGateway(p, QRectF(200, 82, 116, 38), QColor(240, 170, 40));
  // A desk telephone: the body with its keypad, the handset resting on top.
  QPainterPath body;
  body.moveTo(392, 124);
  body.lineTo(400, 92);
  body.lineTo(440, 92);
  body.lineTo(448, 124);
  body.closeSubpath();
  p.setBrush(QColor(250, 252, 255));
  p.drawPath(body);
  p.setBrush(ink);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) p.drawRect(QRectF(410 + col * 7, 99 + row * 7, 4, 4));
  p.setBrush(QColor(250, 252, 255));
  p.drawRoundedRect(QRectF(388, 76, 64, 11), 5, 5);  // handset grip
  p.drawRoundedRect(QRectF(384, 72, 16, 19), 5, 5);  // earpiece
  p.drawRoundedRect(QRectF(440, 72, 16, 19), 5, 5);  // mouthpiece
  p.setPen(ink);
  p.setFont(Sans(17, true));
  p.drawText(QRectF(0, 14, 514, 30), Qt::AlignCenter, QStringLiteral("VoIP Gateway Configuration"));
  p.setFont(Sans(12));
  p.setPen(QColor(80, 96, 126));
  p.drawText(QRectF(0, 146, 514, 20), Qt::AlignCenter,
             QStringLiteral("Press Connect to reach a gateway over a serial port or TCP/IP."));
  return img;
}

QImage Logo() {
  QImage img(120, 72, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 120, 72);
  g.setColorAt(0, QColor(28, 70, 140));
  g.setColorAt(1, QColor(48, 130, 200));
  p.fillRect(img.rect(), g);
  p.setPen(Qt::white);
  p.setFont(Sans(26, true));
  p.drawText(QRectF(0, 4, 120, 40), Qt::AlignCenter, QStringLiteral("MV"));
  p.setFont(Sans(11));
  p.drawText(QRectF(0, 44, 120, 20), Qt::AlignCenter, QStringLiteral("Morvel VoIP"));
  return img;
}

QImage Icon(int size) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 64.0;
  QLinearGradient g(0, 0, 0, size);
  g.setColorAt(0, QColor(48, 130, 200));
  g.setColorAt(1, QColor(28, 70, 140));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 12 * s, 12 * s);
  p.setBrush(QColor(250, 250, 252));
  p.drawRoundedRect(QRectF(10 * s, 30 * s, 44 * s, 16 * s), 3 * s, 3 * s);
  p.setBrush(QColor(90, 200, 90));
  for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF((17 + i * 8) * s, 38 * s), 2.4 * s, 2.4 * s);
  p.setPen(QPen(QColor(250, 250, 252), 2.5 * s, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  for (int k = 0; k < 3; ++k)
    p.drawArc(QRectF((24 - k * 6) * s, (12 - k * 4) * s, (16 + k * 12) * s, (16 + k * 8) * s), 30 * 16,
              120 * 16);
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <assets-dir> <share-dir>\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::string assets = argv[1], share = argv[2];
  bool ok = true;
  ok &= WriteJpeg(Banner(QStringLiteral("VoIP Gateway"), QStringLiteral("Morvel Configuration"),
                         QColor(22, 62, 128), QColor(58, 132, 204), QColor(240, 170, 40)),
                  assets + "/banner_setup.jpg", 85);
  ok &= WriteJpeg(Banner(QStringLiteral("VoIP Gateway"), QStringLiteral("Dial-up Configuration"),
                         QColor(24, 96, 80), QColor(70, 160, 130), QColor(90, 200, 90)),
                  assets + "/banner_dialup.jpg", 85);
  ok &= WriteJpeg(Banner(QStringLiteral("Morvel"), QStringLiteral("Small office VoIP gateway"),
                         QColor(90, 50, 120), QColor(150, 100, 190), QColor(240, 90, 90)),
                  assets + "/banner_product.jpg", 85);
  ok &= WriteJpeg(Splash(), assets + "/splash.jpg", 85);
  ok &= WriteJpeg(Logo(), assets + "/about_logo.jpg", 90);
  ok &= WriteJpeg(Icon(64), assets + "/app_icon.jpg", 90);
  ok &= Icon(64).save(QString::fromStdString(share + "/morvel_config.png"));
  return ok ? 0 : 1;
}
