// IArtSource: pictures of a film strip drawn at any scale, so an editor shown larger than its
// layout gets artwork drawn for its pixels instead of a stretched copy of the 1x images (and, where
// the source says so, an editor at 1x holds only the frames it shows instead of whole strips). A
// bitmap may name one; the engine asks it for the frames it shows and keeps them in its frame cache.
#pragma once

class PIX_MemBitmap;

class IArtSource {
 public:
  virtual ~IArtSource() = default;
  // Draws frame (0-based, of nFrames) at scale pixels per layout unit into out, which is resized
  // to the frame's size at that scale. False when this scale cannot be drawn; the engine then
  // resamples the 1x image instead. Called on the UI thread.
  virtual bool DrawFrame(int frame, int nFrames, double scale, PIX_MemBitmap* out) = 0;
  // True when the source draws the frames at scale 1 too, in place of the image's own: the image
  // is then decoded only where the source fails. Any thread.
  virtual bool DrawsLayoutScale() const { return false; }
};
