// zephlet-gifinfo's report.
#include <gtest/gtest.h>

#include "gif_info.h"
#include "support/gif_writer.h"

namespace zephlet::test {
namespace {

GifInfo InfoOf(const Bytes& bytes) {
  ByteViewStream stream(bytes);
  return LoadGifInfo(stream);
}

TEST(GifInfoTest, ReportsFramesExtensionsAndDigests) {
  const Bytes gif = GifWriter()
                        .Header(3, 1, 4, "GIF87a")
                        .NetscapeLoop(2)
                        .GraphicControl(0x09, 4, 3)
                        .Comment("c")
                        .Image(0, 0, 3, 1, {0, 1, 2}, 0x40, 2)
                        .PlainText("t")
                        .Application("ABCDEFGH1.0", {})
                        .Trailer()
                        .Data();
  const std::string json = GifInfoJson(InfoOf(gif));
  // FNV-1a 64 of the bytes 00 01 02.
  uint8_t pixels[] = {0, 1, 2};
  char digest[17];
  std::snprintf(digest, sizeof digest, "%016llx",
                static_cast<unsigned long long>(Fnv1a64(pixels, 3)));
  const std::string expected =
      std::string(R"({"signature": "GIF87a", "width": 3, "height": 1, "global_colors": 4, )"
                  R"("background": 0, "frames": [)") +
      "\n  " +
      R"({"left": 0, "top": 0, "width": 3, "height": 1, "interlaced": true, "local_colors": 2, )"
      R"("has_image": true, "transparent": 3, "disposal": 2, "delay": 4, "loop": 2, )"
      R"("extensions": ["netscape-loop", "graphic-control", "comment"], "pixels_fnv1a64": ")" +
      digest + "\"},\n  " +
      R"({"left": 0, "top": 0, "width": 0, "height": 0, "interlaced": false, "local_colors": 0, )"
      R"("has_image": false, "transparent": null, "disposal": null, "delay": null, "loop": null, )"
      R"("extensions": ["text", "application"]})" +
      "\n], " + R"("warnings": [], "error": null})" + "\n";
  EXPECT_EQ(json, expected);
}

TEST(GifInfoTest, Fnv1a64KnownValues) {
  EXPECT_EQ(Fnv1a64(nullptr, 0), 0xcbf29ce484222325ULL);
  const uint8_t a[] = {'a'};
  EXPECT_EQ(Fnv1a64(a, 1), 0xaf63dc4c8601ec8cULL);
}

TEST(GifInfoTest, FailedLoadReportsFramesBeforeTheErrorAndWarnings) {
  const Bytes gif = GifWriter().Header(2, 1).Image(0, 0, 0, 1, {1, 1}).Raw({0x21, 0x02, 0}).Data();
  const GifInfo info = InfoOf(gif);
  ASSERT_TRUE(info.error);
  const std::string json = GifInfoJson(info);
  EXPECT_NE(json.find(R"("warnings": ["Image exceeds Logical Screen size"], )"
                      R"("error": "Unknown extension type"})"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find(R"("width": 2, "height": 1, "interlaced": false)"), std::string::npos);
}

TEST(GifInfoTest, UnreadableSignatureAndOddBytes) {
  const GifInfo info = InfoOf({'G', 'I'});
  EXPECT_EQ(GifInfoJson(info).substr(0, 19), R"({"signature": null,)");
  const GifInfo odd = InfoOf(GifWriter().Header(1, 1, 0, "gif\"\x01\xff").Data());
  EXPECT_EQ(GifInfoJson(odd).substr(0, 37), R"({"signature": "gif\"\u0001\u00ff", "w)");
}

}  // namespace
}  // namespace zephlet::test
