#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <set>
#include <tuple>
#include <vector>

#include "display/axis_panel.h"
#include "ui/widget_id.h"

namespace tz {
namespace {

// The user's click, near the left end: on a box's indicator, inside a button.
void MouseClick(QWidget* w) {
  const QPointF at(8, w->height() / 2);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

QWidget* In(const AxisPanel& p, int id) { return FindById<QWidget>(&p, id); }

// The templates as the system defines them. Kinds: E field, S static,
// B push button, C check box, R radio button, G group box.
struct Control {
  int id;
  char kind;
  const char* text;  // nullptr: any but empty
};
struct PanelCase {
  PanelId panel;
  int templateId;
  QSize size;
  std::vector<Control> controls;
  std::set<int> disabled;  // at creation
  int zoom;                // the one field that takes typing (0: none)
  std::vector<const char*> statics;
};

PanelCase YPanel(PanelId p, int tmpl, int title, int zoom, int set, int on, int val, int max,
                 int min) {
  return {p, tmpl, {162, 155},
          {{title, 'E', ""}, {zoom, 'E', ""}, {set, 'B', "Set"}, {on, 'C', "Y axis Marker On/Off"},
           {val, 'E', ""}, {max, 'E', ""}, {min, 'E', ""}},
          {val}, zoom, {"Y axis", "Zoom=", "Marker val.=", "Maximum=", "Minimum="}};
}

std::vector<PanelCase> Panels() {
  std::vector<Control> fftXFields;
  for (int id : {1474, 1475, 1450, 1452, 1455, 1456, 1451, 1453, 1460, 1461, 1458, 1464, 1465,
                 1467, 4101, 4102, 4103})
    fftXFields.push_back({id, 'E', ""});
  fftXFields.insert(fftXFields.end(), {{1375, 'S', nullptr},
                                       {1454, 'C', "X axis Marker 1 On/Off"},
                                       {1459, 'C', "X axis Marker 2 On/Off"}});
  return {
      YPanel(PanelId::Y1, 144, 1349, 1362, 1432, 1363, 1364, 1365, 1366),
      YPanel(PanelId::Y2, 147, 1401, 1404, 1433, 1406, 1410, 1411, 1412),
      YPanel(PanelId::Y3, 148, 1413, 1416, 1434, 1418, 1422, 1423, 1424),
      {PanelId::X, 149, {162, 185},
       {{1377, 'G', nullptr}, {1435, 'C', "Enable"}, {1428, 'R', "Marker1"},
        {1429, 'R', "Marker2"}, {1430, 'R', "dM1-2"}, {1389, 'E', ""}, {1363, 'E', ""},
        {1364, 'E', ""}, {1366, 'E', ""}, {1390, 'S', "Sec."}, {1368, 'S', "RPM"},
        {1365, 'S', ""}, {1367, 'S', ""}},
       {1428, 1429, 1430, 1389, 1363, 1364, 1366, 1390, 1368, 1365, 1367}, 0,
       {"Time=", "Speed=", "Trq=", "Pow="}},
      {PanelId::FftY, 153, {320, 340},  // the least height the column leaves it in practice
       {{1467, 'E', ""}, {1468, 'E', ""}, {1469, 'B', "Set"}, {1473, 'E', ""}, {1483, 'E', ""},
        {1485, 'E', ""}, {1477, 'E', ""}, {1480, 'E', ""}, {1470, 'C', "Y axis Marker 1 On/Off"},
        {1474, 'C', "Y axis Marker 2 On/Off"}, {1471, 'E', ""}, {1472, 'E', ""},
        {1475, 'E', ""}, {1476, 'E', ""}, {1481, 'E', ""}, {1482, 'E', ""}},
       {1471, 1472, 1475, 1476, 1481, 1482}, 1468,
       {"Zoom=", "Total energy=", "DC value=", "Floor level=", "Even simmetry max. error (Re)=",
        "Odd simmetry max. error (Im)=", "Ampl.=", "Ampl. var.=", "dB"}},
      {PanelId::FftX, 152, {320, 330}, fftXFields,
       {1450, 1452, 1455, 1456, 1451, 1453, 1460, 1461, 1458, 1464, 1465, 1467, 4101, 4102,
        4103}, 0,
       {"Sampling frequency (Hz)= ", "Number of samples= ", "Line=", "Freq.=", "Order=", "Ampl=",
        "Lines=", "Freq.var.=", "Order var.=", "Ampl. var.=", "Hz", "dB"}},
  };
}

bool IsKind(QWidget* w, char k) {
  switch (k) {
    case 'E': return qobject_cast<QLineEdit*>(w);
    case 'S': return qobject_cast<QLabel*>(w);
    case 'B': return qobject_cast<QPushButton*>(w);
    case 'C': return qobject_cast<QCheckBox*>(w);
    case 'R': return qobject_cast<QRadioButton*>(w);
    case 'G': return qobject_cast<QGroupBox*>(w);
  }
  return false;
}

TEST(PanelTemplates, EveryControlWithItsKindTextAndStartingState) {
  for (const PanelCase& c : Panels()) {
    AxisPanel p(c.panel, nullptr);
    EXPECT_EQ(p.objectName(), IdName(c.templateId));
    std::set<QString> expected, found;
    for (const Control& e : c.controls) {
      SCOPED_TRACE(testing::Message() << c.templateId << " id " << e.id);
      expected.insert(IdName(e.id));
      ASSERT_TRUE(In(p, e.id));
      EXPECT_TRUE(IsKind(In(p, e.id), e.kind));
      if (e.text) {
        EXPECT_EQ(p.Text(e.id), e.text);
      } else {
        EXPECT_FALSE(p.Text(e.id).isEmpty());
      }
      EXPECT_EQ(p.IsEnabled(e.id), !c.disabled.count(e.id));
      EXPECT_FALSE(p.IsChecked(e.id));
      const auto* field = qobject_cast<QLineEdit*>(In(p, e.id));
      EXPECT_EQ(field && !field->isReadOnly(), e.id == c.zoom);
    }
    for (QWidget* w : p.findChildren<QWidget*>())
      if (w->objectName().startsWith("id:") && w->objectName() != IdName(-1))
        found.insert(w->objectName());
    EXPECT_EQ(found, expected) << c.templateId;  // nothing missing, nothing extra
    std::set<QString> statics;
    for (QLabel* l : p.findChildren<QLabel*>()) statics.insert(l->text());
    for (const char* s : c.statics) EXPECT_TRUE(statics.count(s)) << c.templateId << " " << s;
  }
}

TEST(PanelTemplates, TitleFonts) {
  for (auto [panel, id, pixels, weight] :
       {std::tuple{PanelId::Y1, 1349, 18, 700}, {PanelId::Y2, 1401, 18, 700},
        {PanelId::Y3, 1413, 18, 700}, {PanelId::FftY, 1467, 18, 700},
        {PanelId::FftX, 1375, 18, 700}, {PanelId::X, 1377, 14, 600}}) {
    AxisPanel p(panel, nullptr);
    EXPECT_EQ(In(p, id)->font().pixelSize(), pixels) << id;
    EXPECT_EQ(In(p, id)->font().weight(), weight) << id;
  }
}

TEST(PanelApply, EachKindOfChangeOnlyWhereItIsAddressed) {
  // 1363 is the Y1 marker switch and the X panel's speed field.
  AxisPanel y1(PanelId::Y1, nullptr), x(PanelId::X, nullptr);
  std::array<AxisPanel*, kPanelCount> panels{};
  panels[static_cast<int>(PanelId::Y1)] = &y1;
  panels[static_cast<int>(PanelId::X)] = &x;
  ApplyOps({{PanelId::X, 1363, ControlOp::SetText, "1500.25"},
            {PanelId::X, 1365, ControlOp::SetText, "25\xb0"},  // 8-bit text, into a static
            {PanelId::Y1, 1363, ControlOp::Check, ""},
            {PanelId::Y1, 1364, ControlOp::Enable, ""},
            {PanelId::Y1, 1366, ControlOp::Disable, ""},
            {PanelId::X, 1428, ControlOp::Check, ""},
            {PanelId::X, 1429, ControlOp::Check, ""},  // clears no other radio button
            {PanelId::FftY, 1471, ControlOp::Enable, ""},  // no FFT Y panel: dropped
            {PanelId::X, 4242, ControlOp::Enable, ""}},    // no such control: ignored
           panels);
  EXPECT_EQ(x.Text(1363), "1500.25");
  EXPECT_EQ(x.Text(1365), QString::fromUtf8("25\u00b0"));
  EXPECT_EQ(y1.Text(1363), "Y axis Marker On/Off");
  EXPECT_TRUE(y1.IsChecked(1363) && y1.IsEnabled(1364) && !y1.IsEnabled(1366));
  EXPECT_TRUE(x.IsChecked(1428) && x.IsChecked(1429));
  EXPECT_EQ(x.Text(4242), "");

  y1.Apply({PanelId::Y1, 1363, ControlOp::Uncheck, ""});
  y1.Apply({PanelId::Y1, 1364, ControlOp::Disable, ""});
  x.Apply({PanelId::Y1, 1389, ControlOp::Enable, ""});  // addressed to Y1
  EXPECT_FALSE(y1.IsChecked(1363) || y1.IsEnabled(1364) || x.IsEnabled(1389));
}

TEST(PanelSignals, SetAndEnterCarryTheZoomText) {
  for (auto [panel, zoom, set] : {std::tuple{PanelId::Y1, 1362, 1432}, {PanelId::Y2, 1404, 1433},
                                  {PanelId::Y3, 1416, 1434}, {PanelId::FftY, 1468, 1469}}) {
    AxisPanel p(panel, nullptr);
    p.show();
    std::vector<std::pair<PanelId, QString>> got;
    QObject::connect(&p, &AxisPanel::SetPressed,
                     [&](PanelId id, const QString& text) { got.emplace_back(id, text); });
    auto* field = static_cast<QLineEdit*>(In(p, zoom));
    field->setText("200");
    MouseClick(In(p, set));
    field->setText("150.5");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    EXPECT_EQ(got, (std::vector<std::pair<PanelId, QString>>{{panel, "200"}, {panel, "150.5"}}));
  }
}

TEST(PanelSignals, SwitchToggledOnUserClicksOnly) {
  AxisPanel y2(PanelId::Y2, nullptr), x(PanelId::X, nullptr), fftX(PanelId::FftX, nullptr);
  std::vector<std::tuple<PanelId, int, bool>> got;
  for (AxisPanel* p : {&y2, &x, &fftX}) {
    p->show();
    QObject::connect(p, &AxisPanel::SwitchToggled,
                     [&](PanelId panel, int id, bool on) { got.emplace_back(panel, id, on); });
  }
  y2.Apply({PanelId::Y2, 1406, ControlOp::Check, ""});
  y2.Apply({PanelId::Y2, 1406, ControlOp::Uncheck, ""});
  x.Apply({PanelId::X, 1429, ControlOp::Check, ""});
  EXPECT_TRUE(got.empty());

  MouseClick(In(y2, 1406));
  MouseClick(In(y2, 1406));
  MouseClick(In(x, 1428));  // still disabled: nothing
  x.Apply({PanelId::X, 1428, ControlOp::Enable, ""});
  MouseClick(In(x, 1428));
  MouseClick(In(x, 1428));  // a checked radio button stays checked
  MouseClick(In(fftX, 1459));
  EXPECT_EQ(got, (std::vector<std::tuple<PanelId, int, bool>>{{PanelId::Y2, 1406, true},
                                                              {PanelId::Y2, 1406, false},
                                                              {PanelId::X, 1428, true},
                                                              {PanelId::X, 1428, true},
                                                              {PanelId::FftX, 1459, true}}));
  EXPECT_TRUE(x.IsChecked(1428) && x.IsChecked(1429));  // the other is left to the rules
}

// A panel at its size with texts as wide as the rules write.
// A narrow panel (beside its column's scroll bar) has narrower fields: they
// hold readings of four integer digits and zooms of three.
void ShowFilled(AxisPanel& p, QSize size, bool narrow = false) {
  p.resize(size);
  for (QLineEdit* e : p.findChildren<QLineEdit*>()) e->setText(narrow ? "-1234.56" : "-12345.678");
  const char* y = "RPMinst";
  for (auto [panel, id, text] : {std::tuple{PanelId::Y1, 1349, y}, {PanelId::Y2, 1401, y},
                                 {PanelId::Y3, 1413, y}, {PanelId::X, 1365, "kgm"},
                                 {PanelId::FftY, 1467, "Y axis: TRQ RAW (Blackman)"},  // widest
                                 {PanelId::FftY, 1473, "123456789.1234"}})
    p.Apply({panel, id, ControlOp::SetText, text});
  for (int id : {1362, 1404, 1416, 1468})
    p.Apply({p.Panel(), id, ControlOp::SetText, narrow ? "250.125" : "1234.567"});
  p.show();
  QApplication::processEvents();
}

// Each panel at the width of its column, and narrower by the column's scroll
// bar, and at the height it asks for: every text has room, every control
// stands whole inside the panel (or its group box), none over another.
TEST(PanelLayout, EveryTextHasRoomAndNoControlsOverlap) {
  const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (const PanelCase& c : Panels()) {
    for (int width : {c.size.width(), c.size.width() - bar}) {
      AxisPanel p(c.panel, nullptr);
      const int height = p.sizeHint().height();
      ShowFilled(p, {width, height}, width < c.size.width());
      ASSERT_EQ(p.size(), QSize(width, height));
      std::vector<std::pair<QWidget*, QRect>> controls;
      for (QWidget* w : p.findChildren<QWidget*>()) {
        const QRect at(w->mapTo(&p, QPoint(0, 0)), w->size());
        const auto* label = qobject_cast<QLabel*>(w);
        const QString text = label ? label->text() : p.Text(w->objectName().mid(3).toInt());
        const QString what = QString::number(c.templateId) + " at " + QString::number(width) +
                             " " + w->objectName() + " " + text;
        EXPECT_TRUE(p.contentsRect().contains(at)) << what.toStdString();
        QSize need = w->sizeHint();  // a push button's is the style's minimum: too wide
        if (qobject_cast<QPushButton*>(w))
          need = {w->fontMetrics().horizontalAdvance(text) + 10,
                  w->fontMetrics().height() + 4};
        if (qobject_cast<QLineEdit*>(w)) {
          // The text and what the field puts round it (its size hint is 17 x wide).
          const int x = w->fontMetrics().horizontalAdvance(QLatin1Char('x'));
          need = {w->fontMetrics().horizontalAdvance(text) + w->sizeHint().width() - 17 * x,
                  w->fontMetrics().height() + 4};
        }
        if (qobject_cast<QGroupBox*>(w)) need = w->minimumSizeHint();
        if (w->metaObject() == &QFrame::staticMetaObject) need = {};  // a rule
        EXPECT_GE(w->width(), need.width()) << what.toStdString();
        EXPECT_GE(w->height(), need.height()) << what.toStdString();
        if (auto* box = qobject_cast<QGroupBox*>(w)) {
          for (QWidget* inside : box->findChildren<QWidget*>())
            EXPECT_TRUE(box->contentsRect().contains(inside->geometry()))
                << what.toStdString() << " " << inside->objectName().toStdString();
        } else {
          controls.emplace_back(w, at);
        }
      }
      EXPECT_GE(controls.size(), c.controls.size());
      for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j)
          EXPECT_FALSE(controls[i].second.intersects(controls[j].second))
              << c.templateId << " at " << width << " "
              << controls[i].first->objectName().toStdString() << " "
              << controls[j].first->objectName().toStdString();
    }
  }
}

// A panel asks for the height its font needs: a larger panel font, a taller
// panel, and no control is squeezed below its own height.
TEST(PanelLayout, HeightFollowsTheFont) {
  for (const PanelCase& c : Panels()) {
    AxisPanel small(c.panel, nullptr), large(c.panel, nullptr);
    QFont f = large.font();
    f.setPixelSize(f.pixelSize() * 2);
    large.setFont(f);
    EXPECT_GT(large.sizeHint().height(), small.sizeHint().height() + 40) << c.templateId;
    small.resize(c.size.width(), small.sizeHint().height());
    small.show();
    QApplication::processEvents();
    for (QLineEdit* e : small.findChildren<QLineEdit*>())
      EXPECT_GE(e->height(), e->minimumSizeHint().height()) << e->objectName().toStdString();
  }
}

}  // namespace
}  // namespace tz
