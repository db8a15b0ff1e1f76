#include "tools/workshop/geometry.hpp"

#include <algorithm>
#include <cmath>

namespace kbh {

namespace {

constexpr float kDegenerate = 1e-12f;

Vec3 Negate(Vec3 v) {
  return {-v.x, -v.y, -v.z};
}

// Any unit vector perpendicular to v.
Vec3 AnyPerpendicular(Vec3 v) {
  const Vec3 hint = std::fabs(v.x) < 0.9f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  return Normalize(Cross(v, hint));
}

// The cofactor matrix of a 3x3 Jacobian carries normals: it is the inverse
// transpose scaled by the (positive) determinant, and the scale does not
// matter once the result is normalised.
struct Mat3 {
  Vec3 c[3];  // columns: images of the unit x, y, z directions
};

Vec3 CarryNormal(const Mat3& j, Vec3 n) {
  // Rows of the cofactor matrix are the cross products of column pairs.
  const Vec3 r0 = Cross(j.c[1], j.c[2]);
  const Vec3 r1 = Cross(j.c[2], j.c[0]);
  const Vec3 r2 = Cross(j.c[0], j.c[1]);
  return Normalize(r0 * n.x + r1 * n.y + r2 * n.z);
}

float SignedArea(const std::vector<Vec2>& points) {
  double area = 0.0;
  for (size_t i = 0; i < points.size(); ++i) {
    const Vec2 a = points[i];
    const Vec2 b = points[(i + 1) % points.size()];
    area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return static_cast<float>(area * 0.5);
}

bool PointInTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
  const auto side = [](Vec2 p0, Vec2 p1, Vec2 q) {
    return (p1.x - p0.x) * (q.y - p0.y) - (p1.y - p0.y) * (q.x - p0.x);
  };
  return side(a, b, p) >= 0.0f && side(b, c, p) >= 0.0f && side(c, a, p) >= 0.0f;
}

// Ear clipping of a counter-clockwise simple polygon; returns index triples.
std::vector<int> TriangulatePolygon(const std::vector<Vec2>& points) {
  std::vector<int> result;
  std::vector<int> remaining(points.size());
  for (size_t i = 0; i < points.size(); ++i)
    remaining[i] = static_cast<int>(i);
  size_t guard = 0;
  while (remaining.size() > 3 && guard < points.size() * points.size()) {
    ++guard;
    bool clipped = false;
    const size_t n = remaining.size();
    for (size_t k = 0; k < n; ++k) {
      const int ia = remaining[(k + n - 1) % n];
      const int ib = remaining[k];
      const int ic = remaining[(k + 1) % n];
      const Vec2 a = points[ia];
      const Vec2 b = points[ib];
      const Vec2 c = points[ic];
      const float convex = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
      if (convex <= 0.0f) continue;
      bool empty = true;
      for (int other : remaining) {
        if (other == ia || other == ib || other == ic) continue;
        if (PointInTriangle(points[other], a, b, c)) {
          empty = false;
          break;
        }
      }
      if (!empty) continue;
      result.insert(result.end(), {ia, ib, ic});
      remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(k));
      clipped = true;
      break;
    }
    if (!clipped) break;  // degenerate outline: fan the rest rather than loop forever
  }
  for (size_t k = 1; k + 1 < remaining.size(); ++k) {
    result.insert(result.end(), {remaining[0], remaining[k], remaining[k + 1]});
  }
  return result;
}

}  // namespace

Vec3 Lerp(Vec3 a, Vec3 b, float t) {
  return a + (b - a) * t;
}

// --- Frame -------------------------------------------------------------------------

Vec3 Frame::Point(Vec3 local) const {
  return origin + ax * local.x + ay * local.y + az * local.z;
}

Vec3 Frame::Direction(Vec3 local) const {
  return ax * local.x + ay * local.y + az * local.z;
}

Frame FrameAlong(Vec3 origin, Vec3 axis, Vec3 hint) {
  Frame frame;
  frame.origin = origin;
  frame.ay = Normalize(axis);
  Vec3 x = hint - frame.ay * Dot(hint, frame.ay);
  if (Length(x) < 1e-4f) x = AnyPerpendicular(frame.ay);
  frame.ax = Normalize(x);
  frame.az = Cross(frame.ax, frame.ay);
  return frame;
}

Frame FrameFacing(Vec3 origin, Vec3 zAxis, Vec3 xHint) {
  Frame frame;
  frame.origin = origin;
  frame.az = Normalize(zAxis);
  Vec3 x = xHint - frame.az * Dot(xHint, frame.az);
  if (Length(x) < 1e-4f) x = Cross(frame.az, Vec3{0, 1, 0});
  if (Length(x) < 1e-4f) x = Cross(frame.az, Vec3{1, 0, 0});
  frame.ax = Normalize(x);
  // Keeps Cross(ax, ay) = az, so shapes are not mirrored.
  frame.ay = Cross(frame.az, frame.ax);
  return frame;
}

// --- MeshBuilder -----------------------------------------------------------------------

int MeshBuilder::AddSubset(std::string name) {
  subsetNames_.push_back(std::move(name));
  subsetIndices_.emplace_back();
  current_ = static_cast<int>(subsetNames_.size()) - 1;
  return current_;
}

void MeshBuilder::SetSubset(int subset) {
  if (subset >= 0 && subset < SubsetCount()) current_ = subset;
}

uint32_t MeshBuilder::AddVertex(Vec3 position, Vec3 normal, float u, float v) {
  vertices_.push_back({position, normal, u, v});
  return static_cast<uint32_t>(vertices_.size() - 1);
}

void MeshBuilder::AddTriangle(uint32_t a, uint32_t b, uint32_t c) {
  if (current_ < 0) AddSubset("default");
  auto& indices = subsetIndices_[static_cast<size_t>(current_)];
  indices.insert(indices.end(), {a, b, c});
}

MeshBuilder::Mark MeshBuilder::Here() const {
  Mark mark;
  mark.vertex = vertices_.size();
  for (const auto& indices : subsetIndices_)
    mark.triangleEnds.push_back(indices.size());
  return mark;
}

void MeshBuilder::DeformSince(const Mark& mark, const std::function<Vec3(Vec3)>& f) {
  constexpr float kStep = 0.02f;
  for (size_t i = mark.vertex; i < vertices_.size(); ++i) {
    MeshVertex& vertex = vertices_[i];
    const Vec3 p = vertex.position;
    Mat3 jacobian;
    const Vec3 steps[3] = {{kStep, 0, 0}, {0, kStep, 0}, {0, 0, kStep}};
    for (int axis = 0; axis < 3; ++axis) {
      jacobian.c[axis] = (f(p + steps[axis]) - f(p - steps[axis])) * (0.5f / kStep);
    }
    vertex.position = f(p);
    vertex.normal = CarryNormal(jacobian, vertex.normal);
  }
}

void MeshBuilder::TransformSince(const Mark& mark, const Matrix& m) {
  Mat3 linear;
  for (int axis = 0; axis < 3; ++axis) {
    linear.c[axis] = {m.m[axis][0], m.m[axis][1], m.m[axis][2]};
  }
  for (size_t i = mark.vertex; i < vertices_.size(); ++i) {
    vertices_[i].position = TransformCoord(vertices_[i].position, m);
    vertices_[i].normal = CarryNormal(linear, vertices_[i].normal);
  }
}

void MeshBuilder::MirrorZSince(const Mark& mark) {
  const size_t vertexEnd = vertices_.size();
  const uint32_t offset = static_cast<uint32_t>(vertexEnd - mark.vertex);
  for (size_t i = mark.vertex; i < vertexEnd; ++i) {
    MeshVertex copy = vertices_[i];
    copy.position.z = -copy.position.z;
    copy.normal.z = -copy.normal.z;
    vertices_.push_back(copy);
  }
  for (size_t s = 0; s < subsetIndices_.size(); ++s) {
    auto& indices = subsetIndices_[s];
    const size_t begin = s < mark.triangleEnds.size() ? mark.triangleEnds[s] : 0;
    const size_t end = indices.size();
    for (size_t t = begin; t + 2 < end; t += 3) {
      const uint32_t a = indices[t] + offset;
      const uint32_t b = indices[t + 1] + offset;
      const uint32_t c = indices[t + 2] + offset;
      // A mirror turns the winding around; swapping two corners restores it.
      indices.insert(indices.end(), {a, c, b});
    }
  }
}

size_t MeshBuilder::TriangleCount() const {
  size_t count = 0;
  for (const auto& indices : subsetIndices_)
    count += indices.size() / 3;
  return count;
}

MeshData MeshBuilder::Build() const {
  MeshData mesh;
  mesh.vertices = vertices_;
  for (const auto& indices : subsetIndices_) {
    MeshSubset subset;
    subset.firstTriangle = static_cast<uint32_t>(mesh.indices.size() / 3);
    subset.triangleCount = static_cast<uint32_t>(indices.size() / 3);
    mesh.indices.insert(mesh.indices.end(), indices.begin(), indices.end());
    mesh.subsets.push_back(subset);
  }
  return mesh;
}

// --- Grid ---------------------------------------------------------------------------------

Grid MakeGrid(int rows, int cols) {
  Grid grid;
  grid.rows = rows;
  grid.cols = cols;
  grid.points.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
  grid.creaseRows.assign(static_cast<size_t>(rows), 0);
  grid.creaseCols.assign(static_cast<size_t>(cols), 0);
  return grid;
}

void AddGrid(MeshBuilder& builder, const Grid& grid, bool flip) {
  const int rows = grid.rows;
  const int cols = grid.cols;
  if (rows < 2 || cols < 2) return;
  const int quadRows = grid.closedRows ? rows : rows - 1;
  const int quadCols = grid.closedCols ? cols : cols - 1;

  // Each point may need up to four vertices: one per side of a creased row
  // and of a creased column. side 0 serves the quads before the point, side 1
  // those after it; uncreased points use side 0 for both.
  const auto creasedRow = [&](int r) {
    return r < static_cast<int>(grid.creaseRows.size()) && grid.creaseRows[r];
  };
  const auto creasedCol = [&](int c) {
    return c < static_cast<int>(grid.creaseCols.size()) && grid.creaseCols[c];
  };
  const auto slot = [&](int r, int c, int rowSide, int colSide) {
    const int rs = creasedRow(r) ? rowSide : 0;
    const int cs = creasedCol(c) ? colSide : 0;
    return (static_cast<size_t>(r) * cols + c) * 4 + rs * 2 + cs;
  };
  std::vector<Vec3> sums(static_cast<size_t>(rows) * cols * 4);
  std::vector<uint8_t> used(sums.size(), 0);

  struct Corner {
    int r, c, rowSide, colSide;
  };
  struct Tri {
    Corner k[3];
  };
  std::vector<Tri> triangles;
  triangles.reserve(static_cast<size_t>(quadRows) * quadCols * 2);

  for (int qr = 0; qr < quadRows; ++qr) {
    const int r1 = (qr + 1) % rows;
    for (int qc = 0; qc < quadCols; ++qc) {
      const int c1 = (qc + 1) % cols;
      const Corner a{qr, qc, 1, 1};
      const Corner b{r1, qc, 0, 1};
      const Corner c{r1, c1, 0, 0};
      const Corner d{qr, c1, 1, 0};
      const Vec3 pa = grid.At(a.r, a.c), pb = grid.At(b.r, b.c);
      const Vec3 pc = grid.At(c.r, c.c), pd = grid.At(d.r, d.c);
      // Split along the shorter diagonal: flatter triangles shade better.
      const bool splitBD = Length(pb - pd) <= Length(pa - pc);
      const Tri first = splitBD ? Tri{{a, b, d}} : Tri{{a, b, c}};
      const Tri second = splitBD ? Tri{{b, c, d}} : Tri{{a, c, d}};
      for (const Tri& tri : {first, second}) {
        const Vec3 p0 = grid.At(tri.k[0].r, tri.k[0].c);
        const Vec3 p1 = grid.At(tri.k[1].r, tri.k[1].c);
        const Vec3 p2 = grid.At(tri.k[2].r, tri.k[2].c);
        const Vec3 normal = Cross(p1 - p0, p2 - p0);
        if (Dot(normal, normal) < kDegenerate) continue;
        triangles.push_back(tri);
        for (const Corner& k : tri.k) {
          const size_t s = slot(k.r, k.c, k.rowSide, k.colSide);
          sums[s] = sums[s] + normal;
          used[s] = 1;
        }
      }
    }
  }

  // A row collapsed to one point (the pole of a dome) must show one normal,
  // not one per column.
  for (int r = 0; r < rows; ++r) {
    bool pole = true;
    for (int c = 1; c < cols && pole; ++c)
      pole = Length(grid.At(r, c) - grid.At(r, 0)) < 1e-4f;
    if (!pole) continue;
    for (int side = 0; side < 2; ++side) {
      Vec3 total;
      for (int c = 0; c < cols; ++c) {
        for (int cs = 0; cs < 2; ++cs) {
          const size_t s = (static_cast<size_t>(r) * cols + c) * 4 + side * 2 + cs;
          total = total + sums[s];
        }
      }
      for (int c = 0; c < cols; ++c) {
        for (int cs = 0; cs < 2; ++cs) {
          const size_t s = (static_cast<size_t>(r) * cols + c) * 4 + side * 2 + cs;
          if (used[s]) sums[s] = total;
        }
      }
    }
  }

  std::vector<uint32_t> index(sums.size(), 0);
  const float uScale = 1.0f / static_cast<float>(grid.closedCols ? cols : cols - 1);
  const float vScale = 1.0f / static_cast<float>(grid.closedRows ? rows : rows - 1);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      for (int side = 0; side < 4; ++side) {
        const size_t s = (static_cast<size_t>(r) * cols + c) * 4 + side;
        if (!used[s]) continue;
        Vec3 normal = grid.normals.empty() ? Normalize(sums[s])
                                           : grid.normals[static_cast<size_t>(r) * cols + c];
        if (flip) normal = Negate(normal);
        index[s] = builder.AddVertex(grid.At(r, c), normal, static_cast<float>(c) * uScale,
                                     static_cast<float>(r) * vScale);
      }
    }
  }
  for (const Tri& tri : triangles) {
    uint32_t v[3];
    for (int k = 0; k < 3; ++k) {
      v[k] = index[slot(tri.k[k].r, tri.k[k].c, tri.k[k].rowSide, tri.k[k].colSide)];
    }
    if (flip) {
      builder.AddTriangle(v[0], v[2], v[1]);
    } else {
      builder.AddTriangle(v[0], v[1], v[2]);
    }
  }
}

void AddPolygon(MeshBuilder& builder, const std::vector<Vec3>& loop, Vec3 normal) {
  if (loop.size() < 3) return;
  const Vec3 n = Normalize(normal);
  const Vec3 e1 = AnyPerpendicular(n);
  const Vec3 e2 = Cross(n, e1);
  // With Cross(e1, e2) = n, a counter-clockwise (s, t) polygon gives triangles
  // whose Cross(b - a, c - a) points along n.
  std::vector<Vec2> flat;
  flat.reserve(loop.size());
  for (const Vec3& p : loop)
    flat.push_back({Dot(p, e1), Dot(p, e2)});
  std::vector<int> order(loop.size());
  for (size_t i = 0; i < loop.size(); ++i)
    order[i] = static_cast<int>(i);
  if (SignedArea(flat) < 0.0f) {
    std::reverse(order.begin(), order.end());
    std::reverse(flat.begin(), flat.end());
  }
  const std::vector<int> triangles = TriangulatePolygon(flat);
  std::vector<uint32_t> vertex(loop.size());
  for (size_t i = 0; i < loop.size(); ++i) {
    const Vec3 p = loop[static_cast<size_t>(order[i])];
    vertex[i] = builder.AddVertex(p, n, flat[i].x * 0.01f, flat[i].y * 0.01f);
  }
  for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
    const uint32_t a = vertex[static_cast<size_t>(triangles[t])];
    const uint32_t b = vertex[static_cast<size_t>(triangles[t + 1])];
    const uint32_t c = vertex[static_cast<size_t>(triangles[t + 2])];
    builder.AddTriangle(a, b, c);
  }
}

// --- 2D shapes ------------------------------------------------------------------------------

Shape2 CircleShape(float radius, int segments) {
  return EllipseShape(radius, radius, segments);
}

Shape2 EllipseShape(float rx, float ry, int segments) {
  Shape2 shape;
  for (int i = 0; i < segments; ++i) {
    const float a = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
    shape.points.push_back({rx * std::cos(a), ry * std::sin(a)});
  }
  shape.crease.assign(shape.points.size(), 0);
  return shape;
}

Shape2 SuperellipseShape(float rx, float ry, float exponent, int segments) {
  Shape2 shape;
  const float e = 2.0f / exponent;
  for (int i = 0; i < segments; ++i) {
    const float a = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
    const float c = std::cos(a);
    const float s = std::sin(a);
    shape.points.push_back({rx * std::copysign(std::pow(std::fabs(c), e), c),
                            ry * std::copysign(std::pow(std::fabs(s), e), s)});
  }
  shape.crease.assign(shape.points.size(), 0);
  return shape;
}

Shape2 RoundedRectShape(float width, float height, float radius, int cornerSegments) {
  const float hx = width * 0.5f;
  const float hy = height * 0.5f;
  return FilletedPolygon({{hx, -hy}, {hx, hy}, {-hx, hy}, {-hx, -hy}},
                         {radius, radius, radius, radius}, cornerSegments);
}

Shape2 FilletedPolygon(const std::vector<Vec2>& corners, const std::vector<float>& radii,
                       int cornerSegments) {
  Shape2 shape;
  const size_t n = corners.size();
  for (size_t i = 0; i < n; ++i) {
    const Vec2 prev = corners[(i + n - 1) % n];
    const Vec2 at = corners[i];
    const Vec2 next = corners[(i + 1) % n];
    const float radius = i < radii.size() ? radii[i] : 0.0f;
    float d0x = at.x - prev.x, d0y = at.y - prev.y;
    float d1x = next.x - at.x, d1y = next.y - at.y;
    const float l0 = std::sqrt(d0x * d0x + d0y * d0y);
    const float l1 = std::sqrt(d1x * d1x + d1y * d1y);
    if (radius <= 0.0f || l0 <= 0.0f || l1 <= 0.0f) {
      shape.points.push_back(at);
      shape.crease.push_back(1);
      continue;
    }
    d0x /= l0, d0y /= l0, d1x /= l1, d1y /= l1;
    const float turn = std::acos(std::clamp(d0x * d1x + d0y * d1y, -1.0f, 1.0f));
    const float cut = std::min({radius * std::tan(turn * 0.5f), l0 * 0.5f, l1 * 0.5f});
    const float r = cut / std::max(std::tan(turn * 0.5f), 1e-6f);
    const Vec2 start{at.x - d0x * cut, at.y - d0y * cut};
    // The centre lies inward of both edges; for a counter-clockwise outline
    // a left turn puts it on the left of the incoming edge.
    const float cross = d0x * d1y - d0y * d1x;
    const float sign = cross >= 0.0f ? 1.0f : -1.0f;
    const Vec2 centre{start.x - d0y * r * sign, start.y + d0x * r * sign};
    const float a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    for (int k = 0; k <= cornerSegments; ++k) {
      const float a = a0 + sign * turn * static_cast<float>(k) / static_cast<float>(cornerSegments);
      shape.points.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
      shape.crease.push_back(0);
    }
  }
  return shape;
}

Shape2 ArcShellShape(float innerRadius, float outerRadius, float angleFrom, float angleTo,
                     int segments) {
  Shape2 shape;
  for (int i = 0; i <= segments; ++i) {
    const float a = angleFrom + (angleTo - angleFrom) * static_cast<float>(i) / segments;
    shape.points.push_back({outerRadius * std::cos(a), outerRadius * std::sin(a)});
    shape.crease.push_back(i == 0 || i == segments);
  }
  for (int i = segments; i >= 0; --i) {
    const float a = angleFrom + (angleTo - angleFrom) * static_cast<float>(i) / segments;
    shape.points.push_back({innerRadius * std::cos(a), innerRadius * std::sin(a)});
    shape.crease.push_back(i == 0 || i == segments);
  }
  return shape;
}

// --- Paths ----------------------------------------------------------------------------------

namespace {

void AppendStraight(std::vector<Vec3>& path, Vec3 to, float maxStep) {
  if (path.empty()) {
    path.push_back(to);
    return;
  }
  const Vec3 from = path.back();
  const float length = Length(to - from);
  const int steps = std::isfinite(length)
                        ? std::clamp(static_cast<int>(std::ceil(length / maxStep)), 1, 1000)
                        : 1;
  for (int s = 1; s <= steps; ++s)
    path.push_back(Lerp(from, to, static_cast<float>(s) / steps));
}

}  // namespace

std::vector<Vec3> BentPath(const std::vector<Vec3>& corners, float bendRadius, int bendSegments,
                           float maxStraightStep) {
  std::vector<Vec3> path;
  if (corners.size() < 2) return corners;
  path.push_back(corners.front());
  for (size_t k = 1; k + 1 < corners.size(); ++k) {
    const Vec3 at = corners[k];
    const Vec3 in = at - corners[k - 1];
    const Vec3 out = corners[k + 1] - at;
    const Vec3 d0 = Normalize(in);
    const Vec3 d1 = Normalize(out);
    const float turn = std::acos(std::clamp(Dot(d0, d1), -1.0f, 1.0f));
    // Straight on, or a reversal that no bend can round: a plain corner.
    if (turn < 1e-3f || turn > kPi - 1e-2f) {
      AppendStraight(path, at, maxStraightStep);
      continue;
    }
    const float cut =
        std::min({bendRadius * std::tan(turn * 0.5f), Length(in) * 0.5f, Length(out) * 0.5f});
    const float radius = cut / std::tan(turn * 0.5f);
    const Vec3 start = at - d0 * cut;
    const Vec3 towardCentre = Normalize(d1 - d0);
    const Vec3 centre = at + towardCentre * (radius / std::cos(turn * 0.5f));
    AppendStraight(path, start, maxStraightStep);
    const Vec3 u = Normalize(start - centre);
    const Vec3 v = d0;  // the arc leaves start along the incoming direction
    for (int s = 1; s <= bendSegments; ++s) {
      const float a = turn * static_cast<float>(s) / bendSegments;
      path.push_back(centre + (u * std::cos(a) + v * std::sin(a)) * radius);
    }
  }
  AppendStraight(path, corners.back(), maxStraightStep);
  return path;
}

std::vector<Vec3> SmoothPath(const std::vector<Vec3>& points, int samplesPerSpan) {
  if (points.size() < 3) return points;
  std::vector<Vec3> path;
  const size_t n = points.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    const Vec3 p0 = i == 0 ? points[0] * 2.0f - points[1] : points[i - 1];
    const Vec3 p1 = points[i];
    const Vec3 p2 = points[i + 1];
    const Vec3 p3 = i + 2 < n ? points[i + 2] : points[n - 1] * 2.0f - points[n - 2];
    // Centripetal parameterisation never overshoots into loops.
    const auto knot = [](float t, Vec3 a, Vec3 b) {
      return t + std::sqrt(std::max(Length(b - a), 1e-6f));
    };
    const float t0 = 0.0f;
    const float t1 = knot(t0, p0, p1);
    const float t2 = knot(t1, p1, p2);
    const float t3 = knot(t2, p2, p3);
    const int first = i == 0 ? 0 : 1;
    for (int s = first; s <= samplesPerSpan; ++s) {
      const float t = t1 + (t2 - t1) * static_cast<float>(s) / samplesPerSpan;
      const Vec3 a1 = p0 * ((t1 - t) / (t1 - t0)) + p1 * ((t - t0) / (t1 - t0));
      const Vec3 a2 = p1 * ((t2 - t) / (t2 - t1)) + p2 * ((t - t1) / (t2 - t1));
      const Vec3 a3 = p2 * ((t3 - t) / (t3 - t2)) + p3 * ((t - t2) / (t3 - t2));
      const Vec3 b1 = a1 * ((t2 - t) / (t2 - t0)) + a2 * ((t - t0) / (t2 - t0));
      const Vec3 b2 = a2 * ((t3 - t) / (t3 - t1)) + a3 * ((t - t1) / (t3 - t1));
      path.push_back(b1 * ((t2 - t) / (t2 - t1)) + b2 * ((t - t1) / (t2 - t1)));
    }
  }
  return path;
}

std::vector<Vec3> ArcPath(Vec3 centre, Vec3 u, Vec3 v, float radius, float angleFrom, float angleTo,
                          int segments) {
  std::vector<Vec3> path;
  for (int s = 0; s <= segments; ++s) {
    const float a = angleFrom + (angleTo - angleFrom) * static_cast<float>(s) / segments;
    path.push_back(centre + (u * std::cos(a) + v * std::sin(a)) * radius);
  }
  return path;
}

// --- Primitives -----------------------------------------------------------------------------

void AddLathe(MeshBuilder& builder, const Frame& frame, const std::vector<ProfilePoint>& profile,
              int segments, float angleFrom, float angleTo, bool closedProfile) {
  const bool fullTurn = angleTo - angleFrom >= 2.0f * kPi - 1e-4f;
  const int cols = fullTurn ? segments : segments + 1;
  Grid grid = MakeGrid(static_cast<int>(profile.size()), cols);
  grid.closedCols = fullTurn;
  grid.closedRows = closedProfile;
  for (int r = 0; r < grid.rows; ++r) {
    const ProfilePoint& p = profile[static_cast<size_t>(r)];
    grid.creaseRows[static_cast<size_t>(r)] = p.crease;
    for (int c = 0; c < cols; ++c) {
      const float a = angleFrom + (angleTo - angleFrom) * static_cast<float>(c) / segments;
      grid.At(r, c) = frame.Point({p.r * std::cos(a), p.h, p.r * std::sin(a)});
    }
  }
  if (!fullTurn) {
    grid.creaseCols.front() = 1;
    grid.creaseCols.back() = 1;
  }
  AddGrid(builder, grid);
}

void AddSweep(MeshBuilder& builder, const std::vector<Vec3>& path, const Shape2& section, Caps caps,
              const std::vector<float>& scales, Vec3 upHint) {
  const int rows = static_cast<int>(path.size());
  const int cols = static_cast<int>(section.points.size());
  if (rows < 2 || cols < 3) return;
  std::vector<Vec3> tangents(path.size());
  for (int i = 0; i < rows; ++i) {
    const Vec3 a = path[static_cast<size_t>(std::max(i - 1, 0))];
    const Vec3 b = path[static_cast<size_t>(std::min(i + 1, rows - 1))];
    tangents[static_cast<size_t>(i)] = Normalize(b - a);
  }
  // The section's local y follows upHint at the start; after that the frame
  // is carried along without twisting.
  Vec3 up = upHint - tangents[0] * Dot(upHint, tangents[0]);
  if (Length(up) < 1e-4f) up = AnyPerpendicular(tangents[0]);
  up = Normalize(up);
  Vec3 side = Cross(tangents[0], up);

  Grid grid = MakeGrid(rows, cols);
  grid.closedCols = true;
  for (int c = 0; c < cols; ++c)
    grid.creaseCols[static_cast<size_t>(c)] = section.crease[static_cast<size_t>(c)];
  for (int i = 0; i < rows; ++i) {
    const Vec3 t = tangents[static_cast<size_t>(i)];
    side = Normalize(side - t * Dot(side, t));
    up = Cross(side, t);
    const float scale = i < static_cast<int>(scales.size()) ? scales[static_cast<size_t>(i)] : 1.0f;
    for (int c = 0; c < cols; ++c) {
      const Vec2 q = section.points[static_cast<size_t>(c)];
      grid.At(i, c) = path[static_cast<size_t>(i)] + (side * q.x + up * q.y) * scale;
    }
  }
  AddGrid(builder, grid);
  const auto ring = [&](int row) {
    std::vector<Vec3> loop;
    for (int c = 0; c < cols; ++c)
      loop.push_back(grid.At(row, c));
    return loop;
  };
  if (caps == Caps::kStart || caps == Caps::kBoth)
    AddPolygon(builder, ring(0), Negate(tangents[0]));
  if (caps == Caps::kEnd || caps == Caps::kBoth) {
    AddPolygon(builder, ring(rows - 1), tangents[static_cast<size_t>(rows - 1)]);
  }
}

void AddTube(MeshBuilder& builder, const std::vector<Vec3>& path, float radius, int sides,
             Caps caps) {
  AddSweep(builder, path, CircleShape(radius, sides), caps);
}

void AddLoft(MeshBuilder& builder, const std::vector<std::vector<Vec3>>& rings,
             const std::vector<uint8_t>& creaseCols, Caps caps, bool flip) {
  if (rings.size() < 2) return;
  const int cols = static_cast<int>(rings[0].size());
  Grid grid = MakeGrid(static_cast<int>(rings.size()), cols);
  grid.closedCols = true;
  for (int c = 0; c < cols && c < static_cast<int>(creaseCols.size()); ++c) {
    grid.creaseCols[static_cast<size_t>(c)] = creaseCols[static_cast<size_t>(c)];
  }
  for (int r = 0; r < grid.rows; ++r) {
    for (int c = 0; c < cols; ++c)
      grid.At(r, c) = rings[static_cast<size_t>(r)][static_cast<size_t>(c)];
  }
  AddGrid(builder, grid, flip);
  const auto centroid = [](const std::vector<Vec3>& ring) {
    Vec3 sum;
    for (const Vec3& p : ring)
      sum = sum + p;
    return sum * (1.0f / static_cast<float>(ring.size()));
  };
  const Vec3 startOut = centroid(rings[0]) - centroid(rings[1]);
  const Vec3 endOut = centroid(rings.back()) - centroid(rings[rings.size() - 2]);
  if (caps == Caps::kStart || caps == Caps::kBoth) AddPolygon(builder, rings.front(), startOut);
  if (caps == Caps::kEnd || caps == Caps::kBoth) AddPolygon(builder, rings.back(), endOut);
}

std::vector<Vec3> PlaceShape(const Frame& frame, const Shape2& shape, float sx, float sy) {
  std::vector<Vec3> ring;
  ring.reserve(shape.points.size());
  for (const Vec2 p : shape.points)
    ring.push_back(frame.Point({p.x * sx, p.y * sy, 0.0f}));
  return ring;
}

void AddRoundedBox(MeshBuilder& builder, const Frame& frame, Vec3 halfExtents, float radius,
                   int segments, Vec3 flatStep) {
  const float r = std::clamp(radius, 0.0f, std::min({halfExtents.x, halfExtents.y, halfExtents.z}));
  const Vec3 inner{halfExtents.x - r, halfExtents.y - r, halfExtents.z - r};
  // Positions on a face of the cube of half size inner + r, per axis: the
  // flat middle, then tan-spaced steps so that the quarter rounds are cut
  // into equal angles.
  const auto samples = [&](float innerHalf, float step) {
    std::vector<float> s;
    for (int k = segments; k >= 1; --k) {
      s.push_back(-innerHalf - r * std::tan(0.25f * kPi * static_cast<float>(k) / segments));
    }
    s.push_back(-innerHalf);
    if (innerHalf > 1e-4f) {
      const int steps = std::max(1, static_cast<int>(std::ceil(2.0f * innerHalf / step)));
      for (int k = 1; k <= steps; ++k) {
        s.push_back(-innerHalf + 2.0f * innerHalf * static_cast<float>(k) / steps);
      }
    }
    for (int k = 1; k <= segments; ++k) {
      s.push_back(innerHalf + r * std::tan(0.25f * kPi * static_cast<float>(k) / segments));
    }
    return s;
  };
  const float in[3] = {inner.x, inner.y, inner.z};
  const float step[3] = {flatStep.x, flatStep.y, flatStep.z};
  // (normal axis, sign, u axis, v axis) with Cross(e_u, e_v) = sign * e_normal.
  const int faces[6][4] = {{0, 1, 1, 2},  {0, -1, 2, 1}, {1, 1, 2, 0},
                           {1, -1, 0, 2}, {2, 1, 0, 1},  {2, -1, 1, 0}};
  for (const auto& face : faces) {
    const int k = face[0];
    const float sign = static_cast<float>(face[1]);
    const int ua = face[2];
    const int va = face[3];
    const std::vector<float> us = samples(in[ua], step[ua]);
    const std::vector<float> vs = samples(in[va], step[va]);
    Grid grid = MakeGrid(static_cast<int>(us.size()), static_cast<int>(vs.size()));
    grid.normals.resize(grid.points.size());
    for (int i = 0; i < grid.rows; ++i) {
      for (int j = 0; j < grid.cols; ++j) {
        float p[3];
        p[k] = sign * (in[k] + r);
        p[ua] = us[static_cast<size_t>(i)];
        p[va] = vs[static_cast<size_t>(j)];
        float q[3];
        for (int a = 0; a < 3; ++a)
          q[a] = std::clamp(p[a], -in[a], in[a]);
        Vec3 d = Normalize({p[0] - q[0], p[1] - q[1], p[2] - q[2]});
        if (Length(d) < 0.5f) {
          // No rounding here (radius 0): the face's own direction.
          float axis[3] = {0.0f, 0.0f, 0.0f};
          axis[k] = sign;
          d = {axis[0], axis[1], axis[2]};
        }
        const Vec3 local{q[0] + d.x * r, q[1] + d.y * r, q[2] + d.z * r};
        grid.At(i, j) = frame.Point(local);
        grid.normals[static_cast<size_t>(i) * grid.cols + j] = frame.Direction(d);
      }
    }
    // The rounding is exact, so its normals are too: the six faces then meet
    // without a visible seam.
    AddGrid(builder, grid);
  }
}

void AddExtrusion(MeshBuilder& builder, const Frame& frame, const Shape2& outline, float z0,
                  float z1, Caps caps) {
  const int cols = static_cast<int>(outline.points.size());
  Grid grid = MakeGrid(2, cols);
  grid.closedCols = true;
  for (int c = 0; c < cols; ++c) {
    const Vec2 p = outline.points[static_cast<size_t>(c)];
    grid.creaseCols[static_cast<size_t>(c)] = outline.crease[static_cast<size_t>(c)];
    // Rows run from the far face to the near one so that a counter-clockwise
    // outline faces outwards.
    grid.At(0, c) = frame.Point({p.x, p.y, z1});
    grid.At(1, c) = frame.Point({p.x, p.y, z0});
  }
  AddGrid(builder, grid);
  const auto face = [&](float z) {
    std::vector<Vec3> loop;
    for (const Vec2 p : outline.points)
      loop.push_back(frame.Point({p.x, p.y, z}));
    return loop;
  };
  if (caps == Caps::kStart || caps == Caps::kBoth)
    AddPolygon(builder, face(z0), frame.Direction({0, 0, -1}));
  if (caps == Caps::kEnd || caps == Caps::kBoth)
    AddPolygon(builder, face(z1), frame.Direction({0, 0, 1}));
}

Shape2 InsetShape(const Shape2& shape, float distance) {
  Shape2 result = shape;
  const size_t n = shape.points.size();
  for (size_t i = 0; i < n; ++i) {
    const Vec2 prev = shape.points[(i + n - 1) % n];
    const Vec2 next = shape.points[(i + 1) % n];
    // For a counter-clockwise outline the inward normal is on the left.
    float nx = -(next.y - prev.y);
    float ny = next.x - prev.x;
    const float length = std::sqrt(nx * nx + ny * ny);
    if (length <= 0.0f) continue;
    nx /= length;
    ny /= length;
    result.points[i] = {shape.points[i].x + nx * distance, shape.points[i].y + ny * distance};
  }
  return result;
}

void AddRoundedSlab(MeshBuilder& builder, const Frame& frame, const Shape2& outline, float z0,
                    float z1, float radius, int steps) {
  const float r = std::min(radius, (z1 - z0) * 0.5f);
  std::vector<std::vector<Vec3>> rings;
  const auto ring = [&](float inset, float z) {
    const Shape2 shape = InsetShape(outline, inset);
    std::vector<Vec3> points;
    for (const Vec2 p : shape.points)
      points.push_back(frame.Point({p.x, p.y, z}));
    rings.push_back(points);
  };
  // A quarter round at each face: from the face's edge out to the full outline.
  for (int s = 0; s <= steps; ++s) {
    const float a = 0.5f * kPi * static_cast<float>(s) / steps;
    ring(r * (1.0f - std::sin(a)), z0 + r * (1.0f - std::cos(a)));
  }
  for (int s = 0; s <= steps; ++s) {
    const float a = 0.5f * kPi * static_cast<float>(s) / steps;
    ring(r * (1.0f - std::cos(a)), z1 - r * (1.0f - std::sin(a)));
  }
  // Rows run from z0 to z1 and a counter-clockwise outline turns inwards
  // that way, so the loft is turned inside out to face outwards.
  AddLoft(builder, rings, {}, Caps::kBoth, true);
}

void AddSphere(MeshBuilder& builder, Vec3 centre, float radius, int segments) {
  std::vector<ProfilePoint> profile;
  const int rings = std::max(2, segments / 2);
  for (int i = 0; i <= rings; ++i) {
    const float a = -0.5f * kPi + kPi * static_cast<float>(i) / rings;
    profile.push_back({radius * std::cos(a), radius * std::sin(a)});
  }
  profile.front().r = 0.0f;
  profile.back().r = 0.0f;
  Frame frame;
  frame.origin = centre;
  AddLathe(builder, frame, profile, segments);
}

void AddTorus(MeshBuilder& builder, const Frame& frame, float major, float minor, int segments,
              int sides) {
  std::vector<ProfilePoint> profile;
  for (int i = 0; i < sides; ++i) {
    const float a = 2.0f * kPi * static_cast<float>(i) / sides;
    profile.push_back({major + minor * std::cos(a), minor * std::sin(a)});
  }
  AddLathe(builder, frame, profile, segments, 0.0f, 2.0f * kPi, true);
}

}  // namespace kbh
