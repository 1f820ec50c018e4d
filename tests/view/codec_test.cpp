// Text decoding for display, the JPEG decoder and the address typing rules.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/address_typing.h"
#include "platform/qt/jpeg_picture.h"
#include "platform/qt/text_codec.h"

using platform::qt::AddressTyping;
using platform::qt::Decode;
using platform::qt::DecodeJpeg;
using platform::qt::Encode;
using platform::qt::EncodeLike;
using platform::qt::IsValidUtf8;
using platform::qt::WithoutControls;

namespace {

// Catches: CP949 bytes shown as mojibake, or valid UTF-8 sent through CP949.
TEST(TextCodec, DecodesUtf8OrCp949) {
  struct Row {
    std::string bytes;
    QString shown;
  };
  const std::vector<Row> rows = {
      {"Connected...", QStringLiteral("Connected...")},
      {"", QString()},
      {"\xEC\xA4\x91\xEA\xB0\x84", QStringLiteral(u"중간")},  // UTF-8
      // The address check's trace line, stored in CP949.
      {"\xC1\xDF\xB0\xA3 IP \xBE\xF8\xC0\xBD", QStringLiteral(u"중간 IP 없음")},
      // A byte that is neither UTF-8 nor CP949.
      {"a\xFF", QStringLiteral(u"a\uFFFD")},
      // A CP949 pair cut at the end of the text.
      {"x\xC1", QStringLiteral(u"x\uFFFD")},
  };
  for (const Row& r : rows) EXPECT_EQ(Decode(r.bytes), r.shown) << r.bytes;
}

// Catches: a validator that accepts surrogates, overlongs or truncated tails.
TEST(TextCodec, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));          // truncated
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
}

// Catches: typed text that does not read back as it was shown.
TEST(TextCodec, EncodeRoundTrips) {
  for (const char* s : {"admin", "\xEC\xA4\x91\xEA\xB0\x84 1", "a b\tc"}) EXPECT_EQ(Encode(Decode(s)), s);
}

// Catches an edit that changes bytes the user did not touch (a CP949 field
// re-encoded as UTF-8), replaces what the field's code page cannot hold, or
// keeps a control character of a paste.
TEST(TextCodec, EntryKeepsTheFieldsBytesAndDropsControls) {
  struct Row {
    std::string previous;
    QString entered;
    std::optional<std::string> stored;
  };
  const std::vector<Row> rows = {
      {"\xC1\xDF\xB0\xA3", QStringLiteral(u"중간1"),
       "\xC1\xDF\xB0\xA3"
       "1"},                                                 // CP949 stays CP949
      {"abc", QStringLiteral(u"abc가"), "abc\xEA\xB0\x80"},  // UTF-8 stays UTF-8
      {"\xC1\xDF", QStringLiteral(u"x"), "x"},
      {"\xC1\xDF", QStringLiteral(u"중😀"), std::nullopt},    // no CP949 form
      {"a\xFF", QStringLiteral(u"a\uFFFDb"), std::nullopt},  // an undecodable byte's stand-in
      {"\xC1\xDF", QStringLiteral(u"징"), std::nullopt},     // its CP949 bytes read as UTF-8 "¡"
  };
  for (const Row& r : rows) EXPECT_EQ(EncodeLike(r.entered, r.previous), r.stored) << r.entered.toStdString();
  EXPECT_EQ(WithoutControls(QString::fromUtf16(u"se\tcret\r\nre\x1b\0boot\x7f\u0085é", 20)),
            QStringLiteral(u"secretrebooté"));
}

/// A JPEG of `w` x `h` in the given colour space, made with libjpeg.
std::string MakeJpeg(int w, int h, J_COLOR_SPACE space, int components, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(w);
  info.image_height = JDIMENSION(h);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(size_t(w) * components);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < components; ++c)
        row[size_t(x * components + c)] = components == 4 ? (c == 3 ? 255 : 200) : 100;
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return out;
}

// Catches: colour spaces passed through unconverted (wrong stride, wrong colours).
TEST(Jpeg, DecodesRgbGrayscaleAndCmykToRgb) {
  struct Row {
    J_COLOR_SPACE space;
    int components;
    int expectRed;  // approximately, after lossy coding
  };
  for (const Row& r : {Row{JCS_RGB, 3, 100}, Row{JCS_GRAYSCALE, 1, 100}, Row{JCS_CMYK, 4, 200}}) {
    const auto result = DecodeJpeg(MakeJpeg(24, 10, r.space, r.components));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.picture.width, 24);
    EXPECT_EQ(result.picture.height, 10);
    ASSERT_EQ(result.picture.rgb.size(), 24u * 10u * 3u);
    EXPECT_NEAR(result.picture.rgb[0], r.expectRed, 4) << r.components;
    EXPECT_EQ(result.picture.rgb[0], result.picture.rgb[1]);  // grey in, grey out
  }
}

// Catches: a broken or absent picture that crashes (libjpeg's exit()) or
// shows half a picture instead of none.
TEST(Jpeg, BadInputGivesAnEmptyPictureAndAReason) {
  const std::string good = MakeJpeg(64, 64, JCS_RGB, 3);
  const std::vector<std::pair<const char*, std::string>> rows = {
      {"empty", ""},
      {"garbage", std::string(500, '\x5A')},
      {"truncated", good.substr(0, good.size() / 2)},
      {"header only", good.substr(0, 200)},
      {"not a jpeg but starts like one", std::string("\xFF\xD8\xFF\xE0") + std::string(100, '\0')},
  };
  for (const auto& [what, bytes] : rows) {
    const auto result = DecodeJpeg(bytes);
    EXPECT_FALSE(result.Ok()) << what;
    EXPECT_TRUE(result.picture.Empty()) << what;
    EXPECT_TRUE(result.picture.rgb.empty()) << what;
  }
  const auto missing = platform::qt::LoadJpeg("/nonexistent/picture.jpg");
  EXPECT_FALSE(missing.Ok());
  EXPECT_NE(missing.error.find("/nonexistent/picture.jpg"), std::string::npos);
}

// Catches: a header claiming a huge picture that is decoded, or allocated for
// (as a progressive one is when decoding starts), before it is refused.
TEST(Jpeg, RefusesAHugeHeaderBeforeDecoding) {
  for (const bool progressive : {false, true}) {
    std::string bytes = MakeJpeg(16, 16, JCS_RGB, 3, progressive);
    const size_t sof = bytes.find(progressive ? "\xFF\xC2" : "\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    // After the marker, length and precision: height and width, 60000 each.
    for (const size_t at : {sof + 5, sof + 7}) {
      bytes[at] = char(0xEA);
      bytes[at + 1] = char(0x60);
    }
    const auto result = DecodeJpeg(bytes);
    EXPECT_NE(result.error.find("too large"), std::string::npos) << progressive << ": " << result.error;
    EXPECT_TRUE(result.picture.rgb.empty()) << progressive;
  }
}

// Catches: committed artwork that the decoder cannot read.
TEST(Jpeg, CommittedArtworkDecodes) {
  for (const char* file : {"banner_setup@2x.jpg", "banner_dialup@2x.jpg", "banner_product@2x.jpg",
                           "splash@2x.jpg", "about_logo@2x.jpg", "app_icon@2x.jpg"}) {
    const auto result = platform::qt::LoadJpeg((std::filesystem::path(MORVEL_SOURCE_ASSETS) / file).string());
    EXPECT_TRUE(result.Ok()) << file << ": " << result.error;
  }
  const auto banner =
      platform::qt::LoadJpeg((std::filesystem::path(MORVEL_SOURCE_ASSETS) / "banner_setup@2x.jpg").string());
  EXPECT_EQ(banner.picture.width, 2 * 510);
  EXPECT_EQ(banner.picture.height, 2 * 81);
}

/// Types `keys` into an address field holding `start`; '<' is Backspace,
/// '>' Delete, '|n' moves the cursor to position n (one digit).
AddressTyping TypeInto(const std::string& start, const std::string& keys) {
  AddressTyping t;
  t.text = start;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == '<')
      t.Backspace();
    else if (keys[i] == '>')
      t.Delete();
    else if (keys[i] == '|')
      t.cursor = keys[++i] - '0';
    else
      t.Type(keys[i]);
  }
  return t;
}

// Catches: typing that shifts text (insert instead of overwrite), lands on a
// dot, or lets letters into the address.
TEST(AddressTyping, OverwritesGroupByGroup) {
  const std::string empty = "   .   .   .   ";
  struct Row {
    const char* start;
    const char* keys;
    const char* text;
    int cursor;
  };
  const std::vector<Row> rows = {
      {empty.c_str(), "10.1.2.3", "10 .1  .2  .3  ", 13},
      {empty.c_str(), "192168001001", "192.168.001.001", 15},
      {empty.c_str(), "255.255.", "255.255.   .   ", 8},           // a dot at a group start does nothing
      {empty.c_str(), "1a2", "12 .   .   .   ", 2},                // letters are refused
      {"192.168.001.001", "10.", "10 .168.001.001", 4},            // "." blanks the rest of the group
      {"192.168.001.001", "|4<", "19 .168.001.001", 2},            // backspace skips the dot
      {"192.168.001.001", "|3>", "192. 68.001.001", 3},            // delete at a dot takes the next digit
      {empty.c_str(), "1234567890123456", "123.456.789.012", 15},  // nothing past the end
  };
  for (const Row& r : rows) {
    const AddressTyping t = TypeInto(r.start, r.keys);
    EXPECT_EQ(t.text, r.text) << r.keys;
    EXPECT_EQ(t.cursor, r.cursor) << r.keys;
  }
}

// Catches: a selection that is typed over without being cleared first.
TEST(AddressTyping, TypingOverASelectionBlanksIt) {
  AddressTyping t;
  t.text = "192.168.001.001";
  t.selStart = 0;
  t.selLength = 15;
  t.cursor = 15;
  EXPECT_TRUE(t.Type('8'));
  EXPECT_EQ(t.text, "8  .   .   .   ");
  EXPECT_EQ(t.cursor, 1);
}

}  // namespace
