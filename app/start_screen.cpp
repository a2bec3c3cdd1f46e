#include "app/start_screen.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

#include "app/drop_target.h"
#include "app/logging.h"

namespace pagoro {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;

}  // namespace

QString MagazineFileFilter() {
  return QStringLiteral(
      "Magazines, Flash movies and projectors 杂志、Flash 动画 (*.exe *.EXE *.Exe *.swf *.SWF "
      "*.Swf);;"
      "All files 所有文件 (*)");
}

StartScreen::StartScreen(std::function<void(const std::string&)> onFile)
    : on_file_(std::move(onFile)) {
  setObjectName(QStringLiteral("StartScreen"));
  setWindowTitle(QStringLiteral("pagoro"));
  setAcceptDrops(true);

  auto* text = new QLabel(this);
  text->setObjectName(QStringLiteral("StartText"));
  text->setAlignment(Qt::AlignCenter);
  text->setWordWrap(true);
  text->setText(
      QStringLiteral("<p style='font-size:large'><b>Drop a magazine here</b></p>"
                     "<p>a magazine (.exe, also one made for Windows), a Flash movie (.swf)<br>"
                     "or a Flash projector (.exe)</p>"
                     "<p>or choose <b>Open…</b> (Ctrl+O)</p>"
                     "<hr>"
                     "<p style='font-size:large'><b>把杂志拖到这里</b></p>"
                     "<p>或者点击“Open…”（Ctrl+O）打开杂志、Flash 动画或放映文件</p>"));
  auto* open = new QPushButton(QStringLiteral("&Open…"), this);
  open->setObjectName(QStringLiteral("OpenButton"));
  connect(open, &QPushButton::clicked, this, &StartScreen::ChooseFile);
  auto* shortcut = new QShortcut(QKeySequence::Open, this);
  connect(shortcut, &QShortcut::activated, this, &StartScreen::ChooseFile);

  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(text);
  layout->addWidget(open, 0, Qt::AlignHCenter);
  layout->addStretch();

  resize(kWidth, kHeight);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  move(screen.center() - QPoint(kWidth / 2, kHeight / 2));
}

StartScreen::~StartScreen() {
  if (drop_target_ != nullptr && windowHandle() != nullptr)
    windowHandle()->removeEventFilter(drop_target_);
}

void StartScreen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (drop_target_ != nullptr) return;
  // As on the player's window, drops are taken at the top-level window.
  drop_target_ = new DropTarget([this](const std::string& path) { on_file_(path); }, this);
  windowHandle()->installEventFilter(drop_target_);
}

void StartScreen::ChooseFile() {
  // Qt's own dialog: the same on every desktop, and it needs no portal.
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("Open a magazine"), QDir::homePath(),
                                   MagazineFileFilter(), nullptr, QFileDialog::DontUseNativeDialog);
  qCInfo(lcApp).noquote() << "chosen:" << (path.isEmpty() ? QStringLiteral("nothing") : path);
  if (!path.isEmpty()) on_file_(QFile::encodeName(path).toStdString());
}

}  // namespace pagoro
