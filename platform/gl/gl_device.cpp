#include "platform/gl/gl_device.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <malloc.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "frame/log.h"
#include "frame/picture_fit.h"

namespace {

const char kVertexShader[] = R"(
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 3) in vec2 aTexCoord;
uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
uniform int uKind;
uniform vec4 uViewport;  // left, top, width, height of the viewport in target pixels
uniform float uPixelScale;  // target pixels per logical pixel
uniform float uFlip;
uniform bool uLighting;
uniform vec4 uLightColor;
SHADE out vec4 vColor;
out vec2 vTexCoord;
void main() {
  if (uKind == 3) {
    // Already in target pixels; w comes as its reciprocal.
    float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
    vec2 p = aPosition.xy * uPixelScale - uViewport.xy;
    vec2 ndc = vec2(2.0 * p.x / uViewport.z - 1.0, 1.0 - 2.0 * p.y / uViewport.w);
    gl_Position = vec4(ndc * w, aPosition.z * w, w);
  } else {
    gl_Position = uProjection * uView * uWorld * vec4(aPosition.xyz, 1.0);
  }
  // Projections map depth onto 0..1; GL clips -w..w.
  gl_Position.z = gl_Position.z * 2.0 - gl_Position.w;
  gl_Position.y *= uFlip;
  vColor = uLighting ? uLightColor : aColor;
  vTexCoord = aTexCoord;
}
)";

const char kFragmentShader[] = R"(
SHADE in vec4 vColor;
in vec2 vTexCoord;
uniform sampler2D uTexture;
uniform bool uTextured;
out vec4 oColor;
void main() {
  vec4 color = vColor;
  if (uTextured) color *= texture(uTexture, vTexCoord);
  oColor = color;
}
)";

GLenum GlFactor(TBlendFactor factor) {
  switch (factor) {
    case TBlendFactor::kZero:
      return GL_ZERO;
    case TBlendFactor::kOne:
      return GL_ONE;
    case TBlendFactor::kSrcAlpha:
      return GL_SRC_ALPHA;
    case TBlendFactor::kInvSrcAlpha:
      return GL_ONE_MINUS_SRC_ALPHA;
    case TBlendFactor::kSrcColor:
      return GL_SRC_COLOR;
    case TBlendFactor::kInvSrcColor:
      return GL_ONE_MINUS_SRC_COLOR;
  }
  return GL_ONE;
}

GLenum GlPrimitive(int primitive) {
  switch (primitive) {
    case kPointList:
      return GL_POINTS;
    case kLineList:
      return GL_LINES;
    case kLineStrip:
      return GL_LINE_STRIP;
    case kTriangleStrip:
      return GL_TRIANGLE_STRIP;
    case kTriangleFan:
      return GL_TRIANGLE_FAN;
    default:
      return GL_TRIANGLES;
  }
}

GLint GlAddress(int mode) {
  if (mode == kAddressWrap) return GL_REPEAT;
  if (mode == kAddressMirror) return GL_MIRRORED_REPEAT;
  return GL_CLAMP_TO_EDGE;
}

// Drains the GL error queue; true when any error was pending.
bool TakeErrors(bool* outOfMemory) {
  bool any = false;
  for (int i = 0; i < 16; ++i) {
    GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    any = true;
    if (error == GL_OUT_OF_MEMORY && outOfMemory) *outOfMemory = true;
  }
  return any;
}

GLuint Compile(GLenum type, const std::string& source) {
  GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
    Log("GL shader compile failed: %s", log);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

std::unique_ptr<TGlDevice> TGlDevice::Create(int width, int height, std::function<void(bool)> swap,
                                             std::function<void(int*, int*)> outputSize) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  std::unique_ptr<TGlDevice> device(
      new TGlDevice(width, height, std::move(swap), std::move(outputSize)));
  if (!device->Init()) return nullptr;
  return device;
}

namespace {

// A software driver (llvmpipe) allocates its scene memory anew for every frame and frees it
// when the frame is drawn. With glibc's defaults the freed top of the heap goes back to the
// system after every frame and is faulted in again, page by page, on the next: on a frame of
// the play screen that was more than half of the drawing thread's time. Freed memory is
// kept for the next frame instead (up to the trim threshold), and blocks up to the mmap
// threshold come from the heap, where they can be reused.
void KeepFreedMemoryForTheNextFrame() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace

TGlDevice::TGlDevice(int width, int height, std::function<void(bool)> swap,
                     std::function<void(int*, int*)> outputSize)
    : mWidth(width), mHeight(height), mSwap(std::move(swap)), mOutputSize(std::move(outputSize)) {
  KeepFreedMemoryForTheNextFrame();
}

TGlDevice::~TGlDevice() {
  for (auto& [id, surface] : mSurfaces) ReleaseSurface(surface);
  ReleaseSurface(mBackBuffer);
  for (auto& [key, sampler] : mSamplers) glDeleteSamplers(1, &sampler);
  glDeleteFramebuffers(1, &mCopyRead);
  glDeleteFramebuffers(1, &mCopyDraw);
  glDeleteBuffers(1, &mVertexBuffer);
  glDeleteBuffers(1, &mIndexBuffer);
  glDeleteVertexArrays(1, &mVertexArray);
  if (mSmooth.id) glDeleteProgram(mSmooth.id);
  if (mFlat.id) glDeleteProgram(mFlat.id);
}

bool TGlDevice::BuildProgram(bool flat, Program* out) {
  std::string header =
      std::string("#version 330 core\n#define SHADE ") + (flat ? "flat" : "") + "\n";
  GLuint vs = Compile(GL_VERTEX_SHADER, header + kVertexShader);
  GLuint fs = Compile(GL_FRAGMENT_SHADER, header + kFragmentShader);
  if (!vs || !fs) {
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return false;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    Log("GL program link failed");
    glDeleteProgram(program);
    return false;
  }
  out->id = program;
  out->world = glGetUniformLocation(program, "uWorld");
  out->view = glGetUniformLocation(program, "uView");
  out->projection = glGetUniformLocation(program, "uProjection");
  out->kind = glGetUniformLocation(program, "uKind");
  out->viewport = glGetUniformLocation(program, "uViewport");
  out->flip = glGetUniformLocation(program, "uFlip");
  out->textured = glGetUniformLocation(program, "uTextured");
  out->lightColor = glGetUniformLocation(program, "uLightColor");
  out->lighting = glGetUniformLocation(program, "uLighting");
  out->sampler = glGetUniformLocation(program, "uTexture");
  out->pixelScale = glGetUniformLocation(program, "uPixelScale");
  return true;
}

bool TGlDevice::Init() {
  TakeErrors(nullptr);
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  mCaps.maxTextureSize = maxSize;
  mCaps.textures1024 = maxSize >= 1024;
  mCaps.pixelOffset = 0.0f;  // GL pixel centres are at half-integers already
  if (!mCaps.textures1024) {
    Log("TDXContext::Create - context does not support 1024x1024 textures! Failing!");
    return false;
  }
  if (!BuildProgram(false, &mSmooth) || !BuildProgram(true, &mFlat)) return false;

  glGenVertexArrays(1, &mVertexArray);
  glBindVertexArray(mVertexArray);
  glGenBuffers(1, &mVertexBuffer);
  glGenBuffers(1, &mIndexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mIndexBuffer);
  // One attribute layout serves every vertex kind (all are 32 bytes); kind 0 ignores the
  // colour and takes its colour from the lighting uniform.
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, kVertexStride, reinterpret_cast<void*>(0));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, kVertexStride,
                        reinterpret_cast<void*>(16));
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, kVertexStride, reinterpret_cast<void*>(24));
  glGenFramebuffers(1, &mCopyRead);
  glGenFramebuffers(1, &mCopyDraw);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  // Flat shading takes each triangle's colour from its first vertex, as the game's content
  // expects.
  glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);

  // The back buffer starts at the picture's own size; the first frame fits it to the output.
  if (!MakeBackBuffer(mWidth, mHeight)) return false;
  mTarget = kBackBuffer;
  ApplyTarget();
  mViewport = TRect{0, 0, mWidth, mHeight};
  SetViewport(mViewport);
  glEnable(GL_SCISSOR_TEST);
  ClearColor(0xFF000000u);
  ClearDepth(1.0f);
  bool outOfMemory = false;
  if (TakeErrors(&outOfMemory)) {
    Log("GL device set-up reported errors");
    return false;
  }
  return true;
}

bool TGlDevice::MakeBackBuffer(int width, int height) {
  // A framebuffer object without alpha, like a screen.
  TSurfaceId id = 0;
  if (CreateSurface(width, height, kSurfaceRenderTarget, &id) != TDeviceResult::kOk) return false;
  ReleaseSurface(mBackBuffer);
  mBackBuffer = mSurfaces[id];
  mSurfaces.erase(id);
  glBindFramebuffer(GL_FRAMEBUFFER, mBackBuffer.framebuffer);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0, 0, 0, 1);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  ApplyTarget();
  return true;
}

void TGlDevice::OutputSize(int* width, int* height) const {
  *width = mWidth;
  *height = mHeight;
  if (!mOutputSize) return;
  int w = 0, h = 0;
  mOutputSize(&w, &h);
  if (w > 0 && h > 0) *width = w, *height = h;
}

bool TGlDevice::BeginFrame() {
  int outputWidth = 0, outputHeight = 0;
  OutputSize(&outputWidth, &outputHeight);
  TPictureFit fit = FitPicture(mWidth, mHeight, outputWidth, outputHeight);
  // An output larger than a surface can be is drawn at the largest size that fits in one
  // (and enlarged at presentation).
  const int limit = mCaps.maxTextureSize;
  if (fit.width > limit || fit.height > limit)
    fit = FitPicture(mWidth, mHeight, std::min(outputWidth, limit), std::min(outputHeight, limit));
  if ((fit.width != mBackBuffer.width || fit.height != mBackBuffer.height) &&
      !MakeBackBuffer(fit.width, fit.height)) {
    Log("The frame cannot grow to %d x %d; it stays %d x %d", fit.width, fit.height,
        mBackBuffer.width, mBackBuffer.height);
    return true;
  }
  // The picture's own size is scale 1 exactly, whatever the float division gave.
  mFrameScale = fit.width == mWidth && fit.height == mHeight ? 1.0f : fit.scale;
  if (mTarget == kBackBuffer) {
    ApplyTarget();
    if (!SetViewport(mViewport)) SetViewport(TRect{0, 0, mBackBuffer.width, mBackBuffer.height});
  }
  return true;
}

const TGlDevice::Surface* TGlDevice::Find(TSurfaceId id) const {
  auto it = mSurfaces.find(id);
  return it == mSurfaces.end() ? nullptr : &it->second;
}

void TGlDevice::ReleaseSurface(Surface& surface) {
  if (surface.framebuffer) glDeleteFramebuffers(1, &surface.framebuffer);
  if (surface.depth) glDeleteRenderbuffers(1, &surface.depth);
  if (surface.texture) glDeleteTextures(1, &surface.texture);
  surface = Surface{};
}

TDeviceResult TGlDevice::CreateSurface(int width, int height, unsigned flags, TSurfaceId* out) {
  if (!out) return TDeviceResult::kFailed;
  *out = 0;
  if (width <= 0 || height <= 0 || width > mCaps.maxTextureSize || height > mCaps.maxTextureSize)
    return TDeviceResult::kFailed;
  if (mSimulateOutOfMemory) return TDeviceResult::kOutOfVideoMemory;
  TakeErrors(nullptr);
  Surface surface;
  surface.width = width;
  surface.height = height;
  surface.alpha = flags & kSurfaceAlpha;
  surface.mipmap = flags & kSurfaceMipmap;
  glGenTextures(1, &surface.texture);
  glBindTexture(GL_TEXTURE_2D, surface.texture);
  // Fresh surfaces are transparent black (alpha-less ones read as opaque black).
  std::vector<uint32_t> zero(static_cast<size_t>(width) * height, 0);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               zero.data());
  if (!surface.alpha) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  if (surface.mipmap) glGenerateMipmap(GL_TEXTURE_2D);
  bool outOfMemory = false;
  bool failed = TakeErrors(&outOfMemory);
  if (!failed && (flags & kSurfaceRenderTarget)) {
    glGenRenderbuffers(1, &surface.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, surface.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glGenFramebuffers(1, &surface.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, surface.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, surface.texture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, surface.depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      Log("FAILED to attach z-buffer for render surface!");
      failed = true;
    }
    failed = TakeErrors(&outOfMemory) || failed;
    ApplyTarget();
  }
  if (failed) {
    ReleaseSurface(surface);
    return outOfMemory ? TDeviceResult::kOutOfVideoMemory : TDeviceResult::kFailed;
  }
  TSurfaceId id = mNextId++;
  if (mNextId == 0) mNextId = 1;
  mSurfaces[id] = surface;
  *out = id;
  return TDeviceResult::kOk;
}

void TGlDevice::DestroySurface(TSurfaceId id) {
  auto it = mSurfaces.find(id);
  if (it == mSurfaces.end()) return;
  if (mTarget == id) {
    mTarget = kBackBuffer;
    ApplyTarget();
  }
  ReleaseSurface(it->second);
  mSurfaces.erase(it);
}

bool TGlDevice::Upload(TSurfaceId id, const uint32_t* argb, int width, int height, int stride) {
  const Surface* surface = Find(id);
  if (!surface || !argb || width <= 0 || height <= 0 || width > surface->width ||
      height > surface->height || stride < width)
    return false;
  glBindTexture(GL_TEXTURE_2D, surface->texture);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, stride);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                  argb);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  if (surface->mipmap) glGenerateMipmap(GL_TEXTURE_2D);
  return !TakeErrors(nullptr);
}

bool TGlDevice::UploadRect(TSurfaceId id, const TRect& rect, const uint32_t* argb, int stride) {
  const Surface* surface = Find(id);
  if (!surface || !argb || rect.Empty() || rect.left < 0 || rect.top < 0 ||
      rect.right > surface->width || rect.bottom > surface->height || stride < rect.Width())
    return false;
  glBindTexture(GL_TEXTURE_2D, surface->texture);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, stride);
  glTexSubImage2D(GL_TEXTURE_2D, 0, rect.left, rect.top, rect.Width(), rect.Height(), GL_BGRA,
                  GL_UNSIGNED_INT_8_8_8_8_REV, argb);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  if (surface->mipmap) glGenerateMipmap(GL_TEXTURE_2D);
  return !TakeErrors(nullptr);
}

bool TGlDevice::SurfaceHasAlpha(TSurfaceId id) const {
  const Surface* surface = Find(id);
  return surface && surface->alpha;
}

int TGlDevice::TargetWidth() const {
  const Surface* surface = Find(mTarget);
  return surface ? surface->width : mBackBuffer.width;
}

int TGlDevice::TargetHeight() const {
  const Surface* surface = Find(mTarget);
  return surface ? surface->height : mBackBuffer.height;
}

bool TGlDevice::TargetFlipped() const {
  return true;  // every target, the back buffer too, is a texture with row 0 at the top
}

void TGlDevice::ApplyTarget() {
  const Surface* surface = Find(mTarget);
  GLuint framebuffer = surface ? surface->framebuffer : mBackBuffer.framebuffer;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  // Surfaces without alpha (and the screen) keep their alpha channel opaque.
  bool alpha = surface && surface->alpha;
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, alpha ? GL_TRUE : GL_FALSE);
}

bool TGlDevice::SetRenderTarget(TSurfaceId id) {
  if (id != kBackBuffer) {
    const Surface* surface = Find(id);
    if (!surface || !surface->framebuffer) return false;
  }
  mTarget = id;
  ApplyTarget();
  return true;
}

bool TGlDevice::SetViewport(const TRect& rect) {
  int width = TargetWidth(), height = TargetHeight();
  if (rect.left < 0 || rect.top < 0 || rect.right > width || rect.bottom > height ||
      rect.right < rect.left || rect.bottom < rect.top)
    return false;
  mViewport = rect;
  int y = TargetFlipped() ? rect.top : height - rect.bottom;
  glViewport(rect.left, y, rect.Width(), rect.Height());
  glScissor(rect.left, y, rect.Width(), rect.Height());
  return true;
}

void TGlDevice::ClearDepth(float depth) {
  glDepthMask(GL_TRUE);
  glClearDepth(depth);
  glClear(GL_DEPTH_BUFFER_BIT);
}

void TGlDevice::ClearColor(uint32_t argb) {
  auto channel = [argb](int shift) { return static_cast<float>((argb >> shift) & 0xFF) / 255; };
  const Surface* surface = Find(mTarget);
  bool alpha = surface && surface->alpha;
  // Alpha-less targets get an opaque alpha channel, which then stays masked.
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(channel(16), channel(8), channel(0), alpha ? channel(24) : 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, alpha ? GL_TRUE : GL_FALSE);
}

unsigned TGlDevice::Sampler(int filter, int addressU, int addressV, bool mipmap) {
  auto key = std::make_tuple(filter, addressU, addressV, mipmap);
  auto it = mSamplers.find(key);
  if (it != mSamplers.end()) return it->second;
  GLuint sampler = 0;
  glGenSamplers(1, &sampler);
  bool linear = filter != kFilterPoint;
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
  GLint minFilter = linear ? (mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR)
                           : (mipmap ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST);
  glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
  // Pictures drawn a little smaller than their pixels (a larger version on a screen that is
  // not quite as large) lean to the sharper level; below half size the blend still hides
  // shimmer.
  if (mipmap) glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, -0.5f);
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GlAddress(addressU));
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GlAddress(addressV));
  mSamplers[key] = sampler;
  return sampler;
}

TDeviceResult TGlDevice::Draw(const TDrawState& state, int primitive, int kind,
                              const void* vertices, int vertexCount, const uint16_t* indices,
                              int indexCount) {
  if (!vertices || vertexCount <= 0) return TDeviceResult::kFailed;
  if (mSimulateOutOfMemory) return TDeviceResult::kOutOfVideoMemory;
  const Program& program = state.flatShading ? mFlat : mSmooth;
  glUseProgram(program.id);
  glUniformMatrix4fv(program.world, 1, GL_FALSE, state.world.m);
  glUniformMatrix4fv(program.view, 1, GL_FALSE, state.view.m);
  glUniformMatrix4fv(program.projection, 1, GL_FALSE, state.projection.m);
  glUniform1i(program.kind, kind);
  glUniform4f(program.viewport, static_cast<float>(mViewport.left),
              static_cast<float>(mViewport.top), static_cast<float>(std::max(1, mViewport.Width())),
              static_cast<float>(std::max(1, mViewport.Height())));
  bool flipped = TargetFlipped();
  glUniform1f(program.flip, flipped ? -1.0f : 1.0f);
  glUniform1f(program.pixelScale, mTarget == kBackBuffer ? mFrameScale : 1.0f);
  glUniform1i(program.lighting, state.lighting ? 1 : 0);
  if (state.lighting) {
    // Ambient light times the material, plus its emissive colour.
    float light[4];
    for (int i = 0; i < 4; ++i) {
      int shift = i == 3 ? 24 : 16 - 8 * i;
      float ambient = static_cast<float>((state.ambient >> shift) & 0xFF) / 255;
      light[i] = std::clamp(state.material.diffuse[i] * (i == 3 ? 1.0f : ambient) +
                                (i == 3 ? 0.0f : state.material.emissive[i]),
                            0.0f, 1.0f);
    }
    glUniform4fv(program.lightColor, 1, light);
  }

  const Surface* texture = Find(state.texture);
  // A surface cannot be sampled while it is being drawn into.
  bool textured = texture && state.texture != mTarget;
  glUniform1i(program.textured, textured ? 1 : 0);
  glUniform1i(program.sampler, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, textured ? texture->texture : 0);
  glBindSampler(
      0, textured ? Sampler(state.filter, state.addressU, state.addressV, texture->mipmap) : 0);

  if (state.blend.enabled) {
    glEnable(GL_BLEND);
    glBlendFunc(GlFactor(state.blend.src), GlFactor(state.blend.dst));
  } else {
    glDisable(GL_BLEND);
  }
  if (state.depthTest) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glDepthMask(state.depthWrite ? GL_TRUE : GL_FALSE);
  if (state.depthClip)
    glDisable(GL_DEPTH_CLAMP);
  else
    glEnable(GL_DEPTH_CLAMP);
  if (state.cull == kCullClockwise || state.cull == kCullCounterClockwise) {
    // Culling names the winding as seen on the screen (y downward). The window's
    // framebuffer shows GL's window coordinates as they are; flipped targets store the
    // picture upside down in them, which reverses every winding.
    bool cullScreenCcw = state.cull == kCullCounterClockwise;
    bool cullGlCcw = flipped ? !cullScreenCcw : cullScreenCcw;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(cullGlCcw ? GL_CW : GL_CCW);
  } else {
    glDisable(GL_CULL_FACE);
  }

  glBindVertexArray(mVertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount) * kVertexStride, vertices,
               GL_STREAM_DRAW);
  if (indices && indexCount > 0) {
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexCount) * 2, indices,
                 GL_STREAM_DRAW);
    glDrawElements(GlPrimitive(primitive), indexCount, GL_UNSIGNED_SHORT, nullptr);
  } else {
    glDrawArrays(GlPrimitive(primitive), 0, vertexCount);
  }
  bool outOfMemory = false;
  if (TakeErrors(&outOfMemory))
    return outOfMemory ? TDeviceResult::kOutOfVideoMemory : TDeviceResult::kFailed;
  return TDeviceResult::kOk;
}

void TGlDevice::PresentScaled(unsigned framebuffer, int outputWidth, int outputHeight,
                              bool rowsUp) {
  const TPictureFit fit = FitPicture(mWidth, mHeight, outputWidth, outputHeight);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mBackBuffer.framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glViewport(0, 0, outputWidth, outputHeight);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);  // the bars
  // The back buffer keeps row 0 at the top; a window's framebuffer has it at the bottom, so
  // the copy turns the picture over there.
  int top = fit.offsetY, bottom = fit.offsetY + fit.height;
  if (rowsUp) {
    top = outputHeight - fit.offsetY;
    bottom = outputHeight - fit.offsetY - fit.height;
  }
  const int frameWidth = mBackBuffer.width, frameHeight = mBackBuffer.height;
  const bool sameSize = fit.width == frameWidth && fit.height == frameHeight;
  glBlitFramebuffer(0, 0, frameWidth, frameHeight, fit.offsetX, top, fit.offsetX + fit.width,
                    bottom, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
  glEnable(GL_SCISSOR_TEST);
  ApplyTarget();
  SetViewport(mViewport);
}

bool TGlDevice::ReadPresented(int outputWidth, int outputHeight, std::vector<uint32_t>* argb) {
  if (!argb || outputWidth <= 0 || outputHeight <= 0 || outputWidth > mCaps.maxTextureSize ||
      outputHeight > mCaps.maxTextureSize)
    return false;
  TSurfaceId id = 0;
  if (CreateSurface(outputWidth, outputHeight, kSurfaceRenderTarget, &id) != TDeviceResult::kOk)
    return false;
  PresentScaled(Find(id)->framebuffer, outputWidth, outputHeight, false);
  argb->assign(static_cast<size_t>(outputWidth) * outputHeight, 0);
  bool ok = ReadPixels(id, TRect{0, 0, outputWidth, outputHeight}, argb->data());
  DestroySurface(id);
  return ok;
}

bool TGlDevice::ReadWindow(std::vector<uint32_t>* argb, int* width, int* height) {
  if (!argb || !width || !height || !mSwap) return false;
  int w = 0, h = 0;
  OutputSize(&w, &h);
  PresentScaled(0, w, h, true);
  argb->assign(static_cast<size_t>(w) * h, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb->data());
  for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {  // bottom row came first
    uint32_t* a = argb->data() + static_cast<size_t>(top) * w;
    uint32_t* b = argb->data() + static_cast<size_t>(bottom) * w;
    std::swap_ranges(a, a + w, b);
  }
  for (uint32_t& pixel : *argb) pixel |= 0xFF000000u;
  ApplyTarget();
  *width = w;
  *height = h;
  return !TakeErrors(nullptr);
}

TDeviceResult TGlDevice::Present(bool vsync) {
  if (mSwap) {
    int width = 0, height = 0;
    OutputSize(&width, &height);
    PresentScaled(0, width, height, true);
    mSwap(vsync);
  } else {
    glFlush();
  }
  bool outOfMemory = false;
  if (TakeErrors(&outOfMemory))
    return outOfMemory ? TDeviceResult::kOutOfVideoMemory : TDeviceResult::kFailed;
  return TDeviceResult::kOk;
}

bool TGlDevice::CopyRect(TSurfaceId source, const TRect& from, TSurfaceId target, const TRect& to) {
  const Surface* dst = Find(target);
  if (!dst || from.Empty() || to.Empty()) return false;
  const Surface* src = Find(source);
  int srcWidth = src ? src->width : mBackBuffer.width;
  int srcHeight = src ? src->height : mBackBuffer.height;
  if (source != kBackBuffer && !src) return false;
  if (from.left < 0 || from.top < 0 || from.right > srcWidth || from.bottom > srcHeight)
    return false;
  TRect clipped = Intersect(to, TRect{0, 0, dst->width, dst->height});
  if (clipped.Empty()) return false;
  TRect sourceRect = from;
  if (!(clipped == to)) {
    // Partly outside the target: only unstretched copies are cut to the visible part.
    if (from.Width() != to.Width() || from.Height() != to.Height()) return false;
    sourceRect = TRect{from.left + (clipped.left - to.left), from.top + (clipped.top - to.top),
                       from.left + (clipped.right - to.left), from.top + (clipped.bottom - to.top)};
  }
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mCopyRead);
  if (src) {
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, src->texture,
                           0);
  } else {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mBackBuffer.framebuffer);
  }
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, mCopyDraw);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, dst->texture, 0);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  const int srcY0 = sourceRect.top, srcY1 = sourceRect.bottom;
  bool stretched = sourceRect.Width() != clipped.Width() || sourceRect.Height() != clipped.Height();
  glBlitFramebuffer(sourceRect.left, srcY0, sourceRect.right, srcY1, clipped.left, clipped.top,
                    clipped.right, clipped.bottom, GL_COLOR_BUFFER_BIT,
                    stretched ? GL_LINEAR : GL_NEAREST);
  glEnable(GL_SCISSOR_TEST);
  if (dst->mipmap) {
    glBindTexture(GL_TEXTURE_2D, dst->texture);
    glGenerateMipmap(GL_TEXTURE_2D);
  }
  ApplyTarget();
  return !TakeErrors(nullptr);
}

bool TGlDevice::ReadPixels(TSurfaceId id, const TRect& rect, uint32_t* argb) {
  const Surface* surface = Find(id);
  if (!argb || (id != kBackBuffer && !surface)) return false;
  int width = surface ? surface->width : mBackBuffer.width;
  int height = surface ? surface->height : mBackBuffer.height;
  if (rect.left < 0 || rect.top < 0 || rect.right > width || rect.bottom > height || rect.Empty())
    return false;
  GLuint framebuffer = mBackBuffer.framebuffer;
  if (surface) {
    framebuffer = mCopyRead;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mCopyRead);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           surface->texture, 0);
  }
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  // Every surface, the back buffer too, keeps row 0 at the top: rows come in screen order.
  glReadPixels(rect.left, rect.top, rect.Width(), rect.Height(), GL_BGRA,
               GL_UNSIGNED_INT_8_8_8_8_REV, argb);
  // Alpha-less surfaces read as opaque whatever their storage holds.
  if (!surface || !surface->alpha)
    for (size_t i = 0, n = static_cast<size_t>(rect.Width()) * rect.Height(); i < n; ++i)
      argb[i] |= 0xFF000000u;
  ApplyTarget();
  return !TakeErrors(nullptr);
}
