// Draws the program's artwork and writes it as JPEG files with libjpeg's
// compression API, and the desktop icons as PNG files drawn from the
// scalable icon. A one-off tool: the build never runs it; run
// make_artwork.sh after changing a picture.
//
//   make_artwork <assets-dir> <share-dir>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

// After <cstdio>: libjpeg's header needs FILE and size_t declared.
#include <jpeglib.h>

namespace {

/// The pictures are drawn at twice their design size, so they stay sharp on
/// a screen of twice the density; the program shows them at their design
/// size. Their file names say so ("@2x").
constexpr int kScale = 2;
/// The desktop icon's name: the program's reverse-DNS id.
const QString kIconName = QStringLiteral("com.morvel.morvel_config");
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

/// A picture of `width` x `height` design pixels, drawn by `draw` in design
/// coordinates at kScale.
QImage Drawn(int width, int height, const std::function<void(QPainter&)>& draw) {
  QImage img(width * kScale, height * kScale, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(kScale, kScale);
  draw(p);
  return img;
}

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

void Banner(QPainter& p, const QString& title, const QString& subtitle, QColor from, QColor to,
            const QColor& led) {
  QLinearGradient g(0, 0, 510, 81);
  g.setColorAt(0, from);
  g.setColorAt(1, to);
  p.fillRect(QRectF(0, 0, 510, 81), g);
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
}

void Splash(QPainter& p) {
  QLinearGradient g(0, 0, 0, 220);
  g.setColorAt(0, QColor(238, 243, 250));
  g.setColorAt(1, QColor(206, 218, 236));
  p.fillRect(QRectF(0, 0, 514, 220), g);
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
}

void Logo(QPainter& p) {
  QLinearGradient g(0, 0, 120, 72);
  g.setColorAt(0, QColor(28, 70, 140));
  g.setColorAt(1, QColor(48, 130, 200));
  p.fillRect(QRectF(0, 0, 120, 72), g);
  p.setPen(Qt::white);
  p.setFont(Sans(26, true));
  p.drawText(QRectF(0, 4, 120, 40), Qt::AlignCenter, QStringLiteral("MV"));
  p.setFont(Sans(11));
  p.drawText(QRectF(0, 44, 120, 20), Qt::AlignCenter, QStringLiteral("Morvel VoIP"));
}

/// The scalable icon at `size` pixels on `background` (transparent for PNG).
QImage Icon(QSvgRenderer& svg, int size, QColor background) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(background);
  QPainter p(&img);
  svg.render(&p, QRectF(0, 0, size, size));
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
  const std::string assets = argv[1];
  const QString icons = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/icons/hicolor");
  bool ok = true;
  ok &= WriteJpeg(Drawn(510, 81,
                        [](QPainter& p) {
                          Banner(p, QStringLiteral("VoIP Gateway"), QStringLiteral("Morvel Configuration"),
                                 QColor(22, 62, 128), QColor(58, 132, 204), QColor(240, 170, 40));
                        }),
                  assets + "/banner_setup@2x.jpg", 85);
  ok &= WriteJpeg(Drawn(510, 81,
                        [](QPainter& p) {
                          Banner(p, QStringLiteral("VoIP Gateway"), QStringLiteral("Dial-up Configuration"),
                                 QColor(24, 96, 80), QColor(70, 160, 130), QColor(90, 200, 90));
                        }),
                  assets + "/banner_dialup@2x.jpg", 85);
  ok &= WriteJpeg(Drawn(510, 81,
                        [](QPainter& p) {
                          Banner(p, QStringLiteral("Morvel"), QStringLiteral("Small office VoIP gateway"),
                                 QColor(90, 50, 120), QColor(150, 100, 190), QColor(240, 90, 90));
                        }),
                  assets + "/banner_product@2x.jpg", 85);
  ok &= WriteJpeg(Drawn(514, 220, Splash), assets + "/splash@2x.jpg", 85);
  ok &= WriteJpeg(Drawn(120, 72, Logo), assets + "/about_logo@2x.jpg", 90);

  QSvgRenderer svg(icons + QStringLiteral("/scalable/apps/") + kIconName + QStringLiteral(".svg"));
  ok &= svg.isValid();
  // The window icon, a JPEG like the other pictures: square, on the icon's own blue.
  ok &= WriteJpeg(Icon(svg, 64 * kScale, QColor(38, 92, 158)), assets + "/app_icon@2x.jpg", 90);
  for (const int size : kIconSizes) {
    const QString dir = icons + QStringLiteral("/%1x%1/apps").arg(size);
    ok &= QDir().mkpath(dir);
    ok &=
        Icon(svg, size, Qt::transparent).save(dir + QStringLiteral("/") + kIconName + QStringLiteral(".png"));
  }
  return ok ? 0 : 1;
}
