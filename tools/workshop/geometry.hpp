// A small modelling kit for the demo workshop's part meshes: everything a
// moped is made of is a surface of revolution (tyres, hubs, lamps), a tube
// swept along a bent path (frame, handlebar, exhaust), a loft of cross-sections
// (tank, seat, mudguards), a rounded box or a flat extrusion (covers,
// brackets). All of them reduce to a grid of points whose normals are averaged
// over the grid, except across the rows and columns marked as creases, which
// get hard edges.
//
// Space is the program's: left-handed, y up, the moped's length along x.
// Triangles are emitted so that Cross(b - a, c - a) points out of the
// surface, which makes them clockwise on screen seen from outside: the
// winding Direct3D keeps with counter-clockwise culling.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/math/math.hpp"
#include "platform/mesh/mesh_data.hpp"

namespace kbh {

constexpr float kPi = 3.14159265358979f;

Vec3 Lerp(Vec3 a, Vec3 b, float t);

// --- Placement ----------------------------------------------------------------

// An orthonormal frame: local coordinates (x, y, z) map to origin + x*ax +
// y*ay + z*az. Primitives are described in local coordinates.
struct Frame {
  Vec3 origin;
  Vec3 ax{1, 0, 0};
  Vec3 ay{0, 1, 0};
  Vec3 az{0, 0, 1};

  Vec3 Point(Vec3 local) const;
  Vec3 Direction(Vec3 local) const;
};

// A frame at origin whose local y runs along axis; local x is as close to
// hint as the axis allows.
Frame FrameAlong(Vec3 origin, Vec3 axis, Vec3 hint = {1, 0, 0});
// A frame whose local z points along zAxis and whose local x is as close to
// xHint as that allows: for flat shapes (outlines in local x, y) that must
// face a given way.
Frame FrameFacing(Vec3 origin, Vec3 zAxis, Vec3 xHint = {1, 0, 0});

// --- The mesh under construction ------------------------------------------------

// Collects vertices and triangles per material slot and hands them over as the
// MeshData that the .x writer stores, triangles grouped by slot.
class MeshBuilder {
 public:
  // Opens a new material slot and makes it current; returns its number.
  int AddSubset(std::string name);
  void SetSubset(int subset);
  int CurrentSubset() const { return current_; }

  uint32_t AddVertex(Vec3 position, Vec3 normal, float u = 0.0f, float v = 0.0f);
  void AddTriangle(uint32_t a, uint32_t b, uint32_t c);

  // Marks let a part build a piece once and then move, bend or mirror it.
  struct Mark {
    size_t vertex = 0;
    std::vector<size_t> triangleEnds;  // per subset
  };
  Mark Here() const;
  // Moves every vertex added since mark through f; normals follow exactly
  // (they are carried by the inverse transpose of f's Jacobian, measured
  // numerically), so hard edges stay hard.
  void DeformSince(const Mark& mark, const std::function<Vec3(Vec3)>& f);
  void TransformSince(const Mark& mark, const Matrix& m);
  // Adds a copy, mirrored in the plane z = 0, of everything added since mark
  // (left and right halves of a moped are twins).
  void MirrorZSince(const Mark& mark);

  size_t VertexCount() const { return vertices_.size(); }
  size_t TriangleCount() const;
  int SubsetCount() const { return static_cast<int>(subsetNames_.size()); }
  const std::vector<std::string>& SubsetNames() const { return subsetNames_; }

  MeshData Build() const;

 private:
  std::vector<MeshVertex> vertices_;
  std::vector<std::vector<uint32_t>> subsetIndices_;
  std::vector<std::string> subsetNames_;
  int current_ = -1;
};

// --- Grids: the one surface every primitive becomes -----------------------------

// rows x cols points, row-major. Rows run along the length of a shape (the
// profile of a lathe, the path of a sweep), columns around it.
struct Grid {
  int rows = 0;
  int cols = 0;
  std::vector<Vec3> points;
  bool closedCols = false;  // column cols-1 joins column 0
  bool closedRows = false;  // row rows-1 joins row 0
  // Hard edges: a creased row or column gets separate vertices on either side.
  std::vector<uint8_t> creaseRows;
  std::vector<uint8_t> creaseCols;
  // Exact normals, one per point, when the shape knows them (then creases
  // are not needed); empty means averaged from the faces.
  std::vector<Vec3> normals;

  Vec3& At(int row, int col) { return points[static_cast<size_t>(row) * cols + col]; }
  Vec3 At(int row, int col) const { return points[static_cast<size_t>(row) * cols + col]; }
};

Grid MakeGrid(int rows, int cols);

// The outside is where Cross(next row - this row, next column - this column)
// points; flip turns the surface inside out.
void AddGrid(MeshBuilder& builder, const Grid& grid, bool flip = false);

// A flat polygon (its points in order round the outline, either way round),
// filled by ear clipping so that it faces along normal, with its own
// hard-edged vertices.
void AddPolygon(MeshBuilder& builder, const std::vector<Vec3>& loop, Vec3 normal);

// --- 2D shapes: cross-sections and outlines -------------------------------------

struct Shape2 {
  std::vector<Vec2> points;     // counter-clockwise
  std::vector<uint8_t> crease;  // hard edge at that point
};

Shape2 CircleShape(float radius, int segments);
Shape2 EllipseShape(float rx, float ry, int segments);
// |x/rx|^n + |y/ry|^n = 1: from an ellipse (n = 2) towards a rectangle.
Shape2 SuperellipseShape(float rx, float ry, float exponent, int segments);
// A rectangle centred on the origin with rounded corners; radius 0 gives
// sharp corners.
Shape2 RoundedRectShape(float width, float height, float radius, int cornerSegments);
// A polygon whose corners are rounded with their own radii (0 = sharp).
Shape2 FilletedPolygon(const std::vector<Vec2>& corners, const std::vector<float>& radii,
                       int cornerSegments);
// A thick arc: the ring sector between two radii and two angles, with hard
// edges at its four corners (a mudguard's or a heat shield's section).
Shape2 ArcShellShape(float innerRadius, float outerRadius, float angleFrom, float angleTo,
                     int segments);

// --- Paths ------------------------------------------------------------------------

// Straight lines between the corners, each corner rounded with a circular
// bend of the given radius: how a frame tube or an exhaust pipe is bent.
std::vector<Vec3> BentPath(const std::vector<Vec3>& corners, float bendRadius, int bendSegments,
                           float maxStraightStep = 1e9f);
// A smooth curve through every point (centripetal Catmull-Rom).
std::vector<Vec3> SmoothPath(const std::vector<Vec3>& points, int samplesPerSpan);
// A circular arc about centre in the plane spanned by the unit vectors u and v.
std::vector<Vec3> ArcPath(Vec3 centre, Vec3 u, Vec3 v, float radius, float angleFrom, float angleTo,
                          int segments);

// --- Primitives ---------------------------------------------------------------------

struct ProfilePoint {
  float r = 0.0f;  // distance from the axis
  float h = 0.0f;  // height along the axis
  bool crease = false;
};

// A surface of revolution about frame's local y axis. Walk the profile with
// r to the right and h up so that the outside is on your right (upwards on the
// outer side, counter-clockwise for a closed section). A full turn unless
// angleTo - angleFrom is less than 2 pi (angles measured from local x towards
// local z).
void AddLathe(MeshBuilder& builder, const Frame& frame, const std::vector<ProfilePoint>& profile,
              int segments, float angleFrom = 0.0f, float angleTo = 2.0f * kPi,
              bool closedProfile = false);

enum class Caps { kNone, kStart, kEnd, kBoth };

// Sweeps a cross-section along a path with twist-free (parallel-transport)
// frames; scales[i] (optional) scales the section at path point i.
void AddSweep(MeshBuilder& builder, const std::vector<Vec3>& path, const Shape2& section, Caps caps,
              const std::vector<float>& scales = {}, Vec3 upHint = {0, 1, 0});
void AddTube(MeshBuilder& builder, const std::vector<Vec3>& path, float radius, int sides,
             Caps caps = Caps::kBoth);

// Rings of equal point count joined into a surface; each ring is one row.
// Flat caps close the ends when asked (rings should be roughly planar).
void AddLoft(MeshBuilder& builder, const std::vector<std::vector<Vec3>>& rings,
             const std::vector<uint8_t>& creaseCols, Caps caps, bool flip = false);

// A ring of a 2D shape placed in frame's local xy plane.
std::vector<Vec3> PlaceShape(const Frame& frame, const Shape2& shape, float sx = 1.0f,
                             float sy = 1.0f);

// A box of the given half extents about frame's origin with every edge
// rounded by radius (segments steps per quarter round). Its flat faces are cut
// every flatStep units, so that a later deformation has vertices to bend.
void AddRoundedBox(MeshBuilder& builder, const Frame& frame, Vec3 halfExtents, float radius,
                   int segments, Vec3 flatStep = {1e9f, 1e9f, 1e9f});

// outline (in frame's local xy plane) extruded along local z from z0 to z1,
// with hard edges where the outline is creased and flat caps.
void AddExtrusion(MeshBuilder& builder, const Frame& frame, const Shape2& outline, float z0,
                  float z1, Caps caps = Caps::kBoth);

// Like AddExtrusion, but the outline is inset towards both faces so that the
// edges are rounded with the given radius (a cast cover, a cushion). The
// outline should be free of sharp corners for the rounding to look right.
void AddRoundedSlab(MeshBuilder& builder, const Frame& frame, const Shape2& outline, float z0,
                    float z1, float radius, int steps = 3);

// The same outline moved inwards (positive) or outwards by distance along
// its vertex normals.
Shape2 InsetShape(const Shape2& shape, float distance);

void AddSphere(MeshBuilder& builder, Vec3 centre, float radius, int segments);
// A ring about frame's local y axis: tube radius minor around radius major.
void AddTorus(MeshBuilder& builder, const Frame& frame, float major, float minor, int segments,
              int sides);

}  // namespace kbh
