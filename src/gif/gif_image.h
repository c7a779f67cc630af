// TGIFImage: one GIF read into an object tree of a screen header and an ordered frame list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gif/gif_header.h"
#include "gif/gif_object.h"
#include "gif/painter/painter_event.h"
#include "gif/stream.h"
#include "gif/sub_image.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/geometry.h"
#include "graphics/palette.h"
#include "runtime/thread_list.h"

namespace zephlet {

class TGIFPainter;

// Unit-level state. The player adds bit 6 to DefaultPaintOptions before it creates its image.
inline uint16_t DefaultPaintOptions = 0x060F;
// When set, a frame's bitmap is built as soon as the frame is read; nothing sets it.
inline bool RenderOnLoad = false;

inline constexpr uint8_t kDefaultColorReduction = 6;
inline constexpr int kDefaultReductionBits = 8;
inline constexpr uint8_t kDefaultDitherMode = 0;
inline constexpr uint8_t kDefaultCompression = 0;
inline constexpr int kDefaultPainterPriority = 3;  // the platform's normal thread priority
inline constexpr int kDefaultSpeedPercent = 100;
inline constexpr uint32_t kColorNone = 0x1FFFFFFF;  // the platform's no-colour value

// What the image needs of the painter library: installed by it when it makes a
// painter, so an image without painters needs none of it.
class TGIFPainterService {
 public:
  virtual ~TGIFPainterService() = default;
  virtual void StopPainters(TGIFImage& image) = 0;
  virtual void KillPainterThreads(TGIFImage& image) = 0;
  virtual void HaltDrawPainter(TGIFImage& image) = 0;
  // The image goes away: every painter still registered leaves it untouched.
  virtual void DetachPainters(TGIFImage& image) = 0;
};
void InstallPainterService(TGIFPainterService* service);

class TGIFImage : public TGIFObject {
 public:
  TGIFImage();
  ~TGIFImage() override;

  // Empties the image: frames freed, global map cleared, logical size 0. The other header
  // bytes stay; a load overwrites them.
  void Clear();
  // Reads one GIF from the stream's position. On an error the position goes back to where
  // the load began, the frames completed before it stay, and the error propagates.
  void LoadFromStream(Stream& stream);
  // Opens the file for reading and loads it.
  void LoadFromFile(const std::string& file_name);
  // Copies another image (null clears this one; this image itself does nothing).
  void Assign(const TGIFImage* source);

  int Width() const { return header_.LogicalWidth; }
  int Height() const { return header_.LogicalHeight; }
  bool Empty() const { return frames_.Count() == 0; }
  bool Equals(const TGIFImage& other) const { return this == &other; }

  TGIFImageList& Frames() { return frames_; }
  const TGIFImageList& Frames() const { return frames_; }
  TGIFHeader& ScreenHeader() { return header_; }
  const TGIFHeader& ScreenHeader() const { return header_; }
  TGIFGlobalColorMap& GlobalMap() { return header_.GlobalMap; }

  // Appends a frame made for this image, then fires the change notification.
  TGIFSubImage& AddFrame(std::unique_ptr<TGIFSubImage> frame);

  // Events. The reader passes severity 1 and the object that found the defect as sender.
  GIFWarningEvent OnGIFWarning;
  ProgressEvent OnProgress;
  ChangeEvent OnChange;

  void Warning(TGIFObject* sender, int severity, const std::string& message);
  void Progress(TGIFObject* sender, ProgressStage stage, int percent, bool redraw_now,
                const std::string& message);
  virtual void Changed(TGIFObject* sender);

  // Fields of the painting and clean-up that come later, with the unit defaults.
  uint16_t PaintOptions;
  uint8_t ColorReduction = kDefaultColorReduction;
  int ReductionBits = kDefaultReductionBits;
  uint8_t DitherMode = kDefaultDitherMode;
  uint8_t Compression = kDefaultCompression;
  int PainterPriority = kDefaultPainterPriority;
  int SpeedPercent = kDefaultSpeedPercent;
  uint32_t BackdropColor = kColorNone;

  // Rendering state (frame_bitmap.cpp). The image's palette, or none.
  graphics::PaletteHandle SharedPalette;
  // Set when a new palette dropped a bitmap; the next bitmap build then asks for a redraw.
  bool PaletteModified = false;
  // Frames are rendered dithered onto the web cube: DitherOption is set and either
  // AutoDitherOption is clear or the display is paletted.
  bool IsDithering() const;
  // The image's palette: SharedPalette, the web cube when dithering, else one made from
  // the global table (stored as SharedPalette), or frame 0's palette without a global
  // table. Raises "No global or local color table defined" when called again from inside
  // itself (no table anywhere).
  graphics::PaletteHandle ImagePalette();
  // Replaces SharedPalette.
  void SetImagePalette(graphics::PaletteHandle palette);

  // Rewrites the frames before display (tidy_frames.cpp): `options` is a set of the
  // TidyOptions of tidy_frames.h. Stops the painters and holds the Painters lock meanwhile.
  void TidyFrames(uint8_t options, uint8_t color_reduction, uint8_t dither_mode,
                  int32_t reduction_bits);

  // The image's live painters. Its lock is the painter lock that the painters,
  // the clean-up and the drawing hold while they look at the frames.
  runtime::ThreadList<TGIFPainter> Painters;

  // Painting (gif/painter/). StartPainter, CreatePainter, SetSpeedPercent and the
  // drawing below are defined by the painter library; StopPainters, KillPainterThreads
  // and ReleaseDrawCache reach the painters through the painter service, so that the
  // reader links without it.
  // Starts a painter on `rect` of `canvas`; returns it when it is threaded (launched),
  // none when it already ran inline, or for an empty image or rectangle.
  TGIFPainter* StartPainter(graphics::Canvas& canvas, const graphics::Rect& rect,
                            uint16_t options);
  // Creates and registers a painter (a threaded one is returned unlaunched; a
  // synchronous one runs inline and none is returned). `ref`, when given, is the slot
  // that holds the painter until it finishes.
  TGIFPainter* CreatePainter(TGIFPainter** ref, graphics::Canvas& canvas,
                             const graphics::Rect& rect, uint16_t options);
  // Clamps to 0..1000 and passes a changed value on to DrawPainter.
  void SetSpeedPercent(int percent);
  // Halts every painter and waits, serving hand-overs, until the threaded ones have
  // finished; then releases the draw cache.
  void StopPainters();
  // Halts the threaded painters and waits for them to finish, serving hand-overs.
  void KillPainterThreads();
  // Copied into every painter when it is created.
  PainterEvent OnPaintBegin;
  PainterEvent OnFrameBegin;
  PainterEvent OnFrameDone;
  PainterEvent OnNextPass;
  PainterEvent OnPaintEnd;

  // Drawing for picture controls (gif/painter/image_draw.cpp).
  void Draw(graphics::Canvas& canvas, const graphics::Rect& rect);
  // DrawCache, made from frame 0 when missing; none without frames.
  graphics::Bitmap* DrawCacheBitmap();
  // DrawCache, made empty (image-sized, image palette) when missing.
  graphics::Bitmap* NewDrawCache();
  // Halts DrawPainter and frees DrawCache.
  void ReleaseDrawCache();
  // Halts DrawPainter, waits for it to end, then releases the draw cache.
  void StopDrawPainter();
  // The painter started by Draw; it clears this slot itself when it finishes.
  TGIFPainter* DrawPainter = nullptr;
  // The image-sized bitmap Draw paints through; its changes are the image's changes.
  std::unique_ptr<graphics::Bitmap> DrawCache;
  // Guards Draw against re-entry.
  bool Drawing = false;

  // Pixels held by this image's frames. ReservePixels raises OutOfMemoryError when the
  // total would pass kMaxImagePixels.
  int64_t AllocatedPixels() const { return allocated_pixels_; }
  void ReservePixels(int64_t count);
  void ReleasePixels(int64_t count);

 private:
  TGIFHeader header_;
  TGIFImageList frames_;
  int64_t allocated_pixels_ = 0;
  bool in_image_palette_ = false;  // ImagePalette is running
};

}  // namespace zephlet
