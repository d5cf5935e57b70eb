#include "display/display_settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

#include "ui/dialog_support.h"
#include "ui/resource.h"

namespace tz {

namespace {

// The graph buttons in the order the dialog checks them when it opens.
struct GraphButton {
  int id;
  const char* text;
  bool DisplayChoices::*choice;
  int DisplayState::*show;
};
constexpr GraphButton kGraphButtons[] = {
    {res::kRadioShowFft, "Currently active FFT source (default view)", &DisplayChoices::showFft,
     &DisplayState::ShowFft},
    {res::kRadioShow3RpmFilt, "RPM filtered, Torque, Power", &DisplayChoices::show3RpmFilt,
     &DisplayState::Show3RpmFilt},
    {res::kRadioShow3RpmInst, "RPM unfiltered, Torque, Power", &DisplayChoices::show3RpmInst,
     &DisplayState::Show3RpmInst},
    {res::kRadioShowRpmFilt, "RPM filtered", &DisplayChoices::showRpmFilt,
     &DisplayState::ShowRpmFilt},
    {res::kRadioShowRpmInst, "RPM unfiltered", &DisplayChoices::showRpmInst,
     &DisplayState::ShowRpmInst},
    {res::kRadioShowTorque, "Torque", &DisplayChoices::showTorque, &DisplayState::ShowTorque},
    {res::kRadioShowPower, "Power", &DisplayChoices::showPower, &DisplayState::ShowPower},
};

// The drawing options of the FFT graph.
struct OptionBox {
  int id;
  const char* text;
  bool DisplayChoices::*choice;
};
constexpr OptionBox kOptionBoxes[] = {
    {res::kCheckSpectralLines, "Display spectral lines", &DisplayChoices::spectralLines},
    {res::kCheckHarmonics, "Display armonics (analytic)", &DisplayChoices::harmonics},
    {res::kCheckHarmonicPeaks, "Display armonic peaks (euristic)",
     &DisplayChoices::harmonicPeaks},
    {res::kCheckCleanSpectrum, "Clean spectrum (DC component + floor)",
     &DisplayChoices::cleanSpectrum},
};

template <typename T>
T* Make(int id, const char* text, QWidget* parent) {
  auto* w = new T(QString::fromLatin1(text), parent);
  SetId(w, id);
  return w;
}

}  // namespace

DisplayChoices ChoicesOf(const DisplayState& s) {
  DisplayChoices c;
  const GraphButton* last = nullptr;
  for (const GraphButton& b : kGraphButtons)
    if (s.*b.show) last = &b;
  if (last) c.*last->choice = true;
  c.spectralLines = s.FftEnvelope == 0;
  c.harmonics = s.ShowHarmonics != 0;
  c.harmonicPeaks = s.ShowHarmonicPeaks != 0;
  c.cleanSpectrum = s.CleanSpectrum != 0;
  return c;
}

void StoreDisplayChoices(const DisplayChoices& c, DisplayState& s) {
  for (const GraphButton& b : kGraphButtons) s.*b.show = c.*b.choice ? 1 : 0;
  s.FftEnvelope = c.spectralLines ? 0 : 1;
  s.ShowHarmonics = c.harmonics ? 1 : 0;
  s.ShowHarmonicPeaks = c.harmonicPeaks ? 1 : 0;
  s.CleanSpectrum = c.cleanSpectrum ? 1 : 0;
}

DisplaySettingsDialog::DisplaySettingsDialog(DisplayState& state,
                                             std::function<void()> clearMarkers,
                                             std::function<void()> rebuild, QWidget* parent)
    : QDialog(parent),
      state_(state),
      clearMarkers_(std::move(clearMarkers)),
      rebuild_(std::move(rebuild)) {
  SetId(this, res::kDlgDisplaySettings);
  setWindowTitle(QStringLiteral("Display Settings"));
  setModal(true);

  auto* fftGroup = Make<QGroupBox>(res::kIdStatic, "Select FFT graph ", this);
  auto* timeGroup = Make<QGroupBox>(res::kIdStatic, "Select auxiliary graphs to display", this);
  auto* fftLayout = new QVBoxLayout(fftGroup);
  auto* timeLayout = new QVBoxLayout(timeGroup);

  // One exclusive group across both boxes.
  auto* graphs = new QButtonGroup(this);
  graphs->setExclusive(true);
  const DisplayChoices initial = ChoicesOf(state);
  for (const GraphButton& b : kGraphButtons) {
    const bool fft = b.id == res::kRadioShowFft;
    auto* radio = Make<QRadioButton>(b.id, b.text, fft ? fftGroup : timeGroup);
    graphs->addButton(radio);
    radio->setChecked(initial.*b.choice);
    (fft ? fftLayout : timeLayout)->addWidget(radio);
  }
  // The options of the FFT graph, under its button.
  auto* options = new QVBoxLayout;
  options->setContentsMargins(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 6, 0,
                              0, 0);
  for (const OptionBox& o : kOptionBoxes) {
    auto* box = Make<QCheckBox>(o.id, o.text, fftGroup);
    box->setChecked(initial.*o.choice);
    options->addWidget(box);
  }
  fftLayout->addLayout(options);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fftGroup);
  layout->addWidget(timeGroup);
  AddOkCancelRow(this, layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

DisplayChoices DisplaySettingsDialog::Choices() const {
  DisplayChoices c;
  for (const GraphButton& b : kGraphButtons)
    c.*b.choice = FindById<QRadioButton>(this, b.id)->isChecked();
  for (const OptionBox& o : kOptionBoxes)
    c.*o.choice = FindById<QCheckBox>(this, o.id)->isChecked();
  return c;
}

void DisplaySettingsDialog::accept() {
  StoreDisplayChoices(Choices(), state_);
  done(res::kIdOk);
  if (clearMarkers_) clearMarkers_();
  if (rebuild_) rebuild_();
}

void DisplaySettingsDialog::reject() {
  done(res::kIdCancel);
  if (rebuild_) rebuild_();
}

}  // namespace tz
