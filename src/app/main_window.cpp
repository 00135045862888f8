// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/main_window.h"

#include <unistd.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QSysInfo>
#include <QTabBar>
#include <QTimer>

#include "app/frame_status_bar.h"
#include "app/help_window.h"
#include "app/list_export_dialog.h"
#include "app/menu_translation.h"
#include "compare_window/window/yes_no_box.h"
#include "core/command_ids.h"
#include "core/language_table.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"

namespace dupliora {

namespace {

constexpr const char* kChildNumberProperty = "dupliora_child_number";

const QString kStart = QStringLiteral("Start");
constexpr int kVersionTimerMs = 4000;
QPointer<CImgCompareMain> g_main_frame;

QString UserName() {
  QString name = qEnvironmentVariable("USER");
  if (name.isEmpty()) name = qEnvironmentVariable("LOGNAME");
  return name.isEmpty() ? QDir::home().dirName() : name;
}

QString ArchitectureText() {
  const QString arch = QSysInfo::buildCpuArchitecture();
  return arch == QStringLiteral("x86_64") ? QStringLiteral("x64") : arch;
}

// A saved rectangle from a screen that is gone must not place the window out of reach.
QRect FitOnScreens(const QRect& wanted) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(wanted)) return wanted;
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return wanted;
  const QRect area = primary->availableGeometry();
  return QRect(area.topLeft(), wanted.size().boundedTo(area.size()));
}

}  // namespace

bool RunsAsAdministrator() { return geteuid() == 0; }

CImgCompareMain* MainFrame() { return g_main_frame.data(); }

void SetMainStatusText(int part, const QString& text) {
  if (CImgCompareMain* frame = MainFrame()) frame->SetStatusPartText(part, text);
}

CImgCompareMain::CImgCompareMain(QWidget* parent) : QMainWindow(parent) {
  start_time_.start();
  g_main_frame = this;
  LoadLanguageSetting();
  BuildMenus();
  BuildToolBar();
  status_ = new FrameStatusBar(this);
  setStatusBar(status_);
  status_->SetPartText(0, GetString(text::kStatusReady));
  mdi_ = new QMdiArea(this);
  // Tabs from the second child on; until then the child fills the area.
  mdi_->setDocumentMode(true);
  mdi_->setTabsMovable(true);
  mdi_->setTabsClosable(true);
  setCentralWidget(mdi_);
  setMinimumSize(kMinimumFrameSize);
  no_child_note_ = new QLabel(mdi_);
  no_child_note_->setAlignment(Qt::AlignCenter);
  no_child_note_->setWordWrap(true);
  no_child_note_->hide();
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { UpdateTabBar(); });
}

CImgCompareMain::~CImgCompareMain() = default;

void CImgCompareMain::Start(const QString& commandLine) {
  CreateChild(commandLine.trimmed());
  SetLanguage(Languages().CurrentLanguage());
  // Kept across runs: a user who asked to be asked is asked again after a restart.
  ask_before_closing_->setChecked(Settings().ReadInt(kStart, QStringLiteral("close_ask"), 0) != 0);
  QTimer::singleShot(kVersionTimerMs, this, &CImgCompareMain::ShowVersionInStatus);
  const CMyProfStr& settings = Settings();
  status_->SetPartText(1, StatusUserText(UserName(), settings.ProfileName, settings.PortableMode,
                                         GetString(text::kPortableMark), ArchitectureText()));
  QTimer::singleShot(0, this, [this] { OnCommand(command::kRestorePlacement); });
  status_->SetPartText(1, QStringLiteral("%1 msek").arg(start_time_.elapsed()));
  if (Settings().Problem() != SettingsFileProblem::kNone) {
    QTimer::singleShot(0, this, &CImgCompareMain::TellSettingsRefused);
  }
}

// Once, after the window stands: the user learns why no setting sticks.
void CImgCompareMain::TellSettingsRefused() {
  const SettingsFileProblem problem = Settings().Problem();
  const int reason = problem == SettingsFileProblem::kNotRegular ? text::kSettingsNotRegular
                     : problem == SettingsFileProblem::kTooLarge ? text::kSettingsTooLarge
                                                                 : text::kSettingsUnreadable;
  const QString message = QStringList{GetString(text::kSettingsRefused),
                                      QDir::toNativeSeparators(Settings().SettingsFilePath),
                                      GetString(reason), GetString(text::kSettingsDefaultsUsed)}
                              .join(QLatin1Char('\n'));
  auto* box =
      new QMessageBox(QMessageBox::Warning, Identity().productName, message, QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void CImgCompareMain::ShowVersionInStatus() {
  status_->SetPartText(1, Identity().versionText);
  status_->SetPartIcon(1, style()->standardIcon(QStyle::SP_ComputerIcon));
}

// The text is the command line: pictures and folders the program was opened
// with go into the new child's path field, ready for Start.
CImgChildFrame* CImgCompareMain::CreateChild(const QString& text) {
  auto* child = new CImgChildFrame();
  child->setProperty(kChildNumberProperty, ++children_made_);
  child->setWindowTitle(ChildTitle(child));
  if (const auto paths = StartPathsFromCommandLine(text)) child->TakeStartPaths(*paths);
  last_child_ = child;
  // A maximised child needs no frame or title bar of its own: the main window has them.
  mdi_->addSubWindow(child, Qt::SubWindow | Qt::FramelessWindowHint);
  child->showMaximized();
  UpdateTitle();
  if (mdi_->activeSubWindow() != child) mdi_->setActiveSubWindow(child);
  connect(child, &QObject::destroyed, this,
          [this] { QTimer::singleShot(0, this, &CImgCompareMain::UpdateTabBar); });
  UpdateTabBar();
  return child;
}

void CImgCompareMain::UpdateTitle() {
  setWindowTitle(MainWindowTitle(Identity(), true, RunsAsAdministrator()));
}

// Tabs only help to switch between several children. A hidden tab strip
// would still keep its band of empty space, so the tabbed view starts only
// with the second child.
void CImgCompareMain::UpdateTabBar() {
  const qsizetype count = mdi_->subWindowList().size();
  const bool several = count > 1;
  if (several && mdi_->viewMode() != QMdiArea::TabbedView) {
    mdi_->setViewMode(QMdiArea::TabbedView);
  }
  if (auto* tabs = mdi_->findChild<QTabBar*>()) tabs->setVisible(several);
  // Without a comparison window the commands have nothing to act on: say
  // how to get one rather than showing a grey area.
  no_child_note_->setText(NoComparisonWindowNote());
  no_child_note_->setGeometry(mdi_->rect());
  no_child_note_->setVisible(count == 0);
  if (count == 0) no_child_note_->raise();
}

// "No comparison window is open." and the menu path that opens one, in the
// words the menus show.
QString CImgCompareMain::NoComparisonWindowNote() const {
  const auto plain = [](int number) { return GetString(number).remove(QLatin1Char('&')); };
  return GetString(text::kNoComparisonWindow) + QLatin1Char('\n') + plain(text::kMenuFile) +
         QStringLiteral(" > ") + plain(command::kNewComparison);
}

QString CImgCompareMain::ChildTitle(const QWidget* child) const {
  return GetString(text::kChildFrameTitle) + QLatin1Char(' ') +
         QString::number(child->property(kChildNumberProperty).toInt());
}

void CImgCompareMain::SendToLastChild(int id) {
  ComparisonCommands* commands = last_child_ ? last_child_->Commands() : nullptr;
  if (commands != nullptr && commands->OnCommand(id)) return;
  // The export writes the client's list; the client only shows it.
  if (id == command::kExportList)
    ExportClientList(this, last_child_ ? last_child_->Client() : nullptr);
}

void CImgCompareMain::OnCommand(int id) {
  if (id >= command::kStartModeFirst && id <= command::kStartModeLast) {
    Settings().WriteInt(kStart, QStringLiteral("Max"), id - command::kStartModeFirst);
    UpdateChecks();
    return;
  }
  if (id >= command::kLanguageFirst && id <= command::kLanguageLast) {
    SetLanguage(id - command::kLanguageFirst);
    return;
  }
  switch (id) {
    case command::kExportList:
    case command::kSelectAll:
    case command::kInvertSelection:
    case command::kUndo:
      SendToLastChild(id);
      break;
    case command::kNewComparison:
      CreateChild(QString());
      break;
    case command::kExit:
      close();
      break;
    case command::kRestorePlacement:
      RestorePlacement();
      break;
    case command::kAskBeforeClosing:
      Settings().WriteInt(kStart, QStringLiteral("close_ask"),
                          ask_before_closing_->isChecked() ? 1 : 0);
      break;
    case command::kHelp:
      ShowHelpWindow(this, QStringLiteral("#"), false);
      break;
    case command::kAbout:
      QMessageBox::about(this, GetString(text::kAbout),
                         Identity().productName + QLatin1Char(' ') + Identity().versionText);
      break;
    default:
      break;
  }
}

void CImgCompareMain::SetLanguage(int id) {
  dupliora::SetLanguage(id);
  InstallQtTranslations(id);
  Retranslate();
  emit languageChanged(id);
}

void CImgCompareMain::RestorePlacement() {
  if (placement_restored_) return;
  placement_restored_ = true;
  const CMyProfStr& settings = Settings();
  const PlacementPlan plan =
      PlanPlacementRestore(settings.ReadInt(kStart, QStringLiteral("Max"), 3),
                           settings.ReadInt(kStart, QStringLiteral("showCmd"), 0),
                           settings.ReadRect(kStart, QStringLiteral("WinRC_MP")));
  if (plan.keepRectangle) {
    showNormal();
    return;
  }
  const SettingsRect& r = plan.normal;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (plan.centred && primary != nullptr) {
    setGeometry(CentredDefaultRect(primary->availableGeometry(), minimumSize()));
  } else {
    setGeometry(FitOnScreens(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top)));
  }
  if (plan.maximised) {
    showMaximized();
  } else {
    showNormal();
  }
}

void CImgCompareMain::SavePlacement() {
  QRect normal = normalGeometry();
  if (!normal.isValid()) normal = geometry();
  const SettingsRect rect{normal.left(), normal.top(), normal.left() + normal.width(),
                          normal.top() + normal.height()};
  const int showCommand = isMaximized()   ? kShowMaximised
                          : isMinimized() ? kShowMinimised
                                          : kShowNormal;
  Settings().WriteStrings(kStart, {{QStringLiteral("WinRC_MP"), FormatSettingsRect(rect)},
                                   {QStringLiteral("showCmd"), QString::number(showCommand)}});
}

bool CImgCompareMain::AskBeforeClosing() {
  if (confirm_close_) return confirm_close_();
  QMessageBox box(QMessageBox::Question, Identity().productName, GetString(text::kCloseQuestion),
                  QMessageBox::Yes | QMessageBox::No, this);
  SetYesNoTexts(box, GetString(text::kYes), GetString(text::kNo));
  auto* ask = new QCheckBox(GetString(text::kAskBeforeClosing), &box);
  ask->setChecked(true);
  box.setCheckBox(ask);
  const bool close = box.exec() == QMessageBox::Yes;
  if (!ask->isChecked()) {
    ask_before_closing_->setChecked(false);
    Settings().WriteInt(kStart, QStringLiteral("close_ask"), 0);
  }
  return close;
}

void CImgCompareMain::CloseWithoutQuestion() {
  closing_without_question_ = true;
  close();
}

void CImgCompareMain::closeEvent(QCloseEvent* event) {
  if (!closing_without_question_ && ask_before_closing_->isChecked() && !AskBeforeClosing()) {
    event->ignore();
    return;
  }
  SavePlacement();
  for (QMdiSubWindow* child : mdi_->subWindowList()) {
    if (auto* frame = qobject_cast<CImgChildFrame*>(child)) {
      frame->CloseWithoutQuestion();
    } else {
      child->close();
    }
  }
  event->accept();
  emit frameClosed();
}

void CImgCompareMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  no_child_note_->setGeometry(mdi_->rect());
  status_->LayoutParts(width());
  if (!admin_icon_checked_) {
    admin_icon_checked_ = true;
    if (RunsAsAdministrator()) {
      status_->SetPartIcon(2, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
  }
}

void CImgCompareMain::SetStatusPartText(int part, const QString& text) {
  status_->SetPartText(part, text);
}

QString CImgCompareMain::StatusPartText(int part) const { return status_->PartText(part); }

}  // namespace dupliora
