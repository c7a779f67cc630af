// The form's image control: holds the character's GIF and takes its size.
#pragma once

#include <memory>

#include "gif/gif_image.h"

namespace zephlet {

struct TImageControl {
  std::unique_ptr<TGIFImage> Picture;
  int Width = 0;
  int Height = 0;

  // Keeps its own copy of `image` and sizes itself to its logical screen.
  void Assign(const TGIFImage& image) {
    auto copy = std::make_unique<TGIFImage>();
    copy->Assign(&image);
    Width = copy->Width();
    Height = copy->Height();
    Picture = std::move(copy);
  }
};

}  // namespace zephlet
