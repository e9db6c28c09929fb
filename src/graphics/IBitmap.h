// IBitmap: a handle to an image in the process-wide bitmap cache, with its film-strip layout.
// Copied by value; the image itself is never owned by the handle.
#pragma once

class IArtSource;
class PIX_IBitmap;

struct IBitmap {
  PIX_IBitmap* mData = nullptr;  // null when the image could not be loaded: never drawn
  int W = 0, H = 0;              // the whole image
  int N = 1;                     // frames in the strip
  bool mFramesAreHorizontal = false;
  // Draws the frames at other scales; null: they are resampled from the image. Not owned.
  IArtSource* mArt = nullptr;

  IBitmap() = default;
  IBitmap(PIX_IBitmap* data, int w, int h, int n = 1, bool framesAreHorizontal = false)
      : mData(data), W(w), H(h), N(n), mFramesAreHorizontal(framesAreHorizontal) {}

  // One frame's size; a strip with no frames counts as one frame.
  int FrameWidth() const { return mFramesAreHorizontal && N > 0 ? W / N : W; }
  int FrameHeight() const { return !mFramesAreHorizontal && N > 0 ? H / N : H; }
};
