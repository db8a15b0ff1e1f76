// The OpenGL entry points past version 1.1 that the device uses, loaded
// through the context's GetProcAddress into a table of our own (1.1 itself is
// linked directly). Load reports whether the context has everything the
// Direct3D-style device needs: framebuffer objects, sampler objects, the
// first-vertex provoking convention, clip control and the fixed-function
// pipeline of a compatibility profile.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

#include "platform/gpu/gl_context.hpp"

namespace kbh {

struct GlApi {
  PFNGLACTIVETEXTUREPROC ActiveTexture = nullptr;
  PFNGLBLENDFUNCSEPARATEPROC BlendFuncSeparate = nullptr;
  PFNGLBLENDEQUATIONSEPARATEPROC BlendEquationSeparate = nullptr;
  PFNGLBLENDCOLORPROC BlendColor = nullptr;
  PFNGLSECONDARYCOLORPOINTERPROC SecondaryColorPointer = nullptr;
  PFNGLSECONDARYCOLOR3FPROC SecondaryColor3f = nullptr;
  PFNGLDRAWRANGEELEMENTSPROC DrawRangeElements = nullptr;
  PFNGLGENBUFFERSPROC GenBuffers = nullptr;
  PFNGLDELETEBUFFERSPROC DeleteBuffers = nullptr;
  PFNGLBINDBUFFERPROC BindBuffer = nullptr;
  PFNGLBUFFERDATAPROC BufferData = nullptr;
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC FramebufferTexture2D = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
  PFNGLBLITFRAMEBUFFERPROC BlitFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC RenderbufferStorageMultisample = nullptr;
  PFNGLGETRENDERBUFFERPARAMETERIVPROC GetRenderbufferParameteriv = nullptr;
  PFNGLGENERATEMIPMAPPROC GenerateMipmap = nullptr;
  PFNGLGENSAMPLERSPROC GenSamplers = nullptr;
  PFNGLDELETESAMPLERSPROC DeleteSamplers = nullptr;
  PFNGLBINDSAMPLERPROC BindSampler = nullptr;
  PFNGLSAMPLERPARAMETERIPROC SamplerParameteri = nullptr;
  PFNGLPROVOKINGVERTEXPROC ProvokingVertex = nullptr;
  PFNGLCLIPCONTROLPROC ClipControl = nullptr;
  PFNGLGETSTRINGIPROC GetStringi = nullptr;

  // Limits read at load time.
  GLint maxTextureSize = 0;
  GLint maxRenderbufferSize = 0;
  GLint maxSamples = 0;
};

// Fills api from the current context. False, with the reason in *missing,
// when something the device needs is absent.
bool LoadGlApi(GlContext& context, GlApi* api, std::string* missing);

}  // namespace kbh
