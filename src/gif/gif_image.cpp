#include "gif/gif_image.h"

#include <atomic>

#include "gif/gif_error.h"
#include "gif/gif_limits.h"

namespace zephlet {

namespace {
constexpr const char* kLoading = "Loading...";
constexpr const char* kCopying = "Copying...";
std::atomic<TGIFPainterService*> painter_service{nullptr};
}  // namespace

void InstallPainterService(TGIFPainterService* service) {
  painter_service = service;
}

TGIFImage::TGIFImage() : PaintOptions(DefaultPaintOptions), header_(this), frames_(this) {
  Clear();
}

TGIFImage::~TGIFImage() {
  StopPainters();
  if (TGIFPainterService* service = painter_service) service->DetachPainters(*this);
  Clear();
}

void TGIFImage::StopPainters() {
  if (TGIFPainterService* service = painter_service) service->StopPainters(*this);
  ReleaseDrawCache();
}

void TGIFImage::KillPainterThreads() {
  if (TGIFPainterService* service = painter_service) service->KillPainterThreads(*this);
}

void TGIFImage::ReleaseDrawCache() {
  if (TGIFPainterService* service = painter_service) service->HaltDrawPainter(*this);
  DrawCache.reset();
}

void TGIFImage::Clear() {
  // No painter may look at the frames while they go.
  StopPainters();
  frames_.Clear();
  header_.GlobalMap.Clear();
  header_.GlobalMap.Changed();
  header_.LogicalWidth = 0;
  header_.LogicalHeight = 0;
  SetImagePalette(nullptr);
}

void TGIFImage::LoadFromStream(Stream& stream) {
  Progress(this, ProgressStage::Starting, 0, false, kLoading);
  Clear();
  const int64_t start = stream.Position();
  try {
    header_.LoadFromStream(stream);
    frames_.LoadFromStream(stream, this);
    TGIFTrailer trailer(this);
    trailer.LoadFromStream(stream);
  } catch (...) {
    stream.SetPosition(start);
    Progress(this, ProgressStage::Ending, 0, true, kLoading);
    throw;
  }
  Progress(this, ProgressStage::Ending, 100, true, kLoading);
}

void TGIFImage::LoadFromFile(const std::string& file_name) {
  FileReadStream stream(file_name);
  LoadFromStream(stream);
}

void TGIFImage::Assign(const TGIFImage* source) {
  if (source == this) return;
  if (source == nullptr) {
    Clear();
    return;
  }
  Clear();
  OnProgress = source->OnProgress;
  OnGIFWarning = source->OnGIFWarning;
  try {
    Progress(this, ProgressStage::Starting, 0, false, kCopying);
    header_.Assign(source->header_);
    PainterPriority = source->PainterPriority;
    BackdropColor = source->BackdropColor;
    PaintOptions = source->PaintOptions;
    ColorReduction = source->ColorReduction;
    DitherMode = source->DitherMode;
    const int count = source->frames_.Count();
    for (int i = 0; i < count; ++i) {
      auto frame = std::make_unique<TGIFSubImage>(this);
      frame->Assign(source->frames_.SubImage(i));
      AddFrame(std::move(frame));
      Progress(this, ProgressStage::Running, PercentOf(i + 1, count), false, kCopying);
    }
  } catch (...) {
    Progress(this, ProgressStage::Ending, 0, false, kCopying);
    OnProgress = nullptr;
    OnGIFWarning = nullptr;
    throw;
  }
  Progress(this, ProgressStage::Ending, 100, false, kCopying);
  OnProgress = nullptr;
  OnGIFWarning = nullptr;
}

TGIFSubImage& TGIFImage::AddFrame(std::unique_ptr<TGIFSubImage> frame) {
  // Only a frame made for this image: its pixels count against this image's limit.
  if (frame == nullptr || frame->Image() != this) RaiseGIFError(gif_msg::kUnsupportedObject);
  ReleaseDrawCache();
  auto& added = static_cast<TGIFSubImage&>(frames_.Add(std::move(frame)));
  Changed(this);
  return added;
}

void TGIFImage::Warning(TGIFObject* sender, int severity, const std::string& message) {
  if (OnGIFWarning) OnGIFWarning(sender, severity, message);
}

void TGIFImage::Progress(TGIFObject* sender, ProgressStage stage, int percent, bool redraw_now,
                         const std::string& message) {
  if (OnProgress) OnProgress(sender, stage, percent, redraw_now, ProgressRect{}, message);
}

void TGIFImage::Changed(TGIFObject* sender) {
  if (OnChange) OnChange(sender);
}

void TGIFImage::ReservePixels(int64_t count) {
  if (count > kMaxImagePixels - allocated_pixels_) throw OutOfMemoryError();
  allocated_pixels_ += count;
}

void TGIFImage::ReleasePixels(int64_t count) {
  allocated_pixels_ -= count;
}

}  // namespace zephlet
