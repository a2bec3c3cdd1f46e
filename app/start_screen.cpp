#include "app/start_screen.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/drop_target.h"
#include "app/file_chooser.h"
#include "app/logging.h"
#include "book/cp936.h"
#include "core/app_title.h"
#include "core/book_opener.h"

namespace pagoro {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
// With the shelf.
constexpr int kShelfWidth = 720;
constexpr int kShelfHeight = 560;
constexpr int kIconWidth = 80;
constexpr int kIconHeight = 60;
constexpr int kPathRole = Qt::UserRole;

QString Legible(const std::string& bytes) { return QString::fromStdString(FileNameAsUtf8(bytes)); }

}  // namespace

StartScreen::StartScreen(std::function<void(const std::string&)> onFile)
    : on_file_(std::move(onFile)) {
  setObjectName(QStringLiteral("StartScreen"));
  setWindowTitle(QStringLiteral("pagoro"));  // not translated: the program's name
  setAcceptDrops(true);

  auto* text = new QLabel(this);
  text->setObjectName(QStringLiteral("StartText"));
  text->setAlignment(Qt::AlignCenter);
  text->setWordWrap(true);
  text->setText(
      QStringLiteral("<p style='font-size:large'><b>%1</b></p><p>%2</p><p>%3</p>")
          .arg(QCoreApplication::translate("StartScreen", "Drop a magazine here"),
               QCoreApplication::translate(
                   "StartScreen",
                   "a magazine (.exe, also one made for Windows), a Flash movie (.swf) "
                   "or a Flash projector (.exe)"),
               QCoreApplication::translate("StartScreen", "or choose <b>Open…</b> (Ctrl+O)")));
  qCInfo(lcApp).noquote() << "start text:" << text->text();
  auto* open = new QPushButton(QCoreApplication::translate("StartScreen", "&Open…"), this);
  open->setObjectName(QStringLiteral("OpenButton"));
  connect(open, &QPushButton::clicked, this, &StartScreen::ChooseFile);
  open_ = open;
  auto* shortcut = new QShortcut(QKeySequence::Open, this);
  connect(shortcut, &QShortcut::activated, this, &StartScreen::ChooseFile);

  shelf_ = new QListWidget(this);
  shelf_->setObjectName(QStringLiteral("Shelf"));
  shelf_->setIconSize(QSize(kIconWidth, kIconHeight));
  shelf_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(shelf_, &QListWidget::itemClicked, this, &StartScreen::OpenItem);
  connect(shelf_, &QListWidget::itemActivated, this, &StartScreen::OpenItem);
  forget_ = new QPushButton(QCoreApplication::translate("StartScreen", "&Forget"), this);
  forget_->setObjectName(QStringLiteral("ForgetButton"));
  forget_->setToolTip(
      QCoreApplication::translate("StartScreen", "Take the chosen magazine off the list (Delete)"));
  connect(forget_, &QPushButton::clicked, this, &StartScreen::ForgetSelected);
  auto* forgetKey =
      new QShortcut(QKeySequence::Delete, shelf_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(forgetKey, &QShortcut::activated, this, &StartScreen::ForgetSelected);

  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(text);
  layout->addWidget(open, 0, Qt::AlignHCenter);
  layout->addStretch();
  auto* shelfTitle =
      new QLabel(QStringLiteral("<b>%1</b>")
                     .arg(QCoreApplication::translate("StartScreen", "Recent magazines")),
                 this);
  layout->addWidget(shelfTitle);
  layout->addWidget(shelf_, 1);
  layout->addWidget(forget_, 0, Qt::AlignRight);
  FillShelf();
  shelfTitle->setVisible(shelf_->count() > 0);

  const QSize size =
      shelf_->count() > 0 ? QSize(kShelfWidth, kShelfHeight) : QSize(kWidth, kHeight);
  resize(size);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
  if (shelf_->count() > 0) {
    shelf_->setCurrentRow(0);
    shelf_->setFocus();
  }
}

void StartScreen::FillShelf() {
  shelf_->clear();
  const RecentList list = store_.Load();
  for (const RecentEntry& e : list.entries()) {
    const bool missing = access(e.path.c_str(), F_OK) != 0;
    const std::string fileName = FileNameOf(e.path);
    const QString name = QString::fromStdString(MagazineTitle(e.path));
    const QString where = Legible(e.path.substr(0, e.path.size() - fileName.size()));
    const QString when =
        QDateTime::fromSecsSinceEpoch(e.opened).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    auto* item = new QListWidgetItem(shelf_);
    item->setText(
        missing ? QCoreApplication::translate("StartScreen", "%1 (missing)\n%2 · %3")
                      .arg(name, where, when)
                : QCoreApplication::translate("StartScreen", "%1\n%2 · %3").arg(name, where, when));
    item->setToolTip(Legible(e.path));
    item->setData(kPathRole, QByteArray::fromStdString(e.path));
    QPixmap cover;
    if (!e.cover.empty()) cover = QPixmap::fromImage(store_.Cover(e.cover));
    if (cover.isNull()) cover = QGuiApplication::windowIcon().pixmap(kIconHeight, kIconHeight);
    item->setIcon(QIcon(cover));
    if (missing) item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    qCInfo(lcApp).noquote() << "shelf entry:" << name << "|" << where << "|" << when
                            << (missing ? "| missing" : "") << (e.cover.empty() ? "" : "| cover");
  }
  shelf_->setVisible(shelf_->count() > 0);
  forget_->setVisible(shelf_->count() > 0);
  qCInfo(lcApp) << "shelf:" << shelf_->count() << "entries";
}

void StartScreen::OpenItem(QListWidgetItem* item) {
  if (item == nullptr || handing_) return;
  const std::string path = item->data(kPathRole).toByteArray().toStdString();
  if (access(path.c_str(), F_OK) == 0) {
    Hand(path);
  } else {
    handing_ = true;  // a second click meanwhile asks nothing more
    const bool forgotten = OfferToForget(path);
    handing_ = false;
    if (forgotten) return;
  }
  // Still here: the file did not open, or was kept on the list, and a box
  // said so. The keys stay with this entry, not the newest.
  if (isVisible() && shelf_->row(item) >= 0) {
    shelf_->setCurrentItem(item);
    shelf_->setFocus();
  }
}

bool StartScreen::OfferToForget(const std::string& path) {
  qCInfo(lcApp).noquote() << "shelf: missing:" << Legible(path);
  QMessageBox box(QMessageBox::Question, windowTitle(),
                  tr("The magazine \"%1\" is no longer there.\n\n"
                     "Forget it (take it off the list of recent magazines), or keep it on the "
                     "list? If it lies on a disc or a stick, insert it and choose it again.")
                      .arg(Legible(path)),
                  QMessageBox::NoButton, this);
  QPushButton* forget = box.addButton(tr("&Forget"), QMessageBox::AcceptRole);
  QPushButton* keep = box.addButton(tr("&Keep"), QMessageBox::RejectRole);
  // Enter keeps it: a disc that is only out of its drive loses nothing.
  box.setDefaultButton(keep);
  box.setEscapeButton(keep);
  box.exec();
  if (box.clickedButton() != forget) {
    qCInfo(lcApp) << "shelf: kept";
    return false;
  }
  store_.Forget(path);
  FillShelf();
  // The next Enter must not open whatever took the first place.
  open_->setFocus();
  return true;
}

void StartScreen::ForgetSelected() {
  QListWidgetItem* item = shelf_->currentItem();
  if (item == nullptr) return;
  const int row = shelf_->row(item);
  store_.Forget(item->data(kPathRole).toByteArray().toStdString());
  FillShelf();
  if (shelf_->count() > 0) shelf_->setCurrentRow(std::min(row, shelf_->count() - 1));
}

void StartScreen::Hand(const std::string& path) {
  if (handing_ || path.empty()) return;
  handing_ = true;
  on_file_(path);
  handing_ = false;
  // Still here: the file did not open, and a box said why. Once it closes,
  // the keys go to the Open button (OpenItem puts them back on the chosen
  // entry), never to the shelf's first entry, which the next Enter would
  // open.
  if (isVisible()) open_->setFocus();
}

StartScreen::~StartScreen() {
  if (drop_target_ != nullptr && windowHandle() != nullptr)
    windowHandle()->removeEventFilter(drop_target_);
}

void StartScreen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (drop_target_ != nullptr) return;
  // As on the player's window, drops are taken at the top-level window.
  drop_target_ = new DropTarget([this](const std::string& path) { Hand(path); }, this);
  windowHandle()->installEventFilter(drop_target_);
}

void StartScreen::ChooseFile() {
  const std::string path = FileChooser::Choose(this, store_.Load().last_folder());
  qCInfo(lcApp).noquote() << "chosen:"
                          << (path.empty() ? QStringLiteral("nothing") : Legible(path));
  if (path.empty()) return;
  store_.SetLastFolder(path.substr(0, path.rfind('/') + 1));
  Hand(path);
}

}  // namespace pagoro
