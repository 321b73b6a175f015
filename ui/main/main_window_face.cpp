// Builds the main window's controls at their places (client pixels at
// 96 DPI; controls inside a panel are placed relative to it).
#include <QLabel>

#include "ui/main/drawings.h"
#include "ui/main/fader.h"
#include "ui/main/fonts.h"
#include "ui/main/labels.h"
#include "ui/main/main_face.h"
#include "ui/main/main_window.h"
#include "ui/main/meter_combo.h"
#include "ui/main/picture.h"
#include "ui/main/pin_button.h"
#include "ui/main/press_button.h"
#include "ui/main/tempo_display.h"
#include "ui/main/tool_tip_lines.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kClientWidth = 264;
constexpr int kClientHeight = 255;

template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  if (name != nullptr) {
    widget->setObjectName(QString::fromLatin1(name));
  }
  widget->setGeometry(left, top, width, height);
  return widget;
}

QLabel* TextLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& color) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

// Labels on the dark glass of the tempo display take its text colour.
QColor OnGlass(int alpha = 255) {
  QColor color = TSkin::Instance().Color(TSkinRole::DisplayText);
  color.setAlpha(alpha);
  return color;
}

}  // namespace

void TfrmMain::BuildFace() {
  auto* face = new TMainFace(this);
  face->setObjectName(QStringLiteral("face"));
  face->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(face);

  // The tempo display and what sits on it.
  sPanel1_ = Place(new TTempoDisplay(face), "sPanel1", 8, 8, 129, 58);
  auto* count = new TInkLabel(sPanel1_);
  count->setCursor(Qt::PointingHandCursor);
  slblTimeSignNum_ = Place(count, "slblTimeSignNum", 7, 2, 10, 19);
  slblTimeSignNum_->setFont(MusicFont(19));
  slblTimeSignNum_->setText(QStringLiteral("4"));
  slblTimeSignNum_->setAlignment(Qt::AlignHCenter);
  QPalette countColour = slblTimeSignNum_->palette();
  countColour.setColor(QPalette::WindowText, OnGlass());
  slblTimeSignNum_->setPalette(countColour);
  slblTimeSignDen_ = Place(new TPicture(
                               [](QPainter& painter, const QRectF& box) {
                                 PaintQuarterNote(painter, box.adjusted(0, 4, 0, -4), OnGlass());
                               },
                               sPanel1_),
                           "slblTimeSignDen", 7, 20, 6, 31);
  lblBeat_ = Place(new TPicture(
                       [](QPainter& painter, const QRectF& box) {
                         PaintDot(painter, box.adjusted(0.5, 2.5, -0.5, -2.5),
                                  TSkin::Instance().Color(TSkinRole::BeatMark).lighter(150));
                       },
                       sPanel1_),
                   "lblBeat", 106, 19, 9, 14);
  lblBeat_->hide();
  Label5_ = Place(TextLabel(sPanel1_, QStringLiteral("BPM"), SerifFont(11), OnGlass(200)), "Label5",
                  99, 35, 22, 12);
  lblTap_ = Place(TextLabel(sPanel1_, QStringLiteral("TAP"), SerifFont(11), OnGlass()), "lblTap",
                  100, 6, 20, 12);
  lblTap_->hide();

  // Volume.
  sTrackBarVol_ = Place(new TFader(TFader::TLook::Volume, 12, face), "sTrackBarVol", 8, 97, 24, 63);
  sTrackBarVol_->setRange(0, 3000);
  sTrackBarVol_->setPageStep(300);
  sTrackBarVol_->setSingleStep(100);
  Image2_ = Place(new TPicture(
                      [](QPainter& painter, const QRectF& box) {
                        PaintVolumeWedge(painter, box, TSkin::Instance().Color(TSkinRole::Accent));
                      },
                      face),
                  "Image2", 31, 108, 16, 41);

  // Tempo fader in its black frame, which clips it.
  sPanel2_ = Place(new QWidget(face), "sPanel2", 168, 11, 36, 247);
  sPanel2_->setAutoFillBackground(true);
  QPalette black = sPanel2_->palette();
  black.setColor(QPalette::Window, TSkin::Instance().Color(TSkinRole::FaderGroove));
  sPanel2_->setPalette(black);
  sTrackBarTempo_ =
      Place(new TFader(TFader::TLook::Tempo, 58, sPanel2_), "sTrackBarTempo", -15, -8, 57, 260);
  sTrackBarTempo_->setRange(-208, -40);
  sTrackBarTempo_->setPageStep(10);
  sTrackBarTempo_->setSingleStep(1);

  // Meter.
  scmbMeterNum_ = Place(new TMeterCombo(face), "scmbMeterNum", 56, 105, 81, 23);
  sWebLabel1_ =
      Place(new TLinkLabel(QStringLiteral("More...."), face), "sWebLabel1", 72, 136, 40, 13);

  // Start/stop and tap.
  sbtnStartStop_ =
      Place(new TPressButton(TPressButton::TSign::Play, face), "sbtnStartStop", 64, 189, 65, 59);
  sbtnStartStop_->SetSignSize(24);
  sbtnStartStop_->setFocusPolicy(Qt::NoFocus);
  sButton2_ = Place(new TPressButton(TPressButton::TSign::Dot, face), "sButton2", 11, 208, 38, 33);
  sButton2_->SetSignSize(12);
  sButton2_->setFocusPolicy(Qt::StrongFocus);

  Label9_ = Place(TextLabel(face, QStringLiteral("EXTERNAL skin is used"), UiFont(8),
                            TSkin::Instance().Color(TSkinRole::TextMuted)),
                  "Label9", 32, 1, 82, 10);
  Label9_->hide();

  Image1_ = Place(
      new TPicture([](QPainter& painter, const QRectF& box) { PaintLogo(painter, box); }, face),
      "Image1", 202, 12, 58, 54);
  // Stands in for the caption bar's always-on-top button.
  pin_ = Place(new TPinButton(face), "StayOnTopButton", 245, 0, 17, 14);
  pin_->setToolTip(QString());

  BuildHeadings(face);
  BuildTempoScale(face);

  // Only the meter box and the tap button are tab stops.
  sTrackBarVol_->setFocusPolicy(Qt::ClickFocus);
  sTrackBarTempo_->setFocusPolicy(Qt::ClickFocus);
  setTabOrder(scmbMeterNum_, sButton2_);
}

void TfrmMain::BuildHeadings(QWidget* face) {
  struct THeading {
    const char* text;
    int left;
    int top;
  };
  static constexpr THeading kHeadings[] = {{"TEMPO", 163, -4},
                                           {"METER", 75, 83},
                                           {"VOL", 17, 81},
                                           {"ON/OFF", 73, 167},
                                           {"TAP", 17, 183}};
  for (const THeading& heading : kHeadings) {
    auto* label = new THeadingLabel(QString::fromLatin1(heading.text), face);
    label->adjustSize();
    label->move(heading.left, heading.top);
    label->lower();
  }
}

void TfrmMain::BuildTempoScale(QWidget* face) {
  struct TMark {
    int tempo;
    int top;
  };
  static constexpr TMark kScale[] = {{208, 23}, {184, 56}, {152, 86}, {132, 116}, {116, 145},
                                     {96, 163}, {80, 182}, {66, 201}, {52, 219},  {40, 235}};
  const QFont scaleFont = UiFont(11);
  const QColor muted = TSkin::Instance().Color(TSkinRole::TextMuted);
  std::vector<int> marks;
  for (const TMark& mark : kScale) {
    const QString text = QString::number(mark.tempo);
    auto* label = TextLabel(face, text, scaleFont, muted);
    label->adjustSize();
    label->move(text.size() == 3 ? 149 : 154, mark.top);
    marks.push_back(mark.top + label->height() / 2);
  }
  static_cast<TMainFace*>(face)->SetScaleMarks(std::move(marks), 165, 167);

  struct TName {
    const char* text;
    int top;
  };
  static constexpr TName kNames[] = {{"Presto", 76},   {"Allegro", 131}, {"Moderato", 150},
                                     {"Andante", 183}, {"Adagio", 198},  {"Larghetto", 211},
                                     {"Largo", 235}};
  const QFont nameFont = SerifFont(12);
  const QColor text = TSkin::Instance().Color(TSkinRole::Text);
  for (const TName& name : kNames) {
    auto* label = TextLabel(face, QString::fromLatin1(name.text), nameFont, text);
    label->adjustSize();
    label->move(208, name.top);
  }
}

void TfrmMain::SetToolTips() {
  toolTips_ = {
      {sTrackBarVol_, QStringLiteral("Regular beat volume. Hot-keys: <b>plus</b> or <b>minus</b>")},
      {sTrackBarTempo_, QStringLiteral("Select tempo (in bpm). Hot-keys: <br>\r\n"
                                       "+-1 bpm: <b>right</b> or <b>left arrow</b> <br>\r\n"
                                       "standard increment/decrement: <b>Ctrl + right</b> or "
                                       "<b>left arrow</b>\r\n")},
      {sbtnStartStop_, QStringLiteral("Start or stop the metronome. \r\nHot-key: <b>Space</b>")},
  };
  ShowHint(true);
}

}  // namespace zelmora
