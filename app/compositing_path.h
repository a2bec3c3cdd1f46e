// How the web view's frames reach the screen. The view is drawn through Qt
// Quick; with its OpenGL scene graph the engine composites on the graphics
// processor. Where OpenGL is drawn by the processor itself (Mesa's
// llvmpipe, softpipe or swrast, a remote X display, no OpenGL at all), that
// same work runs through a software rasteriser and costs more than Qt
// Quick's software scene graph, which the engine then feeds with frames it
// composited in software. PAGORO_COMPOSITING=software|hardware forces one.
//
//   TApplication app(...);
//   ApplyCompositingPath(ChooseCompositingPath());  // before the first window
#pragma once

#include <QString>

namespace pagoro {

enum class CompositingPath { kHardware, kSoftware };

struct CompositingChoice {
  CompositingPath path = CompositingPath::kHardware;
  QString reason;  // for the log: what the choice rests on
};

// What the choice is made from.
struct CompositingFacts {
  QString forced;         // PAGORO_COMPOSITING, empty when unset
  QString quick_backend;  // QT_QUICK_BACKEND, empty when unset
  bool remote_display = false;
  bool has_opengl = true;  // an OpenGL context could be made
  QString renderer;        // its GL_RENDERER
};

// "software" or "hardware".
QString CompositingPathName(CompositingPath path);

// True for the renderers that draw on the processor.
bool IsSoftwareRenderer(const QString& renderer);

// True for an X display on another machine ("host:0", "localhost:10.0" as
// ssh forwards it); ":0" and "unix:0" are local.
bool IsRemoteX11Display(const QString& display);

// The decision alone: a valid PAGORO_COMPOSITING first, then the user's own
// QT_QUICK_BACKEND, then the machine.
CompositingChoice ChooseCompositingPath(const CompositingFacts& facts);

// Gathers the facts (asking OpenGL for its renderer only when needed) and
// chooses. Needs the application object; call it before any window exists.
CompositingChoice ChooseCompositingPath();

// Sets Qt Quick's scene graph up for `choice` and logs it (pagoro.app).
void ApplyCompositingPath(const CompositingChoice& choice);

}  // namespace pagoro
