// The projection from the world onto the screen through a camera.
//
// What it assumes, as the world's conventions give it (sim/core/world.h):
// - World axes: x east, y north, z up, in metres. A camera looks along its local y axis with
//   local x to the right of the picture and local z up.
// - The camera's rotation is pitch in x, roll in y, yaw in z, in degrees, applied with rotation
//   order 2: camera to world is position + Rz(yaw) * Rx(pitch) * Ry(roll) * p. Positive pitch
//   looks up, positive yaw turns left, positive roll lowers the camera's right side, so the
//   picture's horizon rises on the right.
// - The field of view is vertical, as the game's cameras take it: the top and bottom edges of
//   the picture are fov / 2 above and below the line of sight, whatever the aspect; the width
//   follows from the aspect with square pixels.
// - Nothing nearer than the camera's near clip distance is drawn: lines and faces are cut
//   where they cross that plane, so nothing behind the camera wraps around into the picture.
#pragma once

#include <vector>

#include "sim/core/world.h"

namespace sim {

// Used when the camera names no near clip distance of its own.
constexpr double DefaultNearClip = 0.05;

// A point in the camera's frame, in metres: right, ahead along the line of sight, and up.
struct CameraPoint {
  double right = 0.0;
  double ahead = 0.0;
  double up = 0.0;
};

// A point on the picture in pixels from its top-left corner.
struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
};

struct View {
  Vec3 eye;
  Rotation axes;               // columns: right, ahead, up in world coordinates
  double pixelsPerUnit = 1.0;  // picture pixels per metre across, one metre ahead
  double centreX = 0.0;
  double centreY = 0.0;
  double nearClip = DefaultNearClip;
};

View MakeView(const CameraView& camera, int width, int height);

CameraPoint ToCamera(const View& view, Vec3 world);

// Only for points at or beyond the near plane.
PixelPoint ToPixels(const View& view, const CameraPoint& point);

// Cuts the segment to its part at or beyond the near plane. False when nothing of it is left.
bool ClipSegment(const View& view, CameraPoint& a, CameraPoint& b);

// Cuts a polygon to its part at or beyond the near plane; empty when nothing of it is left.
std::vector<CameraPoint> ClipPolygon(const View& view, const std::vector<CameraPoint>& polygon);

// The picture's corners, clockwise from the top left, cut to where the camera sees the
// ground level at `groundHeight` (below the horizon); empty when it sees none.
std::vector<PixelPoint> GroundOnPicture(const View& view, double groundHeight, int width, int height);
// The rest of the picture: where the camera sees sky, the horizon included; empty when none.
std::vector<PixelPoint> SkyOnPicture(const View& view, double groundHeight, int width, int height);

// The part of a convex polygon on the picture above the row `y` (below it when `below`); the
// points made on the cut lie exactly on it.
std::vector<PixelPoint> CutAtRow(const std::vector<PixelPoint>& polygon, double y, bool below);

}  // namespace sim
