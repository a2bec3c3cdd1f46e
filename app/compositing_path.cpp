#include "app/compositing_path.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <optional>

#include "app/logging.h"

namespace pagoro {

namespace {

constexpr char kForceVariable[] = "PAGORO_COMPOSITING";

// The choices that rest on the environment alone.
std::optional<CompositingChoice> ChooseWithoutRenderer(const CompositingFacts& facts) {
  const QString forced = facts.forced.trimmed().toLower();
  if (forced == QLatin1String("software")) {
    return CompositingChoice{CompositingPath::kSoftware, "forced by PAGORO_COMPOSITING=software"};
  }
  if (forced == QLatin1String("hardware")) {
    return CompositingChoice{CompositingPath::kHardware, "forced by PAGORO_COMPOSITING=hardware"};
  }
  if (!facts.quick_backend.isEmpty()) {
    const bool software = facts.quick_backend == QLatin1String("software");
    return CompositingChoice{software ? CompositingPath::kSoftware : CompositingPath::kHardware,
                             "QT_QUICK_BACKEND=" + facts.quick_backend + " is set"};
  }
  if (facts.remote_display) {
    return CompositingChoice{CompositingPath::kSoftware,
                             "the X display is on another machine: OpenGL would go over the wire"};
  }
  return std::nullopt;
}

// The renderer of a throwaway OpenGL context; nullopt when none can be made.
std::optional<QString> ProbeRenderer() {
  QOpenGLContext context;
  if (!context.create()) return std::nullopt;
  QOffscreenSurface surface;
  surface.setFormat(context.format());
  surface.create();
  if (!surface.isValid() || !context.makeCurrent(&surface)) return std::nullopt;
  const auto* renderer = context.functions()->glGetString(GL_RENDERER);
  QString name =
      renderer ? QString::fromLatin1(reinterpret_cast<const char*>(renderer)) : QString();
  context.doneCurrent();
  return name;
}

}  // namespace

QString CompositingPathName(CompositingPath path) {
  return path == CompositingPath::kSoftware ? QStringLiteral("software")
                                            : QStringLiteral("hardware");
}

bool IsSoftwareRenderer(const QString& renderer) {
  for (const char* name :
       {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader"}) {
    if (renderer.contains(QLatin1String(name), Qt::CaseInsensitive)) return true;
  }
  return false;
}

bool IsRemoteX11Display(const QString& display) {
  const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
  if (colon <= 0) return false;
  const QString host = display.left(colon);
  // "/tmp/launch-xyz/org.xquartz:0" names a local socket, as "unix" does.
  return host != QLatin1String("unix") && !host.startsWith(QLatin1Char('/'));
}

CompositingChoice ChooseCompositingPath(const CompositingFacts& facts) {
  if (std::optional<CompositingChoice> choice = ChooseWithoutRenderer(facts)) return *choice;
  if (!facts.has_opengl) {
    return {CompositingPath::kSoftware, "no OpenGL context could be made"};
  }
  if (IsSoftwareRenderer(facts.renderer)) {
    return {CompositingPath::kSoftware,
            "OpenGL is drawn by the processor (renderer \"" + facts.renderer + "\")"};
  }
  return {CompositingPath::kHardware, "OpenGL renderer \"" + facts.renderer + "\""};
}

CompositingChoice ChooseCompositingPath() {
  CompositingFacts facts;
  facts.forced = qEnvironmentVariable(kForceVariable);
  facts.quick_backend = qEnvironmentVariable("QT_QUICK_BACKEND");
  facts.remote_display = QGuiApplication::platformName() == QLatin1String("xcb") &&
                         IsRemoteX11Display(qEnvironmentVariable("DISPLAY"));
  const QString forced = facts.forced.trimmed().toLower();
  if (!forced.isEmpty() && forced != QLatin1String("software") &&
      forced != QLatin1String("hardware") && forced != QLatin1String("auto")) {
    qCWarning(lcApp) << "PAGORO_COMPOSITING is" << facts.forced
                     << "- not software, hardware or auto; choosing by the machine";
  }
  if (std::optional<CompositingChoice> choice = ChooseWithoutRenderer(facts)) return *choice;
  QElapsedTimer timer;
  timer.start();
  const std::optional<QString> renderer = ProbeRenderer();
  facts.has_opengl = renderer.has_value();
  facts.renderer = renderer.value_or(QString());
  qCDebug(lcApp) << "OpenGL renderer probed in" << timer.elapsed() << "ms";
  return ChooseCompositingPath(facts);
}

void ApplyCompositingPath(const CompositingChoice& choice) {
  if (choice.path == CompositingPath::kSoftware) {
    // The web engine reads the variable too: it then composites in software
    // and hands Qt Quick finished frames.
    qputenv("QT_QUICK_BACKEND", "software");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  } else if (qEnvironmentVariable("QT_QUICK_BACKEND") == QLatin1String("software")) {
    // Forced against the user's variable; Qt's default is the hardware one.
    qunsetenv("QT_QUICK_BACKEND");
  }
  qCInfo(lcApp).noquote() << "compositing:" << CompositingPathName(choice.path) << "-"
                          << choice.reason;
}

}  // namespace pagoro
