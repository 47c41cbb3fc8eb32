// The world as the camera that renders sees it, drawn through the painter: sky and horizon, the ground
// with a grid, the roads with their lines and distance posts, the vehicles and the player on
// foot as flat-shaded bodies. Only the world's state is read.
#pragma once

#include <string>
#include <vector>

#include "sim/core/world.h"
#include "sim/render/painter.h"
#include "sim/render/road.h"
#include "sim/render/view.h"

namespace sim {

// Line widths and sizes on screen are given for this many lines and scale with the picture.
constexpr double ReferencePictureHeight = 1080.0;

// Fills the whole width x height picture with the view of this frame.
void DrawScene(Painter& painter, const World& world, const std::vector<Road>& roads, int width, int height);

// The frame as the game shows it, the same for pictures, video and the page: the view, then the
// screen output and the notifications over it.
void DrawFrame(Painter& painter, const World& world, const std::vector<Road>& roads,
               const std::vector<std::string>& notifications, int width, int height);

// Add to the current path what is left of a polygon or a segment, given in the camera's
// frame, after cutting it at the near plane.
void AddCameraPolygon(Painter& painter, const View& view, const std::vector<CameraPoint>& polygon);
void AddCameraSegment(Painter& painter, const View& view, CameraPoint a, CameraPoint b);

// The vehicles and the player on foot, face by face, the farthest first (bodies.cpp).
void DrawBodies(Painter& painter, const View& view, const World& world);

}  // namespace sim
