#include "sim/render/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "sim/render/screen_output.h"

namespace sim {

namespace {

constexpr Rgb SkyHigh{0.36, 0.56, 0.84};
constexpr Rgb SkyLow{0.80, 0.86, 0.92};
constexpr Rgb Haze{0.66, 0.72, 0.66};
constexpr Rgb Grass{0.38, 0.50, 0.29};
constexpr Rgb GridColour{0.22, 0.32, 0.16};
constexpr Rgb Asphalt{0.29, 0.29, 0.31};
constexpr Rgb LinePaint{0.94, 0.94, 0.90};
constexpr Rgb PostWhite{0.96, 0.96, 0.96};
constexpr Rgb Reflector{0.88, 0.16, 0.10};

// Shares of the picture's height over which the sky blues away from the horizon and the
// ground's haze fades into grass.
constexpr double SkyGradientShare = 0.6;
constexpr double HazeShare = 0.06;
constexpr double SkyMargin = 1.0;  // rows above and below the sky's that the sky is drawn in too
constexpr double PlainGroundMargin = 2.0;  // pixels beyond the haze's reach before the grass is drawn plain

// The grid: lines every GridSpacing metres out to GridReach around the eye, fading in bands.
constexpr double GridSpacing = 10.0;
constexpr double GridReach = 240.0;
constexpr double GridPiece = 20.0;  // lines are cut into pieces so that each fades with its distance
struct GridBand {
  double within;  // metres from the eye
  double alpha;
};
constexpr GridBand GridBands[] = {{60.0, 0.45}, {130.0, 0.25}, {GridReach * 1.5, 0.12}};
constexpr double GridLineWidth = 1.2;  // pixels at the reference height

// The road's paint and furniture, in metres.
constexpr double RoadDrawDistance = 700.0;
constexpr double EdgeLineInset = 0.25;
constexpr double EdgeLineWidth = 0.15;
constexpr double DashLength = 3.0;
constexpr double DashPeriod = 9.0;
constexpr double DashWidth = 0.12;
constexpr double MarkerSpacing = 50.0;
constexpr double MarkerOutside = 1.0;  // beyond the road's edge
constexpr double MarkerWidth = 0.14;
constexpr double MarkerHeight = 1.0;
constexpr double ReflectorHeight = 0.18;  // the band at the post's top

// A world polygon, cut at the near plane, as a closed sub-path.
void AddPolygon(Painter& painter, const View& view, std::initializer_list<Vec3> corners) {
  std::vector<CameraPoint> points;
  points.reserve(corners.size());
  for (const Vec3& corner : corners) points.push_back(ToCamera(view, corner));
  AddCameraPolygon(painter, view, points);
}

void AddSegment(Painter& painter, const View& view, Vec3 from, Vec3 to) {
  AddCameraSegment(painter, view, ToCamera(view, from), ToCamera(view, to));
}

// The horizon on the picture: its point nearest the centre and the unit vector from it up into
// the sky. Not seen when the camera looks straight up or down.
struct Horizon {
  bool seen = false;
  PixelPoint point;
  double upX = 0.0, upY = 0.0;
};

Horizon HorizonOf(const View& view) {
  // A ray through pixel (x, y) climbs m20 * right + m21 + m22 * up per metre ahead, linear in
  // the pixel; the horizon is where it is level.
  const auto& m = view.axes.m;
  const double gradientX = m[2][0] / view.pixelsPerUnit, gradientY = -m[2][2] / view.pixelsPerUnit;
  const double length = std::hypot(gradientX, gradientY);
  Horizon horizon;
  if (length < 1e-12) return horizon;
  const double climbAtCentre = m[2][1];
  horizon.seen = true;
  horizon.upX = gradientX / length;
  horizon.upY = gradientY / length;
  horizon.point = {view.centreX - climbAtCentre / length * horizon.upX, view.centreY - climbAtCentre / length * horizon.upY};
  return horizon;
}

// A gradient from `atHorizon` on the horizon to `away` at `reach` pixels from it, up into the
// sky when positive, down over the ground when negative; a plain colour without a horizon.
void SetHorizonGradient(Painter& painter, const Horizon& horizon, double reach, const Rgb& atHorizon, const Rgb& away) {
  if (!horizon.seen) {
    SetColour(painter, away);
    return;
  }
  SetLinearGradient(painter, horizon.point.x, horizon.point.y, horizon.point.x + horizon.upX * reach,
                    horizon.point.y + horizon.upY * reach, atHorizon, away);
}

// The first whole row from which every pixel lies at least `reach` pixels (and a margin) below
// the horizon; the height when there is none.
double RowsBelowHorizonFrom(const Horizon& horizon, double reach, int width, int height) {
  // A point (x, y) lies -((x - px) * upX + (y - py) * upY) below the horizon: the farther down a
  // column, the farther below while the sky is above the ground on the picture.
  if (!horizon.seen || horizon.upY >= 0.0) return height;
  double from = 0.0;
  for (const double x : {0.0, static_cast<double>(width)})
    from = std::max(from, horizon.point.y +
                              (reach + PlainGroundMargin + (x - horizon.point.x) * horizon.upX) / -horizon.upY);
  return std::isfinite(from) ? std::min(std::ceil(from), static_cast<double>(height)) : height;
}

// True when the polygon is the picture's whole rows from `top` down, corner for corner.
bool IsRowsFrom(const std::vector<PixelPoint>& polygon, double top, int width, int height) {
  const PixelPoint corners[] = {{0.0, top}, {static_cast<double>(width), top},
                                {static_cast<double>(width), static_cast<double>(height)}, {0.0, static_cast<double>(height)}};
  return polygon.size() == 4 && std::all_of(std::begin(corners), std::end(corners), [&](const PixelPoint& corner) {
           return std::any_of(polygon.begin(), polygon.end(),
                              [&](const PixelPoint& p) { return p.x == corner.x && p.y == corner.y; });
         });
}

void DrawSkyAndGround(Painter& painter, const View& view, double groundLevel, int width, int height) {
  const Horizon horizon = HorizonOf(view);
  const std::vector<PixelPoint> ground = GroundOnPicture(view, groundLevel, width, height);
  SetHorizonGradient(painter, horizon, SkyGradientShare * height, SkyLow, SkyHigh);
  if (ground.empty()) {
    Paint(painter);
    return;
  }
  // The sky only in the rows where the ground will not cover every pixel whole: a gradient costs
  // a few dozen instructions a pixel once the horizon tilts, and a pixel that the opaque ground
  // covers whole ends the same whatever was under it. Whole rows, so that each row of the
  // gradient starts where painting the whole picture starts it: the picture is the same.
  const std::vector<PixelPoint> sky = SkyOnPicture(view, groundLevel, width, height);
  if (!sky.empty()) {
    double top = height, bottom = 0.0;
    for (const PixelPoint& p : sky) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    top = std::max(0.0, std::floor(top) - SkyMargin);
    bottom = std::min(static_cast<double>(height), std::ceil(bottom) + SkyMargin);
    Rectangle(painter, 0.0, top, width, bottom - top);
    Fill(painter);
  }
  // Where the haze's gradient has padded to grass, whole rows of it plain: cairo pads to the same
  // pixels as a plain fill of this colour (sky_test holds it to that), several times cheaper once
  // the horizon tilts. The ground above is cut at a whole row where only the picture's upright
  // sides cross it, so that every edge it draws is the same and no seam shows.
  const double hazeReach = HazeShare * height;
  std::vector<PixelPoint> graded = ground;
  const double plainFrom = RowsBelowHorizonFrom(horizon, hazeReach, width, height);
  if (plainFrom < height && IsRowsFrom(CutAtRow(ground, plainFrom, true), plainFrom, width, height)) {
    NewPath(painter);
    Rectangle(painter, 0.0, plainFrom, width, height - plainFrom);
    SetColour(painter, Grass);
    Fill(painter);
    graded = CutAtRow(ground, plainFrom, false);
  }
  if (graded.size() < 3) return;
  NewPath(painter);
  MoveTo(painter, graded[0].x, graded[0].y);
  for (size_t i = 1; i < graded.size(); ++i) LineTo(painter, graded[i].x, graded[i].y);
  ClosePath(painter);
  SetHorizonGradient(painter, horizon, -hazeReach, Haze, Grass);
  Fill(painter);
}

void DrawGrid(Painter& painter, const View& view, double groundLevel, double pixelScale) {
  const double originX = std::floor(view.eye.x / GridSpacing) * GridSpacing;
  const double originY = std::floor(view.eye.y / GridSpacing) * GridSpacing;
  const auto z = static_cast<float>(groundLevel);
  SetLineWidth(painter, GridLineWidth * pixelScale);
  double inner = 0.0;
  for (const GridBand& band : GridBands) {
    NewPath(painter);
    for (double across = -GridReach; across <= GridReach; across += GridSpacing) {
      for (double along = -GridReach; along < GridReach; along += GridPiece) {
        // Lines of constant x, then of constant y, one piece each.
        for (int direction = 0; direction < 2; ++direction) {
          const double x0 = direction == 0 ? originX + across : originX + along;
          const double y0 = direction == 0 ? originY + along : originY + across;
          const double x1 = direction == 0 ? x0 : x0 + GridPiece;
          const double y1 = direction == 0 ? y0 + GridPiece : y0;
          const double distance = std::hypot((x0 + x1) / 2.0 - view.eye.x, (y0 + y1) / 2.0 - view.eye.y);
          if (distance < inner || distance >= band.within) continue;
          AddSegment(painter, view, {static_cast<float>(x0), static_cast<float>(y0), z},
                     {static_cast<float>(x1), static_cast<float>(y1), z});
        }
      }
    }
    SetColour(painter, GridColour, band.alpha);
    Stroke(painter);
    inner = band.within;
  }
}

// A place on the road's centre line and the unit vector to its left, on the ground.
struct RoadFrame {
  Vec3 centre;
  double leftX, leftY;
};

// `offset` metres to the left of the centre (right when negative), `lift` metres up.
Vec3 Beside(const RoadFrame& frame, double offset, double lift = 0.0) {
  return {static_cast<float>(frame.centre.x + frame.leftX * offset), static_cast<float>(frame.centre.y + frame.leftY * offset),
          static_cast<float>(frame.centre.z + lift)};
}

RoadFrame FrameAt(const Road& road, size_t i) {
  // Left of the direction from the point before to the point after, so that pieces meet at bends.
  const Vec3& before = road.centre[i == 0 ? 0 : i - 1];
  const Vec3& after = road.centre[i + 1 < road.centre.size() ? i + 1 : i];
  const double dx = after.x - before.x, dy = after.y - before.y;
  const double length = std::hypot(dx, dy);
  if (length <= 0.0) return {road.centre[i], -1.0, 0.0};
  return {road.centre[i], -dy / length, dx / length};
}

RoadFrame Between(const RoadFrame& a, const RoadFrame& b, double share) {
  const auto mix = [share](double p, double q) { return p + (q - p) * share; };
  return {{static_cast<float>(mix(a.centre.x, b.centre.x)), static_cast<float>(mix(a.centre.y, b.centre.y)),
           static_cast<float>(mix(a.centre.z, b.centre.z))},
          mix(a.leftX, b.leftX), mix(a.leftY, b.leftY)};
}

// A strip along a piece of road from frame a to frame b, `left` to `right` metres left of the centre.
void AddStrip(Painter& painter, const View& view, const RoadFrame& a, const RoadFrame& b, double left, double right) {
  AddPolygon(painter, view, {Beside(a, left), Beside(b, left), Beside(b, right), Beside(a, right)});
}

// Drawn one after the other, each as one path in one colour.
enum RoadLayer : uint8_t { Surface, Lines, Posts, Reflectors, RoadLayerCount };
constexpr Rgb RoadLayerColours[RoadLayerCount] = {Asphalt, LinePaint, PostWhite, Reflector};

void AddRoadPiece(Painter& painter, const View& view, RoadLayer layer, const RoadFrame& a, const RoadFrame& b, double start,
                  double end) {
  const double half = RoadWidth / 2.0, length = end - start;
  switch (layer) {
    case Surface:
      AddStrip(painter, view, a, b, half, -half);
      break;
    case Lines:
      AddStrip(painter, view, a, b, half - EdgeLineInset, half - EdgeLineInset - EdgeLineWidth);
      AddStrip(painter, view, a, b, -half + EdgeLineInset + EdgeLineWidth, -half + EdgeLineInset);
      for (double dash = std::floor(start / DashPeriod) * DashPeriod; dash < end; dash += DashPeriod) {
        const double from = std::max(start, dash), to = std::min(end, dash + DashLength);
        if (from < to)
          AddStrip(painter, view, Between(a, b, (from - start) / length), Between(a, b, (to - start) / length),
                   DashWidth / 2.0, -DashWidth / 2.0);
      }
      break;
    default: {
      // A post each side; it faces along the road, so that a driver sees it.
      const double bottom = layer == Posts ? 0.0 : MarkerHeight - ReflectorHeight, w = MarkerWidth / 2.0;
      for (double marker = std::ceil(start / MarkerSpacing) * MarkerSpacing; marker < end; marker += MarkerSpacing) {
        const RoadFrame at = Between(a, b, (marker - start) / length);
        for (const double side : {half + MarkerOutside, -half - MarkerOutside})
          AddPolygon(painter, view, {Beside(at, side - w, bottom), Beside(at, side + w, bottom),
                                Beside(at, side + w, MarkerHeight), Beside(at, side - w, MarkerHeight)});
      }
    }
  }
}

void DrawRoad(Painter& painter, const View& view, const Road& road) {
  auto near = [&](const Vec3& p) { return std::hypot(p.x - view.eye.x, p.y - view.eye.y) <= RoadDrawDistance; };
  for (int layer = 0; layer < RoadLayerCount; ++layer) {
    NewPath(painter);
    for (size_t i = 0; i + 1 < road.centre.size(); ++i) {
      if (road.distance[i + 1] <= road.distance[i] || (!near(road.centre[i]) && !near(road.centre[i + 1]))) continue;
      AddRoadPiece(painter, view, static_cast<RoadLayer>(layer), FrameAt(road, i), FrameAt(road, i + 1), road.distance[i],
                   road.distance[i + 1]);
    }
    SetColour(painter, RoadLayerColours[layer]);
    Fill(painter);
  }
}

}  // namespace

void AddCameraPolygon(Painter& painter, const View& view, const std::vector<CameraPoint>& polygon) {
  const std::vector<CameraPoint> kept = ClipPolygon(view, polygon);
  if (kept.size() < 3) return;
  PixelPoint p = ToPixels(view, kept[0]);
  MoveTo(painter, p.x, p.y);
  for (size_t i = 1; i < kept.size(); ++i) {
    p = ToPixels(view, kept[i]);
    LineTo(painter, p.x, p.y);
  }
  ClosePath(painter);
}

void AddCameraSegment(Painter& painter, const View& view, CameraPoint a, CameraPoint b) {
  if (!ClipSegment(view, a, b)) return;
  const PixelPoint pa = ToPixels(view, a), pb = ToPixels(view, b);
  MoveTo(painter, pa.x, pa.y);
  LineTo(painter, pb.x, pb.y);
}

void DrawScene(Painter& painter, const World& world, const std::vector<Road>& roads, int width, int height) {
  const CameraView camera = RenderedView(world);
  if (!IsFinite(camera.position) || !IsFinite(camera.rotation)) {
    // A camera nowhere sees nothing but sky.
    SetColour(painter, SkyHigh);
    Paint(painter);
    return;
  }
  const View view = MakeView(camera, width, height);
  const double groundLevel = std::isfinite(world.groundLevel) ? world.groundLevel : 0.0;
  Save(painter);
  DrawSkyAndGround(painter, view, groundLevel, width, height);
  DrawGrid(painter, view, groundLevel, height / ReferencePictureHeight);
  for (const Road& road : roads) DrawRoad(painter, view, road);
  DrawBodies(painter, view, world);
  Restore(painter);
}

void DrawFrame(Painter& painter, const World& world, const std::vector<Road>& roads,
               const std::vector<std::string>& notifications, int width, int height) {
  DrawScene(painter, world, roads, width, height);
  DrawScreenOutput(painter, world.screen, notifications, width, height);
}

}  // namespace sim
