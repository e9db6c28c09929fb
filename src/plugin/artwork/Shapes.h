// Anti-aliased shapes: drawn four times larger with the raster library's fills (white adds,
// black takes away), then shrunk with its box filter into a coverage map. Coordinates are design
// units; the builder multiplies them by the artwork scale.
#pragma once

#include "pix/PIX_MemBitmap.h"
#include "plugin/artwork/Coverage.h"

#include <functional>
#include <vector>

struct Pt {
  double x, y;
};

// Angles as on a clock face: 0 up, growing clockwise, radians.
Pt Polar(double cx, double cy, double r, double angle);

class ShapeBuilder {
 public:
  // The box (design units) every shape must fit in; shapes outside it are cut off.
  ShapeBuilder(double scale, double left, double top, double right, double bottom);

  ShapeBuilder(const ShapeBuilder&) = delete;
  ShapeBuilder& operator=(const ShapeBuilder&) = delete;

  void disc(double cx, double cy, double r, bool add = true);
  void ring(double cx, double cy, double inner, double outer);
  void convex(const std::vector<Pt>& pts, bool add = true);
  void rect(double x, double y, double w, double h, bool add = true);
  void roundRect(double x, double y, double w, double h, double radius, bool add = true);
  // A stroke of the given width; round caps add half-width discs at both ends.
  void segment(Pt a, Pt b, double width, bool roundCaps, bool add = true);
  // A stroke whose width runs from w0 at a to w1 at b (a tapered needle or pointer).
  void taper(Pt a, Pt b, double w0, double w1, bool add = true);
  // The part of a ring between two clock angles.
  void arcBand(double cx, double cy, double inner, double outer, double a0, double a1, bool add = true);
  // A star-shaped outline around a centre: radius as a function of the clock angle.
  void radial(double cx, double cy, const std::function<double(double)>& radius, int steps, bool add = true);

  Coverage resolve();

 private:
  // Design units to supersampled pixel centres.
  double mx(double x) const;
  double my(double y) const;
  void polygonPx(const std::vector<double>& xs, const std::vector<double>& ys, bool add);

  double m_scale;
  int m_px0, m_py0, m_w, m_h;  // canvas pixel box
  PIX_MemBitmap m_big;
};
