#include "ui/practice/practice_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "ui/frame/window_frame.h"
#include "ui/main/error_box.h"
#include "ui/practice/practice_texts.h"
#include "ui/prefs/prefs_check_box.h"
#include "ui/prefs/prefs_look.h"
#include "ui/prefs/prefs_slider.h"
#include "ui/prefs/sound_combo.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

// A group's columns: caption, control, then the control's value or "..."
// button (or, in the speed trainer, a second caption and control).
constexpr int kControlWidth = 150;
constexpr int kRowHeight = 22;

using TEntries = std::initializer_list<std::pair<const char*, int>>;

QGroupBox* AddGroup(QGridLayout* columns, const char* name, const QString& title, int row,
                    int column) {
  auto* group = new QGroupBox(title);
  group->setObjectName(QString::fromLatin1(name));
  auto* rows = new QGridLayout(group);
  rows->setContentsMargins(10, 14, 10, 8);
  rows->setHorizontalSpacing(8);
  rows->setVerticalSpacing(6);
  rows->setAlignment(Qt::AlignTop);
  columns->addWidget(group, row, column);
  return group;
}

QGridLayout* Rows(QGroupBox* group) {
  return static_cast<QGridLayout*>(group->layout());
}

// A caption whose mnemonic moves the focus to `buddy`.
QLabel* AddCaption(QGroupBox* group, const QString& text, QWidget* buddy, int row, int column = 0) {
  auto* label = new QLabel(text, group);
  label->setBuddy(buddy);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Rows(group)->addWidget(label, row, column);
  return label;
}

// A label beside a slider that shows its value; wide enough for every one
// of `samples`, so the dialog keeps its size as the value changes.
QLabel* MakeValueLabel(QGroupBox* group, const char* name, std::initializer_list<QString> samples) {
  auto* label = new QLabel(group);
  label->setObjectName(QString::fromLatin1(name));
  const QFontMetrics metrics(PrefsFont(kPrefsTextPixels));
  int widest = 0;
  for (const QString& sample : samples) {
    widest = std::max(widest, metrics.horizontalAdvance(sample));
  }
  label->setFixedWidth(widest + 6);
  return label;
}

QComboBox* MakeChoices(QGroupBox* group, const char* name, TEntries entries) {
  auto* combo = new TSoundCombo(group);
  combo->setObjectName(QString::fromLatin1(name));
  for (const auto& [text, value] : entries) {
    combo->addItem(QString::fromUtf8(text), value);
  }
  combo->setFixedSize(kControlWidth, kRowHeight);
  return combo;
}

QComboBox* MakeSoundList(QGroupBox* group, const char* name) {
  auto* combo = new TSoundCombo(group);
  combo->setObjectName(QString::fromLatin1(name));
  combo->setFixedSize(kControlWidth, kRowHeight);
  return combo;
}

TPrefsSlider* MakeSlider(QGroupBox* group, const char* name, int minimum, int maximum,
                         int singleStep, int pageStep, int tickInterval) {
  auto* slider = new TPrefsSlider(group);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setRange(minimum, maximum);
  slider->setSingleStep(singleStep);
  slider->setPageStep(pageStep);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(tickInterval);
  slider->setFixedSize(kControlWidth, kRowHeight);
  return slider;
}

// A number with its unit. Typed numbers count once the typing is done
// (Enter, Tab or leaving the box), so that typing 16 never counts as 1 on
// the way; the arrows count at once.
QSpinBox* MakeNumber(QGroupBox* group, const char* name, int minimum, int maximum,
                     const QString& unit, const QString& atMinimum = QString()) {
  auto* spin = new QSpinBox(group);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(minimum, maximum);
  spin->setSuffix(unit);
  spin->setSpecialValueText(atMinimum);
  spin->setKeyboardTracking(false);
  spin->setAccelerated(true);
  spin->setFixedHeight(kRowHeight);
  return spin;
}

// "1 bar", "2 bars".
void CountBars(QSpinBox* spin) {
  const auto unit = [spin](int bars) {
    spin->setSuffix(bars == 1 ? QStringLiteral(" bar") : QStringLiteral(" bars"));
  };
  unit(spin->value());
  QObject::connect(spin, &QSpinBox::valueChanged, spin, unit);
}

// The groups one above the other start their controls at the same place:
// after the widest caption of them all. What is left of a group's width
// stays empty on its right.
void AlignColumns(std::initializer_list<QGroupBox*> groups) {
  int widest = 0;
  for (QGroupBox* group : groups) {
    QGridLayout* rows = Rows(group);
    for (int i = 0; i < rows->count(); ++i) {
      int row = 0;
      int column = 0;
      int rowSpan = 0;
      int columnSpan = 0;
      rows->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
      if (column == 0 && columnSpan == 1 && rows->itemAt(i)->widget() != nullptr) {
        widest = std::max(widest, rows->itemAt(i)->widget()->sizeHint().width());
      }
    }
  }
  for (QGroupBox* group : groups) {
    Rows(group)->setColumnMinimumWidth(0, widest);
    Rows(group)->setColumnStretch(Rows(group)->columnCount(), 1);
  }
}

// One width for every number box: the widest one's.
void AlignSpinBoxes(QWidget& dialog) {
  const QList<QSpinBox*> spins = dialog.findChildren<QSpinBox*>();
  int widest = 0;
  for (const QSpinBox* spin : spins) {
    widest = std::max(widest, spin->sizeHint().width());
  }
  for (QSpinBox* spin : spins) {
    spin->setFixedWidth(widest);
  }
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  // Enter in a number box finishes the typing; it must not also close.
  button->setAutoDefault(false);
  return button;
}

QPushButton* MakeFileButton(QGroupBox* group, const char* name) {
  QPushButton* button = MakeButton(group, name, QStringLiteral("..."));
  button->setFixedSize(30, kRowHeight);
  return button;
}

}  // namespace

TfrmPractice::TfrmPractice(TConfig& config, TPracticeSounds& sounds, QWidget* parent)
    : QDialog(parent),
      config_(config),
      sounds_(sounds),
      reportError_([](const std::string& message) { ShowErrorBox(message); }) {
  QVBoxLayout* outer =
      SetUpToolDialog(*this, QStringLiteral("frmPractice"), QStringLiteral("Practice"));
  auto* columns = new QGridLayout;
  columns->setSpacing(8);
  outer->addLayout(columns);
  // Built column by column, which makes the tab chain go down the sounds
  // first, then down the run's plan.
  AlignColumns(
      {BuildSubdivisionGroup(columns), BuildLayerGroup(columns), BuildCountInGroup(columns)});
  AlignColumns({BuildTrainerGroup(columns), BuildGapGroup(columns), BuildTimerGroup(columns)});
  AlignSpinBoxes(*this);
  sbtnClose = MakeButton(this, "sbtnClose", QStringLiteral("Close"));
  sbtnClose->setFixedSize(83, 26);
  outer->addWidget(sbtnClose, 0, Qt::AlignRight);

  subdivisionSound_ = std::make_unique<TPracticeSoundRow>(TPracticeVoice::Subdivision, config_,
                                                          sounds_, scmbSubdivisionSound);
  layerSound_ =
      std::make_unique<TPracticeSoundRow>(TPracticeVoice::Layer, config_, sounds_, scmbLayerSound);
  ConnectHandlers();
  ShowSettings();

  Restyle();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TfrmPractice::Restyle);
}

TfrmPractice::~TfrmPractice() = default;

void TfrmPractice::SetErrorReporter(TErrorReporter reporter) {
  reportError_ = std::move(reporter);
}

void TfrmPractice::SetFileChooser(TPracticeFileChooser* chooser) {
  chooser_ = chooser != nullptr ? chooser : &fileDialog_;
}

QGroupBox* TfrmPractice::BuildSubdivisionGroup(QGridLayout* columns) {
  QGroupBox* group = AddGroup(columns, "grpSubdivision", QStringLiteral("Subdivision"), 0, 0);
  QGridLayout* rows = Rows(group);
  scmbSubdivision =
      MakeChoices(group, "scmbSubdivision",
                  {{"Off", 1}, {"2 – eighths", 2}, {"3 – triplets", 3}, {"4 – sixteenths", 4}});
  AddCaption(group, QStringLiteral("&Divide each beat"), scmbSubdivision, 0);
  rows->addWidget(scmbSubdivision, 0, 1);

  strkbSwing = MakeSlider(group, "strkbSwing", 50, 75, 1, 5, 5);
  strkbSwing->setToolTip(
      QStringLiteral("Where the second note of each pair falls, in % of the pair:\n"
                     "50% plays straight, 67% a triplet swing."));
  lblSwing = MakeValueLabel(group, "lblSwing", {SwingText(50), SwingText(67), SwingText(75)});
  AddCaption(group, QStringLiteral("S&wing"), strkbSwing, 1);
  rows->addWidget(strkbSwing, 1, 1);
  rows->addWidget(lblSwing, 1, 2);

  strkbSubdivisionVolume = MakeSlider(group, "strkbSubdivisionVolume", -2100, 0, 100, 300, 700);
  lblSubdivisionVolume = MakeValueLabel(group, "lblSubdivisionVolume", {LevelText(-2075)});
  AddCaption(group, QStringLiteral("&Level"), strkbSubdivisionVolume, 2);
  rows->addWidget(strkbSubdivisionVolume, 2, 1);
  rows->addWidget(lblSubdivisionVolume, 2, 2);

  scmbSubdivisionSound = MakeSoundList(group, "scmbSubdivisionSound");
  sbtnSubdivisionSoundFile = MakeFileButton(group, "sbtnSubdivisionSoundFile");
  AddCaption(group, QStringLiteral("&Sound"), scmbSubdivisionSound, 3);
  rows->addWidget(scmbSubdivisionSound, 3, 1);
  rows->addWidget(sbtnSubdivisionSoundFile, 3, 2, Qt::AlignLeft);
  return group;
}

QGroupBox* TfrmPractice::BuildLayerGroup(QGridLayout* columns) {
  QGroupBox* group = AddGroup(columns, "grpLayer", QStringLiteral("Layer"), 1, 0);
  QGridLayout* rows = Rows(group);
  scmbLayerClicks = MakeChoices(
      group, "scmbLayerClicks",
      {{"Off", 0}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}, {"9", 9}});
  scmbLayerClicks->setToolTip(
      QStringLiteral("Clicks spread evenly across each bar, over the beats:\n"
                     "3 in a bar of 4 plays three against four."));
  AddCaption(group, QStringLiteral("&Clicks per bar"), scmbLayerClicks, 0);
  rows->addWidget(scmbLayerClicks, 0, 1);

  strkbLayerVolume = MakeSlider(group, "strkbLayerVolume", -2100, 0, 100, 300, 700);
  lblLayerVolume = MakeValueLabel(group, "lblLayerVolume", {LevelText(-2075)});
  AddCaption(group, QStringLiteral("Le&vel"), strkbLayerVolume, 1);
  rows->addWidget(strkbLayerVolume, 1, 1);
  rows->addWidget(lblLayerVolume, 1, 2);

  scmbLayerSound = MakeSoundList(group, "scmbLayerSound");
  sbtnLayerSoundFile = MakeFileButton(group, "sbtnLayerSoundFile");
  AddCaption(group, QStringLiteral("So&und"), scmbLayerSound, 2);
  rows->addWidget(scmbLayerSound, 2, 1);
  rows->addWidget(sbtnLayerSoundFile, 2, 2, Qt::AlignLeft);
  return group;
}

QGroupBox* TfrmPractice::BuildCountInGroup(QGridLayout* columns) {
  QGroupBox* group = AddGroup(columns, "grpCountIn", QStringLiteral("Count-in"), 2, 0);
  scmbCountInBars = MakeChoices(group, "scmbCountInBars",
                                {{"None", 0}, {"1 bar", 1}, {"2 bars", 2}, {"4 bars", 4}});
  AddCaption(group, QStringLiteral("Cou&nt-in"), scmbCountInBars, 0);
  Rows(group)->addWidget(scmbCountInBars, 0, 1);
  return group;
}

QGroupBox* TfrmPractice::BuildTrainerGroup(QGridLayout* columns) {
  QGroupBox* group = AddGroup(columns, "grpTrainer", QStringLiteral("Speed trainer"), 0, 1);
  QGridLayout* rows = Rows(group);
  sckbTrainer = new TPrefsCheckBox(QStringLiteral("Speed trainer &on"), group);
  sckbTrainer->setObjectName(QStringLiteral("sckbTrainer"));
  sckbTrainer->setFixedHeight(kRowHeight);
  rows->addWidget(sckbTrainer, 0, 0, 1, 4);

  const QString bpm = QStringLiteral(" bpm");
  sspnTrainerStart =
      MakeNumber(group, "sspnTrainerStart", TConfig::kMinTempo, TConfig::kMaxTempo, bpm);
  AddCaption(group, QStringLiteral("St&art"), sspnTrainerStart, 1);
  rows->addWidget(sspnTrainerStart, 1, 1);
  sspnTrainerTarget =
      MakeNumber(group, "sspnTrainerTarget", TConfig::kMinTempo, TConfig::kMaxTempo, bpm);
  AddCaption(group, QStringLiteral("Tar&get"), sspnTrainerTarget, 1, 2);
  rows->addWidget(sspnTrainerTarget, 1, 3);

  sspnTrainerStep = MakeNumber(group, "sspnTrainerStep", 1, 20, bpm);
  sspnTrainerStep->setToolTip(
      QStringLiteral("Added at each step, or taken off when the target is slower."));
  AddCaption(group, QStringLiteral("Ste&p"), sspnTrainerStep, 2);
  rows->addWidget(sspnTrainerStep, 2, 1);
  sspnTrainerEveryBars = MakeNumber(group, "sspnTrainerEveryBars", 1, 64, QString());
  CountBars(sspnTrainerEveryBars);
  AddCaption(group, QStringLiteral("&every"), sspnTrainerEveryBars, 2, 2);
  rows->addWidget(sspnTrainerEveryBars, 2, 3);

  scmbTrainerAtTarget =
      MakeChoices(group, "scmbTrainerAtTarget", {{"Keep playing", 0}, {"Stop with the bell", 1}});
  AddCaption(group, QStringLiteral("At &target"), scmbTrainerAtTarget, 3);
  rows->addWidget(scmbTrainerAtTarget, 3, 1, 1, 3);
  return group;
}

QGroupBox* TfrmPractice::BuildGapGroup(QGridLayout* columns) {
  QGroupBox* group = AddGroup(columns, "grpGaps", QStringLiteral("Gap bars"), 1, 1);
  QGridLayout* rows = Rows(group);
  sspnGapPlayBars = MakeNumber(group, "sspnGapPlayBars", 0, 16, QString(), QStringLiteral("Off"));
  CountBars(sspnGapPlayBars);
  AddCaption(group, QStringLiteral("Pla&y"), sspnGapPlayBars, 0);
  rows->addWidget(sspnGapPlayBars, 0, 1);

  sspnGapMuteBars = MakeNumber(group, "sspnGapMuteBars", 1, 16, QString());
  CountBars(sspnGapMuteBars);
  AddCaption(group, QStringLiteral("Then &mute"), sspnGapMuteBars, 1);
  rows->addWidget(sspnGapMuteBars, 1, 1);

  sspnGapRandomPercent = MakeNumber(group, "sspnGapRandomPercent", 0, 50,
                                    QStringLiteral("% of bars"), QStringLiteral("Off"));
  sspnGapRandomPercent->setToolTip(
      QStringLiteral("Instead of the bars above: each bar is silent with this chance,\n"
                     "never two in a row."));
  AddCaption(group, QStringLiteral("Or mute at &random"), sspnGapRandomPercent, 2);
  rows->addWidget(sspnGapRandomPercent, 2, 1);
  return group;
}

QGroupBox* TfrmPractice::BuildTimerGroup(QGridLayout* columns) {
  QGroupBox* group = AddGroup(columns, "grpTimer", QStringLiteral("Timer"), 2, 1);
  sspnPracticeMinutes = MakeNumber(group, "sspnPracticeMinutes", 0, 180, QStringLiteral(" min"),
                                   QStringLiteral("No limit"));
  AddCaption(group, QStringLiteral("Stop a&fter"), sspnPracticeMinutes, 0);
  Rows(group)->addWidget(sspnPracticeMinutes, 0, 1);
  return group;
}

void TfrmPractice::SettingsChanged() {
  if (isVisible()) {
    ShowSettings();
  }
}

void TfrmPractice::ShowSettings() {
  const TPracticeSettings& practice = config_.Practice;
  const auto choose = [](QComboBox* combo, int value) {
    combo->setCurrentIndex(combo->findData(value));
  };
  choose(scmbSubdivision, ClampSubdivision(practice.Subdivision));
  strkbSwing->setValue(practice.Swing);
  lblSwing->setText(SwingText(strkbSwing->value()));
  strkbSubdivisionVolume->setValue(practice.SubdivisionVolume);
  lblSubdivisionVolume->setText(LevelText(strkbSubdivisionVolume->value()));
  subdivisionSound_->ShowStored();
  choose(scmbLayerClicks, ClampLayerClicks(practice.LayerClicks));
  strkbLayerVolume->setValue(practice.LayerVolume);
  lblLayerVolume->setText(LevelText(strkbLayerVolume->value()));
  layerSound_->ShowStored();
  choose(scmbCountInBars, ClampCountInBars(practice.CountInBars));
  sckbTrainer->setChecked(practice.Trainer);
  sspnTrainerStart->setValue(practice.TrainerStart);
  sspnTrainerTarget->setValue(practice.TrainerTarget);
  sspnTrainerStep->setValue(practice.TrainerStep);
  sspnTrainerEveryBars->setValue(practice.TrainerEveryBars);
  choose(scmbTrainerAtTarget, ClampTrainerAtTarget(practice.TrainerAtTarget));
  sspnGapPlayBars->setValue(practice.GapPlayBars);
  sspnGapMuteBars->setValue(practice.GapMuteBars);
  sspnGapRandomPercent->setValue(practice.GapRandomPercent);
  sspnPracticeMinutes->setValue(practice.PracticeMinutes);
  UpdateEnabled();
}

void TfrmPractice::UpdateEnabled() {
  const TPracticeSettings& practice = config_.Practice;
  const int subdivision = practice.Subdivision;
  const bool subdivided = subdivision > 1;
  // Swing moves the second part of each pair: there are pairs in 2 and 4.
  const bool swings = subdivision == 2 || subdivision == 4;
  for (QWidget* control : {static_cast<QWidget*>(strkbSwing), static_cast<QWidget*>(lblSwing)}) {
    control->setEnabled(swings);
  }
  for (QWidget* control :
       {static_cast<QWidget*>(strkbSubdivisionVolume), static_cast<QWidget*>(lblSubdivisionVolume),
        static_cast<QWidget*>(scmbSubdivisionSound),
        static_cast<QWidget*>(sbtnSubdivisionSoundFile)}) {
    control->setEnabled(subdivided);
  }
  const bool layered = practice.LayerClicks > 0;
  for (QWidget* control :
       {static_cast<QWidget*>(strkbLayerVolume), static_cast<QWidget*>(lblLayerVolume),
        static_cast<QWidget*>(scmbLayerSound), static_cast<QWidget*>(sbtnLayerSoundFile)}) {
    control->setEnabled(layered);
  }
  const bool training = practice.Trainer;
  for (QWidget* control :
       {static_cast<QWidget*>(sspnTrainerStart), static_cast<QWidget*>(sspnTrainerTarget),
        static_cast<QWidget*>(sspnTrainerStep), static_cast<QWidget*>(sspnTrainerEveryBars),
        static_cast<QWidget*>(scmbTrainerAtTarget)}) {
    control->setEnabled(training);
  }
  // Random gaps take the place of the fixed ones.
  const bool fixedGaps = practice.GapRandomPercent == 0;
  sspnGapPlayBars->setEnabled(fixedGaps);
  sspnGapMuteBars->setEnabled(fixedGaps && practice.GapPlayBars > 0);
  // A caption greys with its control.
  for (QLabel* caption : findChildren<QLabel*>()) {
    if (caption->buddy() != nullptr) {
      caption->setEnabled(caption->buddy()->isEnabled());
    }
  }
}

void TfrmPractice::Restyle() {
  // Preferences never greys a caption; here a caption greys with its
  // control.
  const QString greyed = QStringLiteral("QLabel:disabled { color: %1; }")
                             .arg(TSkin::Instance().Color(TSkinRole::TextMuted).name());
  setStyleSheet(PrefsStyleSheet() + greyed);
  update();
}

void TfrmPractice::setVisible(bool visible) {
  if (visible && !isVisible()) {
    ShowSettings();
    adjustSize();  // the layout's size, for the centring
    CentreOverOwner(*this);
  }
  QDialog::setVisible(visible);
}

void TfrmPractice::paintEvent(QPaintEvent* /*event*/) {
  PaintPrefsBackground(*this);
}

}  // namespace zelmora
