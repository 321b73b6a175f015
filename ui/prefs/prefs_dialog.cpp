#include "ui/prefs/prefs_dialog.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <utility>

#include "ui/frame/window_frame.h"
#include "ui/prefs/prefs_check_box.h"
#include "ui/prefs/prefs_look.h"
#include "ui/prefs/prefs_slider.h"
#include "ui/prefs/sound_combo.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kClientWidth = 409;
constexpr int kClientHeight = 329;

TPrefsSlider* MakeSlider(QWidget* parent, const char* name, int minimum, int maximum, int pageStep,
                         int tickInterval, const QRect& geometry) {
  auto* slider = new TPrefsSlider(parent);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setRange(minimum, maximum);
  slider->setPageStep(pageStep);
  if (tickInterval > 0) {
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
  }
  slider->setGeometry(geometry);
  return slider;
}

// The widest line of a caption in the dialog's type.
int TextWidth(const QString& caption) {
  const QFontMetrics metrics(PrefsFont(kPrefsTextPixels));
  int widest = 0;
  for (const QString& line : caption.split(QLatin1Char('\n'))) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  return widest;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

TfrmSettings::TfrmSettings(TConfig& config, TSoundChoice& choice, QWidget* parent)
    : QDialog(parent), config_(config), choice_(choice) {
  setObjectName(QStringLiteral("frmSettings"));
  setWindowTitle(QStringLiteral("Preferences"));
  // A fixed dialog that keeps above other windows by a style of its own,
  // whatever "Always on Top" does to the main window.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setSizeGripEnabled(false);
  setFont(PrefsFont(kPrefsTextPixels));

  BuildAudioGroup();
  BuildInterfaceGroup();
  sButton1 = MakeButton(this, "sButton1", QStringLiteral("Close"), QRect(318, 296, 83, 26));

  // The controls' state before any setting is loaded.
  sTrackBarRegDif->setValue(-1200);
  strbBellVolume->setValue(0);
  sTrackBarPan->setValue(0);
  strkbHue->setValue(0);
  strkbVisualOffset->setValue(0);
  sckbStayOnTop->setChecked(true);

  outputList_ = std::make_unique<TOutputList>(cmbOutputDevice);
  outputList_->SetValue(std::string(TConfig::kDefaultOutput));
  accentList_ = std::make_unique<TComboSoundList>(sComboBoxAcc);
  regularList_ = std::make_unique<TComboSoundList>(sComboBoxReg);
  choice_.AttachLists(*accentList_, *regularList_);
  choice_.SetFileChooser(&fileDialog_);
  BindControls();
  ConnectHandlers();

  Restyle();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TfrmSettings::Restyle);
}

TfrmSettings::~TfrmSettings() {
  bindings_.clear();
  choice_.SetFileChooser(nullptr);
  choice_.DetachLists();
}

void TfrmSettings::FillSoundLists() {
  choice_.StartUp();
}

void TfrmSettings::SetOutputLister(TOutputList::TLister lister) {
  outputList_->SetLister(std::move(lister));
  outputList_->SetValue(outputList_->Value());
}

void TfrmSettings::SetErrorReporter(TErrorReporter reporter) {
  reportError_ = std::move(reporter);
}

void TfrmSettings::SetFileChooser(TSoundFileChooser* chooser) {
  choice_.SetFileChooser(chooser != nullptr ? chooser : &fileDialog_);
}

QLabel* TfrmSettings::AddLabel(QWidget* parent, const QString& text, const QRect& geometry,
                               bool small) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setProperty("small", small);
  return label;
}

// "-21dB", "-12dB" and "0dB" under a level slider, each centred on the
// thumb's place for its value.
void TfrmSettings::AddScale(QWidget* parent, TPrefsSlider* slider) {
  const std::pair<int, const char*> marks[] = {{-2100, "-21dB"}, {-1200, "-12dB"}, {0, "0dB"}};
  for (const auto& [value, text] : marks) {
    const int centre = slider->x() + slider->CentreForValue(value);
    QLabel* label = AddLabel(parent, QString::fromLatin1(text),
                             QRect(centre - 20, slider->geometry().bottom() + 1, 40, 12));
    label->setProperty("scale", true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  }
}

void TfrmSettings::BuildAudioGroup() {
  auto* group = new QGroupBox(QStringLiteral("Audio"), this);
  group->setGeometry(8, 4, 393, 226);

  AddLabel(group, QStringLiteral("Output"), QRect(12, 20, 88, 22));
  cmbOutputDevice = new TSoundCombo(group);
  cmbOutputDevice->setObjectName(QStringLiteral("cmbOutputDevice"));
  cmbOutputDevice->setGeometry(100, 20, 282, 22);

  AddLabel(group, QStringLiteral("Accented beat"), QRect(12, 48, 88, 22));
  sComboBoxAcc = new TSoundCombo(group);
  sComboBoxAcc->setObjectName(QStringLiteral("sComboBoxAcc"));
  sComboBoxAcc->setGeometry(100, 48, 248, 22);
  sbtnSelectFilenameAcc =
      MakeButton(group, "sbtnSelectFilenameAcc", QStringLiteral("..."), QRect(352, 48, 30, 22));

  AddLabel(group, QStringLiteral("Non-accented"), QRect(12, 76, 88, 22));
  sComboBoxReg = new TSoundCombo(group);
  sComboBoxReg->setObjectName(QStringLiteral("sComboBoxReg"));
  sComboBoxReg->setGeometry(100, 76, 248, 22);
  sbtnSelectFilenameReg =
      MakeButton(group, "sbtnSelectFilenameReg", QStringLiteral("..."), QRect(352, 76, 30, 22));

  // The two levels side by side: the regular beat left, the bell right.
  // Each level slider takes what its caption leaves of its half.
  const QString regDifCaption = QStringLiteral("Non-accented beat\nvolume");
  const int regDifLeft = 12 + TextWidth(regDifCaption) + 6;
  AddLabel(group, regDifCaption, QRect(12, 110, regDifLeft - 12, 28));
  sTrackBarRegDif = MakeSlider(group, "sTrackBarRegDif", -2100, 0, 300, 1000,
                               QRect(regDifLeft, 112, 204 - regDifLeft, 22));
  AddScale(group, sTrackBarRegDif);
  AddLabel(group, QStringLiteral("Accented beat volume\nis always 0dB"), QRect(12, 150, 180, 26),
           true);

  const QString bellCaption = QStringLiteral("Bell volume");
  const int bellLeft = 216 + TextWidth(bellCaption) + 8;
  AddLabel(group, bellCaption, QRect(216, 112, bellLeft - 216, 22));
  strbBellVolume = MakeSlider(group, "strbBellVolume", -2100, 0, 1000, 5000,
                              QRect(bellLeft, 112, 382 - bellLeft, 22));
  AddScale(group, strbBellVolume);
  AddLabel(group, QStringLiteral("Bell sound can be turned on/off\nfrom the Tool menu."),
           QRect(216, 150, 168, 26), true);

  chkBoostVolume = new TPrefsCheckBox(QStringLiteral("Global volume boost"), group);
  chkBoostVolume->setObjectName(QStringLiteral("chkBoostVolume"));
  chkBoostVolume->setGeometry(12, 192, 170, 20);
  AddLabel(group, QStringLiteral("Pan"), QRect(216, 190, 30, 22));
  sTrackBarPan =
      MakeSlider(group, "sTrackBarPan", -5000, 5000, 1000, 5000, QRect(248, 190, 134, 22));

  // The sliders are reached by mouse only; the keyboard goes from list to
  // list and to the check boxes.
  for (TPrefsSlider* slider : {sTrackBarRegDif, strbBellVolume, sTrackBarPan}) {
    slider->setFocusPolicy(Qt::ClickFocus);
  }
}

void TfrmSettings::BuildInterfaceGroup() {
  auto* group = new QGroupBox(QStringLiteral("Interface"), this);
  group->setGeometry(8, 236, 300, 88);

  AddLabel(group, QStringLiteral("Color hue"), QRect(12, 26, 56, 22));
  strkbHue = MakeSlider(group, "strkbHue", -255, 255, 10, 0, QRect(70, 26, 116, 22));
  sckbStayOnTop = new TPrefsCheckBox(QStringLiteral("Always on Top"), group);
  sckbStayOnTop->setObjectName(QStringLiteral("sckbStayOnTop"));
  sckbStayOnTop->setGeometry(196, 27, 98, 20);

  // For the delays the program cannot know: a display's own, or wireless
  // speakers that do not report theirs. Positive shows the beat later.
  AddLabel(group, QStringLiteral("Visual offset"), QRect(12, 54, 70, 22));
  strkbVisualOffset = MakeSlider(group, "strkbVisualOffset", TConfig::kMinVisualOffset,
                                 TConfig::kMaxVisualOffset, 25, 50, QRect(84, 54, 140, 22));
  strkbVisualOffset->setSingleStep(5);
  lblVisualOffset = AddLabel(group, QString(), QRect(230, 54, 64, 22));
  lblVisualOffset->setObjectName(QStringLiteral("lblVisualOffset"));
  ShowVisualOffset(0);
}

void TfrmSettings::ShowVisualOffset(int ms) {
  lblVisualOffset->setText(ms == 0 ? QStringLiteral("0 ms")
                                   : QStringLiteral("%1%2 ms").arg(ms > 0 ? "+" : "").arg(ms));
}

void TfrmSettings::Restyle() {
  setStyleSheet(PrefsStyleSheet());
  update();
}

void TfrmSettings::setVisible(bool visible) {
  if (visible && !isVisible()) {
    // The outputs found may have changed since (a lost output reopened).
    outputList_->SetValue(outputList_->Value());
    CentreOverOwner(*this);
  }
  QDialog::setVisible(visible);
}

void TfrmSettings::paintEvent(QPaintEvent* /*event*/) {
  PaintPrefsBackground(*this);
}

}  // namespace zelmora
