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

// The graph buttons, in the order of DisplayChoice.
struct GraphButton {
  int id;
  const char* text;
};
constexpr GraphButton kGraphButtons[kDisplayChoiceCount] = {
    {res::kRadioShowFft, "Currently active FFT source (default view)"},
    {res::kRadioShow3RpmFilt, "RPM filtered, Torque, Power"},
    {res::kRadioShow3RpmInst, "RPM unfiltered, Torque, Power"},
    {res::kRadioShowRpmFilt, "RPM filtered"},
    {res::kRadioShowRpmInst, "RPM unfiltered"},
    {res::kRadioShowTorque, "Torque"},
    {res::kRadioShowPower, "Power"},
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

static_assert(std::size(kOptionBoxes) == 4, "one box per option of DisplayChoices");

// The options of every graph, in a box of their own under the graphs.
constexpr OptionBox kViewBoxes[] = {
    {res::kCheckFitToData, "Fit time graphs to the visible data", &DisplayChoices::fitToData},
    {res::kCheckRulers, "Rulers", &DisplayChoices::rulers},
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
  c.graph = s.Show;
  c.spectralLines = s.FftEnvelope == 0;
  c.harmonics = s.ShowHarmonics != 0;
  c.harmonicPeaks = s.ShowHarmonicPeaks != 0;
  c.cleanSpectrum = s.CleanSpectrum != 0;
  c.fitToData = s.FitToData != 0;
  c.rulers = s.Rulers != 0;
  return c;
}

void StoreDisplayChoices(const DisplayChoices& c, DisplayState& s) {
  if (c.graph) s.Show = *c.graph;
  s.FftEnvelope = c.spectralLines ? 0 : 1;
  s.ShowHarmonics = c.harmonics ? 1 : 0;
  s.ShowHarmonicPeaks = c.harmonicPeaks ? 1 : 0;
  s.CleanSpectrum = c.cleanSpectrum ? 1 : 0;
  s.FitToData = c.fitToData ? 1 : 0;
  s.Rulers = c.rulers ? 1 : 0;
}

DisplaySettingsDialog::DisplaySettingsDialog(DisplayState& state,
                                             std::function<void()> clearMarkers,
                                             std::function<void()> rebuild, QWidget* parent)
    : QDialog(parent),
      state_(state),
      clearMarkers_(std::move(clearMarkers)),
      rebuild_(std::move(rebuild)),
      graphs_(new QButtonGroup(this)) {
  SetId(this, res::kDlgDisplaySettings);
  setWindowTitle(QStringLiteral("Display Settings"));
  setModal(true);

  auto* fftGroup = Make<QGroupBox>(res::kIdStatic, "Select FFT graph ", this);
  auto* timeGroup = Make<QGroupBox>(res::kIdStatic, "Select auxiliary graphs to display", this);
  auto* fftLayout = new QVBoxLayout(fftGroup);
  auto* timeLayout = new QVBoxLayout(timeGroup);

  // One exclusive group across both boxes; a button's id is its choice.
  graphs_->setExclusive(true);
  const DisplayChoices initial = ChoicesOf(state);
  for (int i = 0; i < kDisplayChoiceCount; ++i) {
    const bool fft = static_cast<DisplayChoice>(i) == DisplayChoice::ShowFft;
    auto* radio = Make<QRadioButton>(kGraphButtons[i].id, kGraphButtons[i].text,
                                     fft ? fftGroup : timeGroup);
    graphs_->addButton(radio, i);
    radio->setChecked(initial.graph == static_cast<DisplayChoice>(i));
    (fft ? fftLayout : timeLayout)->addWidget(radio);
  }
  // The options of the FFT graph, under its button.
  auto* options = new QVBoxLayout;
  options->setContentsMargins(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 6, 0,
                              0, 0);
  for (size_t i = 0; i < options_.size(); ++i) {
    const OptionBox& o = kOptionBoxes[i];
    options_[i] = Make<QCheckBox>(o.id, o.text, fftGroup);
    options_[i]->setChecked(initial.*o.choice);
    options->addWidget(options_[i]);
  }
  fftLayout->addLayout(options);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fftGroup);
  layout->addWidget(timeGroup);
  auto* viewGroup = Make<QGroupBox>(res::kIdStatic, "Scales", this);
  auto* viewLayout = new QVBoxLayout(viewGroup);
  for (size_t i = 0; i < views_.size(); ++i) {
    const OptionBox& o = kViewBoxes[i];
    views_[i] = Make<QCheckBox>(o.id, o.text, viewGroup);
    views_[i]->setChecked(initial.*o.choice);
    viewLayout->addWidget(views_[i]);
  }
  layout->addWidget(viewGroup);
  AddOkCancelRow(this, layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

DisplayChoices DisplaySettingsDialog::Choices() const {
  DisplayChoices c;
  const int checked = graphs_->checkedId();
  if (checked >= 0) c.graph = static_cast<DisplayChoice>(checked);
  for (size_t i = 0; i < options_.size(); ++i) c.*kOptionBoxes[i].choice = options_[i]->isChecked();
  for (size_t i = 0; i < views_.size(); ++i) c.*kViewBoxes[i].choice = views_[i]->isChecked();
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
