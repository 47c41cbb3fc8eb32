#include "sim/render/view.h"

#include <cmath>

namespace sim {

namespace {

// A field of view the game would never take still gives a picture.
constexpr double MinimumFov = 1.0;
constexpr double MaximumFov = 170.0;

CameraPoint PointBetween(const CameraPoint& a, const CameraPoint& b, double t) {
  return {a.right + (b.right - a.right) * t, a.ahead + (b.ahead - a.ahead) * t, a.up + (b.up - a.up) * t};
}

// Keeps the part of a convex polygon where `side` is positive, cutting its edges where it is zero.
template <typename Point, typename Side, typename Between>
std::vector<Point> KeepPositive(const std::vector<Point>& polygon, Side side, Between between) {
  std::vector<Point> kept;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Point& from = polygon[i];
    const Point& to = polygon[(i + 1) % polygon.size()];
    const double a = side(from), b = side(to);
    if (a >= 0.0) kept.push_back(from);
    if ((a > 0.0 && b < 0.0) || (a < 0.0 && b > 0.0)) kept.push_back(between(from, to, a / (a - b)));
  }
  return kept;
}

PixelPoint PixelBetween(const PixelPoint& a, const PixelPoint& b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

}  // namespace

View MakeView(const CameraView& camera, int width, int height) {
  View view;
  view.eye = camera.position;
  view.axes = RotationOf(camera.rotation);
  double fov = std::isfinite(camera.fov) ? camera.fov : MinimumFov;
  fov = fov < MinimumFov ? MinimumFov : fov > MaximumFov ? MaximumFov : fov;
  view.pixelsPerUnit = (height / 2.0) / std::tan(fov / 2.0 * DegreesToRadians);
  view.centreX = width / 2.0;
  view.centreY = height / 2.0;
  view.nearClip = std::isfinite(camera.nearClip) && camera.nearClip > 0.0f ? camera.nearClip : DefaultNearClip;
  return view;
}

CameraPoint ToCamera(const View& view, Vec3 world) {
  const Vec3d point = RotateBack(view.axes, OffsetFrom(view.eye, world));
  return {point[0], point[1], point[2]};
}

PixelPoint ToPixels(const View& view, const CameraPoint& point) {
  const double scale = view.pixelsPerUnit / point.ahead;
  return {view.centreX + point.right * scale, view.centreY - point.up * scale};
}

bool ClipSegment(const View& view, CameraPoint& a, CameraPoint& b) {
  const bool aIn = a.ahead >= view.nearClip, bIn = b.ahead >= view.nearClip;
  if (!aIn && !bIn) return false;
  if (aIn && bIn) return true;
  const double t = (view.nearClip - a.ahead) / (b.ahead - a.ahead);
  (aIn ? b : a) = PointBetween(a, b, t);
  (aIn ? b : a).ahead = view.nearClip;  // exactly on the plane, whatever the rounding
  return true;
}

std::vector<CameraPoint> ClipPolygon(const View& view, const std::vector<CameraPoint>& polygon) {
  std::vector<CameraPoint> kept = KeepPositive(
      polygon, [&](const CameraPoint& p) { return p.ahead - view.nearClip; }, PointBetween);
  for (CameraPoint& point : kept)
    if (point.ahead < view.nearClip) point.ahead = view.nearClip;
  return kept;
}

namespace {

// The picture's corners, clockwise from the top left, cut to the side of the ground's horizon
// that `towards` picks: +1 the ground, -1 the sky.
std::vector<PixelPoint> PictureCutAtHorizon(const View& view, double groundHeight, int width, int height, double towards) {
  // The height the ray through a pixel gains per metre ahead: negative rays reach the ground
  // from above it; from below, the positive ones do.
  const auto& m = view.axes.m;
  const double towardsGround = (view.eye.z >= groundHeight ? -1.0 : 1.0) * towards;
  auto side = [&](const PixelPoint& p) {
    const double right = (p.x - view.centreX) / view.pixelsPerUnit, up = (view.centreY - p.y) / view.pixelsPerUnit;
    return towardsGround * (m[2][0] * right + m[2][1] + m[2][2] * up);
  };
  const double w = width, h = height;
  const std::vector<PixelPoint> corners{{0.0, 0.0}, {w, 0.0}, {w, h}, {0.0, h}};
  std::vector<PixelPoint> part = KeepPositive(corners, side, PixelBetween);
  if (part.size() < 3) part.clear();
  return part;
}

}  // namespace

std::vector<PixelPoint> CutAtRow(const std::vector<PixelPoint>& polygon, double y, bool below) {
  const double towards = below ? 1.0 : -1.0;
  return KeepPositive(
      polygon, [&](const PixelPoint& p) { return towards * (p.y - y); },
      [&](const PixelPoint& a, const PixelPoint& b, double t) { return PixelPoint{PixelBetween(a, b, t).x, y}; });
}

std::vector<PixelPoint> GroundOnPicture(const View& view, double groundHeight, int width, int height) {
  return PictureCutAtHorizon(view, groundHeight, width, height, 1.0);
}

std::vector<PixelPoint> SkyOnPicture(const View& view, double groundHeight, int width, int height) {
  return PictureCutAtHorizon(view, groundHeight, width, height, -1.0);
}

}  // namespace sim
