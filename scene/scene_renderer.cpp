#include "scene/scene_renderer.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "catalogue/data_store_loader.hpp"
#include "gfx/draw2d.hpp"
#include "platform/gpu/device_resource.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/os/os.hpp"
#include "scene/scene_pass.hpp"
#include "scene/stage.hpp"

namespace kbh {

namespace {

constexpr int kMaxPictureSide = 4096;
// Part pictures are rendered this many times larger and averaged down: the
// render textures are not multisampled, and a part picture is looked at
// closely.
constexpr int kMaxSupersampling = 3;

// Any clock value will do for the Spray views' flight, as long as it is not
// 0, which an animation takes for "never started".
constexpr uint32_t kFlightStart = 1000;

// Part pictures look from the front left and above, the side the light
// comes from, so the part shows its lit face and some depth.
constexpr Vec3 kPictureViewFrom{-0.55f, 0.4f, -0.73f};
constexpr float kPictureFieldOfView = 0.7853982f;
// How much of the picture the part may fill, in each direction.
constexpr float kPictureFill = 0.9f;

struct PictureCamera {
  Vec3 eye;
  Vec3 at;
  float zNear = 1.0f;
  float zFar = 2.0f;
};

// The camera that looks at the mesh (placed by world) from kPictureViewFrom
// and fits it into the picture: every vertex inside, the drawn part centred.
PictureCamera FramePart(const MeshRecord& mesh, const Matrix& world, float aspect) {
  const Vec3 direction = Normalize(kPictureViewFrom);
  // The camera's axes (x right, y up, z away from the eye) as a rotation.
  const Matrix axes = MatrixLookAtLH(direction, Vec3{}, Vec3{0, 1, 0});
  const float tanY = std::tan(kPictureFieldOfView * 0.5f) * kPictureFill;
  const float tanX = tanY * aspect;
  std::vector<Vec3> points;
  points.reserve(mesh.data.vertices.size());
  for (const MeshVertex& vertex : mesh.data.vertices)
    points.push_back(TransformNormal(TransformCoord(vertex.position, world), axes));
  if (points.empty()) points.push_back({});

  // The look-at point in camera axes, and the distance from it at which
  // every point fits: x / (z + d) <= tanX and y / (z + d) <= tanY.
  Vec3 centre;
  float distance = 0.0f;
  auto fit = [&] {
    distance = 0.0f;
    for (const Vec3& p : points) {
      const Vec3 q = p - centre;
      distance = std::max({distance, std::fabs(q.x) / tanX - q.z, std::fabs(q.y) / tanY - q.z});
    }
  };
  Vec3 low = points.front();
  Vec3 high = low;
  for (const Vec3& p : points) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  centre = (low + high) * 0.5f;
  fit();
  // Perspective draws the near side larger: move the look-at point to the
  // middle of what the picture shows, then fit again.
  float left = 0.0f, right = 0.0f, bottom = 0.0f, top = 0.0f;
  for (const Vec3& p : points) {
    const Vec3 q = p - centre;
    const float depth = std::max(q.z + distance, 1e-6f);
    left = std::min(left, q.x / depth);
    right = std::max(right, q.x / depth);
    bottom = std::min(bottom, q.y / depth);
    top = std::max(top, q.y / depth);
  }
  centre.x += (left + right) * 0.5f * distance;
  centre.y += (bottom + top) * 0.5f * distance;
  fit();

  const float depthMargin = 0.05f * (high.z - low.z) + 0.01f;
  distance = std::max(distance, centre.z - low.z + 2.0f * depthMargin);
  // Back from camera axes to the world: the rotation's inverse is its
  // transpose.
  Matrix toWorld = MatrixIdentity();
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column)
      toWorld.m[row][column] = axes.m[column][row];
  }
  PictureCamera camera;
  camera.at = TransformNormal(centre, toWorld);
  camera.eye = camera.at + direction * distance;
  camera.zNear = std::max(0.01f, distance + (low.z - centre.z) - depthMargin);
  camera.zFar = distance + (high.z - centre.z) + depthMargin;
  return camera;
}

// A straight 0xAARRGGBB colour as the premultiplied one a target holds.
uint32_t Premultiplied(uint32_t argb) {
  const uint32_t alpha = argb >> 24;
  uint32_t result = alpha << 24;
  for (int shift : {16, 8, 0}) {
    result |= ((((argb >> shift) & 0xFF) * alpha + 127) / 255) << shift;
  }
  return result;
}

// Averages factor x factor blocks of a premultiplied picture into a straight
// one: the colour of partly covered pixels is the covered part's colour,
// not darkened by the transparent background around it.
Image Downsample(const Image& large, int factor) {
  Image small;
  small.width = large.width / factor;
  small.height = large.height / factor;
  small.sourceFormat = FMT_A8R8G8B8;
  small.texels.resize(static_cast<size_t>(small.width) * static_cast<size_t>(small.height));
  for (int y = 0; y < small.height; ++y) {
    for (int x = 0; x < small.width; ++x) {
      std::array<uint32_t, 4> sum{};  // alpha, red, green, blue
      for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
          const uint32_t texel =
              large.texels[static_cast<size_t>(y * factor + dy) * static_cast<size_t>(large.width) +
                           static_cast<size_t>(x * factor + dx)];
          for (int channel = 0; channel < 4; ++channel)
            sum[channel] += (texel >> (24 - 8 * channel)) & 0xFF;
        }
      }
      const uint32_t count = static_cast<uint32_t>(factor * factor);
      uint32_t out = ((sum[0] + count / 2) / count) << 24;
      if (sum[0] != 0) {
        for (int channel = 1; channel < 4; ++channel) {
          const uint32_t value =
              std::min<uint32_t>(255, (sum[channel] * 255 + sum[0] / 2) / sum[0]);
          out |= value << (24 - 8 * channel);
        }
      }
      small.texels[static_cast<size_t>(y) * static_cast<size_t>(small.width) +
                   static_cast<size_t>(x)] = out;
    }
  }
  return small;
}

// Renders into a fresh target of its own with a depth surface, restoring the
// device's target afterwards. Empty when the device cannot make them.
template <typename Draw>
Image RenderToTexture(Device& device, int width, int height, uint32_t clearColor, Draw draw) {
  UniqueTexture target(&device, device.CreateRenderTexture(width, height));
  UniqueSurface depth(&device, device.CreateDepthSurface(width, height));
  if (!target || !depth) return {};
  const TextureHandle keptTarget = device.GetRenderTarget();
  const SurfaceHandle keptDepth = device.GetDepthSurface();
  device.SetRenderTarget(target.get(), depth.get());
  device.Clear(kClearTarget | kClearZBuffer, clearColor, 1.0f, 0);
  device.BeginScene();
  draw();
  device.EndScene();
  Image picture = device.ReadRenderTarget();
  device.SetRenderTarget(keptTarget, keptDepth);
  return picture;
}

}  // namespace

SceneRenderer::SceneRenderer() = default;

SceneRenderer::~SceneRenderer() {
  // Everything that holds device resources goes before the device.
  preview_.reset();
  parts_.reset();
  background_.reset();
  cubes_.reset();
  graphics_.reset();
}

std::unique_ptr<SceneRenderer> SceneRenderer::Open(const std::string& workshopDir,
                                                   std::string* error) {
  std::unique_ptr<SceneRenderer> renderer(new SceneRenderer());
  auto fail = [error](std::string reason) -> std::unique_ptr<SceneRenderer> {
    if (error != nullptr) *error = std::move(reason);
    return nullptr;
  };
  // The device logs its start-up into memory, where it explains a failed
  // start.
  renderer->log_ = std::make_unique<ErrorLog>(renderer->logText_);
  renderer->graphics_ = std::make_unique<GraphicsDevice>(*renderer->log_);
  if (!renderer->graphics_->InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) {
    return fail("no headless graphics device:" + renderer->logText_.Text());
  }

  const ProgramDir dir{workshopDir};
  PathBuffer path;
  if (!LoadDataStore(path.Format("%s\\data\\firstData.khb", dir.path.c_str()),
                     renderer->catalogue_)) {
    return fail(std::string("cannot read the catalogue ") + path.Text());
  }
  SetupLights(*renderer->graphics_);
  renderer->cubes_ = std::make_unique<CubeTextureSlots>(*renderer->graphics_);
  renderer->cubes_->LoadCubeTexture(kEnvironmentMapSlot,
                                    path.Format(kEnvironmentMapPattern, dir.path.c_str()));
  renderer->background_ =
      LoadBmp(*renderer->graphics_, path.Format(kSceneBackgroundPattern, dir.path.c_str()));
  renderer->preview_ = std::make_unique<PreviewAnimation>(*renderer->graphics_, *renderer->cubes_);
  renderer->preview_->InitPreview();
  renderer->parts_ = std::make_unique<InstalledPartList>(*renderer->graphics_, dir);
  renderer->InstallParts({});
  return renderer;
}

void SceneRenderer::InstallParts(const std::vector<ItemId>& ids) {
  parts_->RemoveAllParts();
  if (ids.empty()) {
    parts_->LoadStandardParts(catalogue_);
  } else {
    for (ItemId id : ids)
      parts_->InstallPart(id);
    parts_->ApplyActionsOfAllParts(catalogue_);
  }
  parts_->SetAllPartsAlpha(1.0f);
}

void SceneRenderer::SetCursorBlendStates() {
  // What the cursor's drawing leaves set in every frame of the program, and
  // the scene's fades and transparent paints rely on.
  graphics_->SetRenderStateCached(RS_SRCBLEND, BLEND_SRCALPHA);
  graphics_->SetRenderStateCached(RS_DESTBLEND, BLEND_INVSRCALPHA);
  graphics_->GetDevice()->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
}

Image SceneRenderer::RenderTuneUpView(float angle, uint32_t fillMode) {
  GraphicsDevice& graphics = *graphics_;
  SetCursorBlendStates();
  graphics.BeginFrame();
  DrawTexture(graphics, background_.get(), 0, 0);
  parts_->SetAllPartsRotation(0.0f, angle, 0.0f);
  RenderScene(graphics, *cubes_, *parts_, fillMode);
  Image picture = graphics.GetDevice()->ReadRenderTarget();
  graphics.EndFrame();
  return picture;
}

void SceneRenderer::PrepareSprayViews() {
  parts_->SetAllPartsRotation(0.0f, 0.0f, 0.0f);
  parts_->SetAllPartsAlpha(1.0f);
  SetCursorBlendStates();
  preview_->RenderPreview(*parts_);
}

Image SceneRenderer::RenderSprayPreview() {
  Device& device = *graphics_->GetDevice();
  const TextureRecord* texture = preview_->PreviewTexture();
  if (texture == nullptr) return {};
  PrepareSprayViews();
  const TextureHandle keptTarget = device.GetRenderTarget();
  const SurfaceHandle keptDepth = device.GetDepthSurface();
  device.SetRenderTarget(texture->texture.get(), SurfaceHandle::kNone);
  Image picture = device.ReadRenderTarget();
  device.SetRenderTarget(keptTarget, keptDepth);
  return picture;
}

Image SceneRenderer::RenderSprayView(ItemId id, uint16_t row, uint32_t spinMilliseconds) {
  PartModel* model = parts_->FindInstalled(id);
  if (model == nullptr || model->mesh == nullptr) return {};
  GraphicsDevice& graphics = *graphics_;
  PrepareSprayViews();
  // The flight seen through to its end: the frame that arrives, and the one
  // after, from which the part spins.
  preview_->StartCameraMove(model, kFlightStart);
  preview_->UpdatePreview(kFlightStart + kFlightMilliseconds);
  preview_->UpdatePreview(kFlightStart + kFlightMilliseconds);
  parts_->SetAllPartsAlpha(1.0f);

  graphics.BeginFrame();
  DrawTexture(graphics, background_.get(), 0, 0);
  preview_->DrawPreview();
  preview_->RenderSelectedPart(row, preview_->EndTime() + spinMilliseconds);
  Image picture = graphics.GetDevice()->ReadRenderTarget();
  graphics.EndFrame();
  // The ghost's alpha stays on the part until the Spray screen's next
  // update; the pictures after this one must not inherit it.
  parts_->SetAllPartsAlpha(1.0f);
  preview_->ClearPreview();
  return picture;
}

Image SceneRenderer::RenderPartPicture(ItemId id, int width, int height, uint32_t background) {
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return {};
  PartModel* model = parts_->FindInstalled(id);
  if (model == nullptr) {
    parts_->ExchangePart(id);
    parts_->ApplyPartActions(&catalogue_, id);
    parts_->SetAllPartsAlpha(1.0f);
    model = parts_->FindInstalled(id);
  }
  if (model == nullptr || model->mesh == nullptr) return {};

  // The part where the scene puts it, unturned.
  const Matrix world =
      MatrixMultiply(MatrixTranslation(model->position.x, model->position.y, model->position.z),
                     model->mesh->translation);
  const int factor = std::clamp(kMaxPictureSide / std::max(width, height), 1, kMaxSupersampling);
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  const PictureCamera camera = FramePart(*model->mesh, world, aspect);

  GraphicsDevice& graphics = *graphics_;
  Device& device = *graphics.GetDevice();
  SetCursorBlendStates();
  const Image large =
      RenderToTexture(device, width * factor, height * factor, Premultiplied(background), [&] {
        SetModelPassStates(graphics, FILL_SOLID);
        graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
        // Alpha accumulates as coverage (the target holds premultiplied
        // colour), so a picture on a transparent background composites
        // correctly wherever it is drawn.
        graphics.SetRenderStateCached(RS_SEPARATEALPHABLENDENABLE, 1);
        graphics.SetRenderStateCached(RS_SRCBLENDALPHA, BLEND_ONE);
        graphics.SetRenderStateCached(RS_DESTBLENDALPHA, BLEND_INVSRCALPHA);
        device.SetTransform(TS_PROJECTION, MatrixPerspectiveFovLH(kPictureFieldOfView, aspect,
                                                                  camera.zNear, camera.zFar));
        graphics.SetViewLookAt(camera.eye, camera.at);
        BeginReflection(graphics, *cubes_);
        DrawScenePart(graphics, *model, world);
        EndReflection(graphics);
        graphics.SetRenderStateCached(RS_SEPARATEALPHABLENDENABLE, 0);
      });
  if (large.texels.empty()) return {};
  return Downsample(large, factor);
}

}  // namespace kbh
