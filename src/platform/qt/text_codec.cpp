#include "platform/qt/text_codec.h"

#include <iconv.h>
#include <cerrno>

namespace platform::qt {

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int extra;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
      extra = 1, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (end - p <= extra) return false;
    for (int i = 1; i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    static constexpr uint32_t kMinForLength[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinForLength[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += extra + 1;
  }
  return true;
}

namespace {

/// CP949 to UTF-8 through glibc's iconv; a byte it cannot convert becomes
/// U+FFFD and the conversion goes on after it.
std::string Cp949ToUtf8(std::string_view bytes) {
  iconv_t cd = iconv_open("UTF-8", "CP949");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  out.reserve(bytes.size() * 2);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, size_t(o - buffer));
    if (r != size_t(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (a truncated pair at the end): skip one byte.
    out += "\xEF\xBF\xBD";
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

/// UTF-8 to CP949 through glibc's iconv; nothing when a character has no
/// CP949 form.
std::optional<std::string> Utf8ToCp949(const std::string& utf8) {
  iconv_t cd = iconv_open("CP949", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(utf8.size() * 2 + 8, '\0');  // CP949 takes at most 2 bytes a character
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = out.data();
  size_t oLeft = out.size();
  const bool ok = iconv(cd, &in, &inLeft, &o, &oLeft) != size_t(-1) &&
                  iconv(cd, nullptr, nullptr, &o, &oLeft) != size_t(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - oLeft);
  return out;
}

}  // namespace

QString Decode(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
  const std::string utf8 = Cp949ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string Encode(const QString& text) { return text.toUtf8().toStdString(); }

QString WithoutControls(const QString& text) {
  QString kept;
  kept.reserve(text.size());
  for (const QChar c : text)
    if (c.category() != QChar::Other_Control) kept += c;
  return kept;
}

std::optional<std::string> EncodeLike(const QString& text, std::string_view previous) {
  std::optional<std::string> bytes =
      IsValidUtf8(previous) ? std::optional<std::string>(Encode(text)) : Utf8ToCp949(Encode(text));
  if (bytes && Decode(*bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace platform::qt
