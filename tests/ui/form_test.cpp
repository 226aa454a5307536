// Windows built from their tables of controls: twips to pixels, the scale that makes
// every text fit, names, frames, tab order, access keys, the window's frame and its
// loading and unloading.
#include <QtTest>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <memory>

#include "ui/application_style.h"
#include "ui/form.h"

using namespace kavrel::ui;

namespace {

// A form holding one control, with room around it.
FormTable oneControl(const ControlRow& control) {
  FormTable form;
  form.name = "essai";
  form.title = "essai";
  form.clientWidth = control.at.left + control.at.width + 240;
  form.clientHeight = control.at.top + control.at.height + 240;
  form.controls = {control};
  return form;
}

// The Julian-day window's date row, declared out of keyboard order on purpose.
FormTable dateWindow() {
  FormTable form;
  form.name = "Farrowel";
  form.title = " Calcul du jour julien";
  form.clientWidth = 3384;
  form.clientHeight = 2472;
  form.controls = {
      {.name = "cmdMenu", .kind = Kind::CommandButton, .caption = "&Quitter", .at = {1680, 1920, 1455, 375}},
      {.name = "Label3", .kind = Kind::Label, .caption = "Année", .at = {1200, 240, 492, 252}, .align = Align::Centre},
      {.name = "txtMinute", .kind = Kind::TextBox, .at = {2760, 480, 375, 285}},
      {.name = "txtAnnée", .kind = Kind::TextBox, .at = {1200, 480, 495, 285}},
      {.name = "txtJour", .kind = Kind::TextBox, .at = {240, 480, 375, 285}},
      {.name = "chkZero", .kind = Kind::CheckBox, .caption = "Ramener à 0 heure", .at = {240, 960, 1815, 255}},
      {.name = "txtHeure", .kind = Kind::TextBox, .at = {2040, 480, 375, 285}},
      {.name = "txtMois", .kind = Kind::TextBox, .at = {720, 480, 375, 285}},
      {.name = "lblDéc", .kind = Kind::Label, .at = {1920, 1320, 1212, 288}, .align = Align::Centre,
       .border = true, .background = Background::Window, .widest = "2451545,000"},
      {.name = "Command1", .kind = Kind::CommandButton, .caption = "&A propos", .at = {120, 1920, 1455, 375}},
  };
  form.tabOrder = {"txtJour", "txtMois", "Label3", "txtAnnée", "txtHeure", "txtMinute", "chkZero", "cmdMenu",
                   "Command1"};
  form.minimiseButton = false;
  form.centred = true;
  return form;
}

bool dejaVuAt96() {
  QApplication::setFont(QFont("DejaVu Sans", 9));
  return QFontInfo(QApplication::font()).family() == "DejaVu Sans" &&
         QGuiApplication::primaryScreen()->logicalDotsPerInchX() == 96;
}

// Whether the widget shows `text` whole, by the widget's own measure of where it draws.
bool showsWhole(QWidget* widget, const QString& text) {
  const QFontMetrics metrics = widget->fontMetrics();
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
    if (label->wordWrap()) return label->heightForWidth(label->width()) <= label->height();
    const QSize hint = label->sizeHint();
    return hint.width() <= label->width() && hint.height() <= label->height();
  }
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return metrics.boundingRect(contents, Qt::TextShowMnemonic, button->text()).width() <= contents.width() &&
           metrics.height() <= contents.height();
  }
  if (auto* box = qobject_cast<QCheckBox*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    return metrics.horizontalAdvance(box->text()) <= contents.width();
  }
  if (auto* option = qobject_cast<QRadioButton*>(widget)) {
    QStyleOptionButton style;
    style.initFrom(option);
    style.text = option->text();
    const QRect contents = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
    return metrics.boundingRect(contents, Qt::TextShowMnemonic, option->text()).width() <= contents.width();
  }
  if (auto* field = qobject_cast<QLineEdit*>(widget)) {
    field->setText(text);
    // QLineEdit draws its text 2 pixels in from each side and 1 from top and bottom,
    // inside its frame.
    const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QRect inside = field->rect().adjusted(frame + 2, frame + 1, -frame - 2, -frame - 1);
    return metrics.horizontalAdvance(text) < inside.width() && metrics.height() <= inside.height();
  }
  return false;
}

}  // namespace

class FormTest : public QObject {
  Q_OBJECT

 private slots:
  void twipsToPixels_data();
  void twipsToPixels();
  void julianDayFitsItsResultLabel();
  void everyTextFits_data();
  void everyTextFits();
  void accentedNamesAreFound_data();
  void accentedNamesAreFound();
  void controlsInAFrameArePlacedInIt();
  void tabOrderFollowsTheTable();
  void optionButtonsChooseOnePerFrame();
  void tableIsReadOnlyAndNamed();
  void comboBoxShowsItsWidestChoiceAndIsNamed();
  void accessKeysPressTheirButtons_data();
  void accessKeysPressTheirButtons();
  void windowFrame();
  void loadRunsOnceBeforeShowing();
  void unloadDeletesTheWindow();
  void framesLookAsFusionDrawsThem_data();
  void framesLookAsFusionDrawsThem();
};

void FormTest::twipsToPixels_data() {
  QTest::addColumn<int>("twips");
  QTest::addColumn<double>("dpi");
  QTest::addColumn<double>("scale");
  QTest::addColumn<int>("pixels");

  QTest::newRow("an inch at 96 dpi") << 1440 << 96.0 << 1.0 << 96;
  QTest::newRow("15 twips are one pixel at 96 dpi") << 15 << 96.0 << 1.0 << 1;
  QTest::newRow("result label width at 96 dpi") << 1212 << 96.0 << 1.0 << 81;
  QTest::newRow("an inch at 120 dpi") << 1440 << 120.0 << 1.0 << 120;
  QTest::newRow("an inch scaled by 1.5") << 1440 << 96.0 << 1.5 << 144;
  QTest::newRow("half a pixel rounds up") << 1212 << 96.0 << 1.1 << 89;  // 88.88
}

void FormTest::twipsToPixels() {
  QFETCH(int, twips);
  QFETCH(double, dpi);
  QFETCH(double, scale);
  QFETCH(int, pixels);
  QCOMPARE(kavrel::ui::twipsToPixels(twips, dpi, scale), pixels);
}

void FormTest::julianDayFitsItsResultLabel() {
  if (!dejaVuAt96()) QSKIP("needs DejaVu Sans at 96 dpi");
  const QString julianDay = "2451545,000";
  const QFontMetrics metrics(QApplication::font());
  // The premise: the text is exactly as wide as the label, so its frame would clip it.
  QCOMPARE(metrics.horizontalAdvance(julianDay), 80);
  QVERIFY(kavrel::ui::twipsToPixels(1212, 96) < metrics.horizontalAdvance(julianDay) + 2);

  Form form(oneControl({.name = "lblJourJulien", .kind = Kind::Label, .at = {1920, 1320, 1212, 288},
                        .align = Align::Centre, .border = true, .widest = julianDay}));
  QVERIFY(form.scale() > 1.0);
  QLabel* label = form.label("lblJourJulien");
  QVERIFY(label->contentsRect().width() >= metrics.horizontalAdvance(julianDay));
  QVERIFY(showsWhole(label, julianDay));
}

void FormTest::everyTextFits_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("widest");
  QTest::addColumn<bool>("border");
  QTest::addColumn<bool>("wrap");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("height");
  QTest::addColumn<bool>("scaled");  // whether this control alone needs a scale above 1

  const int label = int(Kind::Label), button = int(Kind::CommandButton), check = int(Kind::CheckBox),
            field = int(Kind::TextBox), option = int(Kind::OptionButton);
  QTest::newRow("short heading in room to spare") << label << "Jour" << "" << false << false << 600 << 252 << false;
  QTest::newRow("wide label never shrinks the window") << label << "Min" << "" << false << false << 5000 << 2000 << false;
  QTest::newRow("caption wider than its label")
      << label << "Numéro de jour julien" << "" << false << false << 1572 << 288 << true;
  QTest::newRow("bordered result label") << label << "" << "2451545,000" << true << false << 1212 << 288 << true;
  QTest::newRow("date line in its frame")
      << label << "" << "Le 01,500  septembre  -4712" << false << false << 2295 << 285 << true;
  QTest::newRow("narrow button") << button << "&Imprimer" << "" << false << false << 600 << 375 << true;
  QTest::newRow("check box") << check << "Ramener à 0 heure" << "" << false << false << 1815 << 255 << true;
  QTest::newRow("option button") << option << "Est à &gauche (vue directe, photographie)" << "" << false << false
                                 << 1815 << 255 << true;
  QTest::newRow("day field") << field << "" << "31" << false << false << 375 << 285 << false;
  QTest::newRow("year field") << field << "" << "-4712" << false << false << 495 << 285 << true;
  QTest::newRow("long description, wrapped")
      << label
      << "Application destinée à calculer les éléments caractéristiques à l'aspect du Soleil. Elle est un "
         "des éléments qui composent le logiciel Kavrel destiné à réduire les observations solaires."
      << "" << false << true << 4332 << 732 << true;
}

void FormTest::everyTextFits() {
  QFETCH(int, kind);
  QFETCH(QString, caption);
  QFETCH(QString, widest);
  QFETCH(bool, border);
  QFETCH(bool, wrap);
  QFETCH(int, width);
  QFETCH(int, height);
  QFETCH(bool, scaled);
  if (!dejaVuAt96()) QSKIP("needs DejaVu Sans at 96 dpi");

  Form form(oneControl({.name = "control", .kind = Kind(kind), .caption = caption, .at = {120, 120, width, height},
                        .border = border, .wrap = wrap, .widest = widest}));
  QCOMPARE(form.scale() > 1.0, scaled);
  QVERIFY(form.scale() >= 1.0);
  QWidget* widget = form.control("control");
  QVERIFY2(showsWhole(widget, caption), qPrintable(caption));
  if (!widest.isEmpty()) QVERIFY2(showsWhole(widget, widest), qPrintable(widest));

  // No more than needed: the same control drawn 5 % smaller than the scale made it
  // would not hold its text.
  if (scaled) {
    const double smaller = form.scale() * 0.95;
    Form tighter(oneControl({.name = "control", .kind = Kind(kind), .caption = caption,
                             .at = {120, 120, int(width * smaller), int(height * smaller)},
                             .border = border, .wrap = wrap, .widest = widest}));
    QVERIFY(tighter.scale() > 1.0);
  }
}

void FormTest::accentedNamesAreFound_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("found");
  QTest::newRow("year field") << "txtAnnée" << true;
  QTest::newRow("declination label") << "lblDéc" << true;
  QTest::newRow("accent dropped") << "txtAnnee" << false;
  QTest::newRow("accent decomposed") << QString::fromUtf8("txtAnne\u0301e") << false;
}

void FormTest::accentedNamesAreFound() {
  QFETCH(QString, name);
  QFETCH(bool, found);
  Form form(dateWindow());
  QCOMPARE(form.findChild<QWidget*>(name) != nullptr, found);
}

void FormTest::controlsInAFrameArePlacedInIt() {
  FormTable table;
  table.name = "invFarrowel";
  table.clientWidth = 4608;
  table.clientHeight = 2580;
  table.controls = {
      {.name = "Frame1", .kind = Kind::Frame, .caption = "Jour julien", .at = {600, 120, 3255, 735}},
      {.name = "txtJourJulien", .kind = Kind::TextBox, .at = {1560, 360, 1575, 285}, .frame = "Frame1"},
      {.name = "Frame2", .kind = Kind::Frame, .caption = "Date", .at = {600, 1080, 3255, 735}},
      {.name = "lblDate", .kind = Kind::Label, .at = {840, 360, 2295, 285}, .background = Background::ActiveBorder,
       .frame = "Frame2"},
  };
  Form form(table);
  QCOMPARE(form.textBox("txtJourJulien")->parentWidget(), form.frame("Frame1"));
  QCOMPARE(form.label("lblDate")->parentWidget(), form.frame("Frame2"));
  QCOMPARE(form.textBox("txtJourJulien")->geometry(), form.toPixels({1560, 360, 1575, 285}));
  QCOMPARE(form.label("lblDate")->mapTo(&form, QPoint(0, 0)), form.toPixels({600 + 840, 1080 + 360, 0, 0}).topLeft());
  QVERIFY(form.label("lblDate")->autoFillBackground());
}

void FormTest::tabOrderFollowsTheTable() {
  auto* form = new Form(dateWindow());
  QPointer<Form> guard(form);
  form->show();
  QVERIFY(QTest::qWaitForWindowActive(form));

  const QStringList expected{"txtJour", "txtMois", "txtAnnée", "txtHeure", "txtMinute", "chkZero", "cmdMenu",
                             "Command1", "txtJour"};
  QStringList visited{QApplication::focusWidget()->objectName()};
  for (int i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(visited, expected);
  delete guard;
}

void FormTest::optionButtonsChooseOnePerFrame() {
  FormTable table = oneControl({.name = "fraPas", .kind = Kind::Frame, .caption = "Pas", .at = {120, 120, 3000, 600}});
  table.controls.push_back({.name = "optPas5", .kind = Kind::OptionButton, .caption = "&5°",
                            .at = {240, 270, 900, 255}, .frame = "fraPas"});
  table.controls.push_back({.name = "optPas10", .kind = Kind::OptionButton, .caption = "1&0°",
                            .at = {1200, 270, 900, 255}, .frame = "fraPas", .checked = true});
  table.controls.push_back({.name = "optSeule", .kind = Kind::OptionButton, .caption = "Seule",
                            .at = {120, 900, 900, 255}, .checked = true});
  table.clientHeight += 900;
  Form form(table);
  QCOMPARE((QList<int>{form.value("optPas5"), form.value("optPas10"), form.value("optSeule")}), (QList<int>{0, 1, 1}));
  int clicks = 0;
  form.onClick("optPas5", [&] { ++clicks; });
  form.findChild<QRadioButton*>("optPas5")->click();
  QCOMPARE(clicks, 1);
  // The choice in the frame leaves the button outside it as it was.
  QCOMPARE((QList<int>{form.value("optPas5"), form.value("optPas10"), form.value("optSeule")}), (QList<int>{1, 0, 1}));
}

void FormTest::tableIsReadOnlyAndNamed() {
  Form form(oneControl({.name = "grdTaches", .kind = Kind::Table, .at = {120, 120, 3000, 1500},
                        .columns = {"N°", "θ (°)"}, .accessibleName = "Taches"}));
  QTableWidget* grid = form.table("grdTaches");
  QCOMPARE(grid->columnCount(), 2);
  QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("θ (°)"));
  QCOMPARE(grid->rowCount(), 0);
  QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(QAccessible::queryAccessibleInterface(grid)->text(QAccessible::Name), QString("Taches"));
}

// A combo box too narrow in the table for "septembre" widens the window, and its caption
// labels it and takes it as buddy, so that the caption's access key reaches it.
void FormTest::comboBoxShowsItsWidestChoiceAndIsNamed() {
  FormTable table = oneControl({.name = "cboMois", .kind = Kind::ComboBox, .at = {1200, 120, 600, 285},
                                .items = {"mai", "septembre"}, .namedBy = {"lblMois"}});
  table.controls.insert(table.controls.begin(), {.name = "lblMois", .caption = "&Mois", .at = {120, 120, 960, 285}});
  Form form(table);
  QComboBox* combo = form.comboBox("cboMois");
  QVERIFY(form.scale() > 1.0);
  QStyleOptionComboBox option;
  option.initFrom(combo);
  const QRect shown = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
  QVERIFY2(combo->fontMetrics().horizontalAdvance("septembre") <= shown.width(), qPrintable(QString::number(shown.width())));
  QCOMPARE(form.label("lblMois")->buddy(), combo);
  // The name a reader says is the caption it is labelled by (the combo's own is its choice).
  QCOMPARE(QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label).size(), 1);
  QCOMPARE(form.text("cboMois"), QString("mai"));
}

void FormTest::accessKeysPressTheirButtons_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<QStringList>("pressed");
  QTest::newRow("Alt+Q") << int(Qt::Key_Q) << Qt::KeyboardModifiers(Qt::AltModifier) << QStringList{"cmdMenu"};
  QTest::newRow("Alt+A") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::AltModifier) << QStringList{"Command1"};
  QTest::newRow("Q alone types into the field") << int(Qt::Key_Q) << Qt::KeyboardModifiers() << QStringList{};
}

void FormTest::accessKeysPressTheirButtons() {
  QFETCH(int, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(QStringList, pressed);

  auto* form = new Form(dateWindow());
  QPointer<Form> guard(form);
  QStringList clicks;
  form->onClick("cmdMenu", [&] { clicks << "cmdMenu"; });
  form->onClick("Command1", [&] { clicks << "Command1"; });
  form->show();
  QVERIFY(QTest::qWaitForWindowActive(form));
  QCOMPARE(QApplication::focusWidget(), form->textBox("txtJour"));

  QTest::keyClick(form, Qt::Key(key), modifiers);
  // A button answers its access key with an animated click: pressed at once, released
  // (and clicked) about 100 ms later.
  QTest::qWait(300);
  QCOMPARE(clicks, pressed);
  delete guard;
}

void FormTest::windowFrame() {
  auto* form = new Form(dateWindow());
  QPointer<Form> guard(form);
  QCOMPARE(form->windowTitle(), QString(" Calcul du jour julien"));
  QCOMPARE(form->minimumSize(), form->maximumSize());
  QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
  QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form));
  const QPoint screenCentre = form->screen()->availableGeometry().center();
  QVERIFY(qAbs(form->geometry().center().x() - screenCentre.x()) <= 1);
  QVERIFY(qAbs(form->geometry().center().y() - screenCentre.y()) <= 1);
  delete guard;

  FormTable plain = dateWindow();
  plain.minimiseButton = true;
  Form withMinimise(plain);
  QVERIFY(withMinimise.windowFlags() & Qt::WindowMinimizeButtonHint);
  QVERIFY(!(withMinimise.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void FormTest::loadRunsOnceBeforeShowing() {
  auto* form = new Form(dateWindow());
  QPointer<Form> guard(form);
  QStringList log;
  form->onLoad([&] {
    log << QString("load, visible %1").arg(form->isVisible());
    form->setText("txtJour", "6");
  });
  form->textBox("txtJour")->onChange([&] { log << "txtJour " + form->text("txtJour"); });
  form->show();
  form->hide();
  form->show();
  form->load();
  QCOMPARE(log, (QStringList{"load, visible 0", "txtJour 6"}));
  delete guard;
}

void FormTest::unloadDeletesTheWindow() {
  auto* form = new Form(dateWindow());
  QPointer<Form> guard(form);
  QSignalSpy unloaded(form, &Form::unloaded);
  form->show();
  form->unload();
  QCOMPARE(unloaded.count(), 1);
  QVERIFY(!form->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(guard.isNull());

  // A window never shown is unloaded the same way.
  QPointer<Form> never(new Form(dateWindow()));
  never->unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(never.isNull());
}

// The windows' style draws a frame without Fusion's image reading; it must not show.
void FormTest::framesLookAsFusionDrawsThem_data() {
  QTest::addColumn<QString>("title");
  QTest::addColumn<bool>("checkable");
  QTest::newRow("titled") << "Options" << false;
  QTest::newRow("no title: the frame rises to the top") << "" << false;
  QTest::newRow("check box without title") << "" << true;
}

void FormTest::framesLookAsFusionDrawsThem() {
  QFETCH(QString, title);
  QFETCH(bool, checkable);
  const auto picture = [&](QStyle* style) {
    QGroupBox box(title);
    box.setCheckable(checkable);
    box.setStyle(style);
    box.resize(180, 90);
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    box.render(&image);
    return image;
  };
  std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  ApplicationStyle ours(QStyleFactory::create("Fusion"));
  const QImage expected = picture(fusion.get());
  QCOMPARE(picture(&ours), expected);
  bool framed = false;  // a frame was drawn at all
  for (int x = 0; x < 4; ++x) framed = framed || expected.pixel(x, 60) != qRgb(255, 255, 255);
  QVERIFY(framed);
}

QTEST_MAIN(FormTest)
#include "form_test.moc"
