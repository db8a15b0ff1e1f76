#include "platform/gpu/gl_api.hpp"

#include <cstdio>
#include <cstring>

namespace kbh {

namespace {

template <typename Function>
bool Resolve(GlContext& context, const char* name, Function* out, std::string* missing) {
  *out = reinterpret_cast<Function>(context.GetProcAddress(name));
  if (*out == nullptr && missing->empty()) *missing = name;
  return *out != nullptr;
}

bool HasExtension(const GlApi& api, const char* name) {
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    const auto* extension = reinterpret_cast<const char*>(api.GetStringi(GL_EXTENSIONS, i));
    if (extension != nullptr && std::strcmp(extension, name) == 0) return true;
  }
  return false;
}

}  // namespace

bool LoadGlApi(GlContext& context, GlApi* api, std::string* missing) {
  missing->clear();
  // Errors left by whoever used the context before must not count against it.
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0;
  int minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) {
    *missing = "a readable GL_VERSION";
    return false;
  }
  // Sampler objects arrived in 3.3; everything else the device needs is older.
  if (major < 3 || (major == 3 && minor < 3)) {
    *missing = "OpenGL 3.3";
    return false;
  }

  GlApi& a = *api;
  bool ok = true;
  ok &= Resolve(context, "glActiveTexture", &a.ActiveTexture, missing);
  ok &= Resolve(context, "glBlendFuncSeparate", &a.BlendFuncSeparate, missing);
  ok &= Resolve(context, "glBlendEquationSeparate", &a.BlendEquationSeparate, missing);
  ok &= Resolve(context, "glBlendColor", &a.BlendColor, missing);
  ok &= Resolve(context, "glSecondaryColorPointer", &a.SecondaryColorPointer, missing);
  ok &= Resolve(context, "glSecondaryColor3f", &a.SecondaryColor3f, missing);
  ok &= Resolve(context, "glDrawRangeElements", &a.DrawRangeElements, missing);
  ok &= Resolve(context, "glGenBuffers", &a.GenBuffers, missing);
  ok &= Resolve(context, "glDeleteBuffers", &a.DeleteBuffers, missing);
  ok &= Resolve(context, "glBindBuffer", &a.BindBuffer, missing);
  ok &= Resolve(context, "glBufferData", &a.BufferData, missing);
  ok &= Resolve(context, "glGenFramebuffers", &a.GenFramebuffers, missing);
  ok &= Resolve(context, "glDeleteFramebuffers", &a.DeleteFramebuffers, missing);
  ok &= Resolve(context, "glBindFramebuffer", &a.BindFramebuffer, missing);
  ok &= Resolve(context, "glFramebufferTexture2D", &a.FramebufferTexture2D, missing);
  ok &= Resolve(context, "glFramebufferRenderbuffer", &a.FramebufferRenderbuffer, missing);
  ok &= Resolve(context, "glCheckFramebufferStatus", &a.CheckFramebufferStatus, missing);
  ok &= Resolve(context, "glBlitFramebuffer", &a.BlitFramebuffer, missing);
  ok &= Resolve(context, "glGenRenderbuffers", &a.GenRenderbuffers, missing);
  ok &= Resolve(context, "glDeleteRenderbuffers", &a.DeleteRenderbuffers, missing);
  ok &= Resolve(context, "glBindRenderbuffer", &a.BindRenderbuffer, missing);
  ok &= Resolve(context, "glRenderbufferStorage", &a.RenderbufferStorage, missing);
  ok &= Resolve(context, "glRenderbufferStorageMultisample", &a.RenderbufferStorageMultisample,
                missing);
  ok &= Resolve(context, "glGetRenderbufferParameteriv", &a.GetRenderbufferParameteriv, missing);
  ok &= Resolve(context, "glGenerateMipmap", &a.GenerateMipmap, missing);
  ok &= Resolve(context, "glGenSamplers", &a.GenSamplers, missing);
  ok &= Resolve(context, "glDeleteSamplers", &a.DeleteSamplers, missing);
  ok &= Resolve(context, "glBindSampler", &a.BindSampler, missing);
  ok &= Resolve(context, "glSamplerParameteri", &a.SamplerParameteri, missing);
  ok &= Resolve(context, "glProvokingVertex", &a.ProvokingVertex, missing);
  ok &= Resolve(context, "glGetStringi", &a.GetStringi, missing);
  if (!ok) return false;

  // Depth 0..1 and a top-left origin are what make Direct3D's matrices and
  // row order work unchanged; core in 4.5, an extension before.
  const bool clipControl =
      major > 4 || (major == 4 && minor >= 5) || HasExtension(a, "GL_ARB_clip_control");
  if (!clipControl || !Resolve(context, "glClipControl", &a.ClipControl, missing)) {
    *missing = "glClipControl";
    return false;
  }

  // A core profile has no fixed-function pipeline.
  if (major > 3 || (major == 3 && minor >= 2)) {
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    if ((profile & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) == 0) {
      *missing = "a compatibility profile";
      return false;
    }
  }

  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &a.maxTextureSize);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &a.maxRenderbufferSize);
  glGetIntegerv(GL_MAX_SAMPLES, &a.maxSamples);
  return glGetError() == GL_NO_ERROR;
}

}  // namespace kbh
