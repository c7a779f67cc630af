// Extension blocks: the class chosen from the bytes, each class's read form, the registries.
#include <gtest/gtest.h>

#include "gif/extension_registry.h"
#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/test_helpers.h"

namespace zephlet::test {
namespace {

// Loads a 2 x 1 GIF whose one image follows `extensions`; the frame must load.
Loaded LoadWithExtensions(const Bytes& extensions) {
  Loaded loaded =
      Load(GifWriter().Header(2, 1, 2).Raw(extensions).Image(0, 0, 2, 1, {1, 0}).Trailer().Data());
  EXPECT_FALSE(loaded.error) << *loaded.error;
  EXPECT_EQ(loaded.FrameCount(), 1);
  return loaded;
}

struct AppCase {
  const char* name;
  Bytes block;
  const char* class_name;
  int loop_count;           // for the loop class
  uint32_t buffering_size;  // for the loop class
  std::string signature;    // 11 bytes
  size_t raw_blocks;        // for the unknown class
};

class ApplicationTest : public testing::TestWithParam<AppCase> {};

TEST_P(ApplicationTest, ClassAndData) {
  const AppCase& c = GetParam();
  const Loaded loaded = LoadWithExtensions(c.block);
  ASSERT_EQ(loaded.FrameCount(), 1);
  ASSERT_EQ(loaded.Frame(0).ExtensionBlocks.Count(), 1);
  const TGIFExtension& extension = loaded.Frame(0).ExtensionBlocks[0];
  EXPECT_STREQ(extension.Class().Name, c.class_name);
  const auto& app = dynamic_cast<const TGIFApplicationExtension&>(extension);
  EXPECT_EQ(app.AppSignatureText(), c.signature);
  if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&extension)) {
    EXPECT_EQ(loop->LoopCount, c.loop_count);
    EXPECT_EQ(loop->BufferingSize, c.buffering_size);
  }
  if (const auto* unknown = dynamic_cast<const TGIFUnknownAppExtension*>(&extension)) {
    EXPECT_EQ(unknown->RawBlocks.size(), c.raw_blocks);
  }
  EXPECT_EQ(PixelsOf(loaded.Frame(0)), (Bytes{1, 0})) << "the image after the block is read";
}

const std::string kNetscape = "NETSCAPE2.0";

INSTANTIATE_TEST_SUITE_P(
    Applications, ApplicationTest,
    testing::Values(
        AppCase{"Loop", GifWriter().NetscapeLoop(7).Data(), "TGIFAppExtNSLoop", 7, 0, kNetscape, 0},
        AppCase{"IdentifierTakesLowThreeBits",
                GifWriter().Application(kNetscape, {{0x09, 5, 1}}).Data(), "TGIFAppExtNSLoop", 261,
                0, kNetscape, 0},
        AppCase{"OtherIdentifierSkipped",
                GifWriter().Application(kNetscape, {{0x03, 1, 2, 3, 4}}).Data(), "TGIFAppExtNSLoop",
                0, 0, kNetscape, 0},
        AppCase{"BufferingSize",
                GifWriter().Application(kNetscape, {{2, 1, 0, 0, 1}, {1, 2, 0}}).Data(),
                "TGIFAppExtNSLoop", 2, 0x01000001, kNetscape, 0},
        AppCase{"AnimExts", GifWriter().Application("ANIMEXTS1.0", {{1, 4, 0}}).Data(),
                "TGIFAppExtNSLoop", 4, 0, "ANIMEXTS1.0", 0},
        AppCase{"FirstSubBlockOfElevenBytes",
                GifWriter().Application(kNetscape, {Bytes(11, 'x'), {1, 2}}).Data(),
                "TGIFUnknownAppExtension", 0, 0, kNetscape, 2},
        AppCase{"FirstSubBlockOfTenBytes",
                GifWriter().Application(kNetscape, {Bytes(10, 'x')}).Data(),
                "TGIFUnknownAppExtension", 0, 0, kNetscape, 1},
        AppCase{"UnregisteredSignature",
                GifWriter().Application("XMP DataXMP", {{1}, {2, 3}, {4, 5, 6}}).Data(),
                "TGIFUnknownAppExtension", 0, 0, "XMP DataXMP", 3},
        AppCase{"BlockSizeTen", GifWriter().Application("ABCDEFGHIJ", {{9}}).Data(),
                "TGIFUnknownAppExtension", 0, 0, std::string("ABCDEFGHIJ\0", 11), 1},
        // Block sizes above 11: the signature is the first 11 bytes, the rest is skipped,
        // and the data sub-blocks are kept as raw blocks.
        AppCase{"BlockSizeTwelve", GifWriter().Application("NETSCAPE2.0+", {{1, 9, 0}}).Data(),
                "TGIFUnknownAppExtension", 0, 0, kNetscape, 1}),
    CaseName());

TEST(ExtensionTest, TwoGraphicControlsBeforeOneImage) {
  const Loaded loaded =
      LoadWithExtensions(GifWriter().GraphicControl(0x04, 1, 0).GraphicControl(0x01, 2, 1).Data());
  const TGIFSubImage& frame = loaded.Frame(0);
  ASSERT_EQ(frame.ExtensionBlocks.Count(), 2);
  EXPECT_EQ(frame.FrameControl, &frame.ExtensionBlocks[0]);
  EXPECT_EQ(frame.FrameControl->FrameDelay(), 1);
  EXPECT_TRUE(frame.HasTransparency);  // set by the second one
}

TEST(ExtensionTest, FreeingTheControlClearsTheFrame) {
  Loaded loaded = LoadWithExtensions(GifWriter().GraphicControl(0x01, 2, 1).Data());
  TGIFSubImage& frame = loaded.Frame(0);
  ASSERT_TRUE(frame.HasTransparency);
  frame.ExtensionBlocks.Delete(0);
  EXPECT_FALSE(frame.HasTransparency);
  EXPECT_EQ(frame.FrameControl, nullptr);
}

TEST(ExtensionTest, ShortGraphicControlKeepsWhatCame) {
  const Loaded loaded = Load(GifWriter().Header(2, 1).Raw({0x21, 0xF9, 4, 0x01, 9}).Data());
  ASSERT_EQ(loaded.FrameCount(), 1);
  const auto& control =
      dynamic_cast<TGIFGraphicControlExtension&>(loaded.Frame(0).ExtensionBlocks[0]);
  EXPECT_EQ(control.Record, (std::array<uint8_t, 6>{4, 0x01, 9, 0, 0, 0}));
  EXPECT_FALSE(loaded.Frame(0).HasTransparency) << "the flag is not looked at";
}

TEST(ExtensionTest, CommentAndTextLines) {
  const Loaded loaded =
      LoadWithExtensions(GifWriter()
                             .Raw({0x21, 0xFE, 5, 'a', 'b', 0, 'c', 'd', 2, 'e', 'f', 0})
                             .PlainText("hi")
                             .Data());
  const TGIFSubImage& frame = loaded.Frame(0);
  ASSERT_EQ(frame.ExtensionBlocks.Count(), 2);
  EXPECT_EQ(dynamic_cast<const TGIFCommentExtension&>(frame.ExtensionBlocks[0]).CommentLines,
            (std::vector<std::string>{"ab", "ef"}));
  const auto& text = dynamic_cast<const TGIFTextExtension&>(frame.ExtensionBlocks[1]);
  EXPECT_EQ(text.TextLines, std::vector<std::string>{"hi"});
  EXPECT_EQ(text.GridWidth(), 16);
  EXPECT_EQ(text.TextForeIndex(), 1);
}

TEST(ExtensionTest, WrittenForms) {
  TGIFSubImage frame(nullptr);
  MemoryStream out;
  TGIFAppExtNSLoop loop(&frame);
  loop.LoopCount = 0x0102;
  loop.SaveToStream(out);
  loop.BufferingSize = 0x0A0B0C0D;
  loop.SaveToStream(out);
  TGIFCommentExtension comment(&frame);
  comment.CommentLines = {"", std::string(300, 'z'), "ok"};
  comment.SaveToStream(out);

  Bytes expected = {0x21, 0xFF, 11};
  expected.insert(expected.end(), kNetscape.begin(), kNetscape.end());
  expected.insert(expected.end(), {3, 1, 2, 1, 0});
  const Bytes first = expected;
  expected.resize(expected.size() - 1);
  expected.insert(expected.end(), {5, 2, 0x0D, 0x0C, 0x0B, 0x0A, 0});
  Bytes all = first;
  all.insert(all.end(), expected.begin(), expected.end());
  all.insert(all.end(), {0x21, 0xFE, 255});
  all.insert(all.end(), 255, 'z');
  all.push_back(45);
  all.insert(all.end(), 45, 'z');
  all.insert(all.end(), {2, 'o', 'k', 0});
  EXPECT_EQ(out.Bytes(), all);
}

TEST(ExtensionTest, WrongIntroducerOrLabelOutsideTheListRead) {
  TGIFSubImage frame(nullptr);
  TGIFCommentExtension comment(&frame);
  for (const auto& [bytes, message] :
       {std::pair{Bytes{0x22, 0xFE, 0}, "Invalid extension introducer"},
        std::pair{Bytes{0x21, 0xF9, 0},
                  "Internal error: Extension Instance does not match "
                  "Extension Label"}}) {
    ByteViewStream stream(bytes);
    try {
      comment.LoadFromStream(stream);
      ADD_FAILURE() << message;
    } catch (const GIFException& error) {
      EXPECT_STREQ(error.what(), message);
    }
  }
}

// A comment class of our own, to see which registration the reader picks.
class MarkedComment : public TGIFCommentExtension {
 public:
  static const TGIFExtensionClass& StaticClass() {
    static const TGIFExtensionClass cls{"MarkedComment", 0x03, &KeepClass,
                                        [](TGIFSubImage* frame) -> std::unique_ptr<TGIFExtension> {
                                          return std::make_unique<MarkedComment>(frame);
                                        }};
    return cls;
  }
  explicit MarkedComment(TGIFSubImage* frame) : TGIFCommentExtension(frame) {}
  const TGIFExtensionClass& Class() const override { return StaticClass(); }
};

class OtherMarkedComment : public MarkedComment {
 public:
  static const TGIFExtensionClass& StaticClass() {
    static const TGIFExtensionClass cls{"OtherMarkedComment", 0x03, &KeepClass,
                                        [](TGIFSubImage* frame) -> std::unique_ptr<TGIFExtension> {
                                          return std::make_unique<OtherMarkedComment>(frame);
                                        }};
    return cls;
  }
  using MarkedComment::MarkedComment;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }
};

TEST(ExtensionTest, LaterRegistrationWins) {
  // Label 0x03 and the signature below are used by no other test.
  RegisterExtension(0x03, MarkedComment::StaticClass());
  RegisterExtension(0x03, OtherMarkedComment::StaticClass());
  RegisterAppExtension("ZEPHLETTEST", TGIFUnknownAppExtension::StaticClass());
  RegisterAppExtension("ZEPHLETTEST", TGIFAppExtNSLoop::StaticClass());

  const Loaded loaded = LoadWithExtensions(
      GifWriter().Raw({0x21, 0x03, 2, 'h', 'i', 0}).Application("ZEPHLETTEST", {{1, 6, 0}}).Data());
  const TGIFSubImage& frame = loaded.Frame(0);
  ASSERT_EQ(frame.ExtensionBlocks.Count(), 2);
  EXPECT_STREQ(frame.ExtensionBlocks[0].Class().Name, "OtherMarkedComment");
  EXPECT_EQ(dynamic_cast<const TGIFCommentExtension&>(frame.ExtensionBlocks[0]).CommentLines,
            std::vector<std::string>{"hi"});
  EXPECT_EQ(dynamic_cast<const TGIFAppExtNSLoop&>(frame.ExtensionBlocks[1]).LoopCount, 6);
}

TEST(ExtensionTest, FindExtensionClassLeavesTheStream) {
  const Bytes bytes = GifWriter().NetscapeLoop(1).Data();
  ByteViewStream stream(bytes);
  stream.SetPosition(1);  // after the introducer
  EXPECT_EQ(FindExtensionClass(stream), &TGIFAppExtNSLoop::StaticClass());
  EXPECT_EQ(stream.Position(), 1);
}

}  // namespace
}  // namespace zephlet::test
