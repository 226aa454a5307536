// The entries every date window refuses, as one table run against each of them: the
// message over the text as entered, then the field emptied and typing going on in it.
// What the window then shows differs, and each window's test checks that itself.
#pragma once

#include <QTest>

#include "common/field_check.h"
#include "ui/doubles.h"
#include "ui/form.h"
#include "window_test_support.h"

namespace kavrel::testing {

inline const QString kDayRefused = "Le jour doit être compris entre 1 et 31";
inline const QString kMonthRefused = "Le mois doit être compris entre 1 et 12";
inline const QString kHourRefused = "L'heure doit être comprise entre 0 et 23 h";
inline const QString kMinuteRefused = "Les minutes doivent être comprises entre 0 et 59 min";
inline const QString kYearRefused = "Valeur incorrecte";

// The rows for a window whose fields check with `form`; hour and minute rows only where
// it has those fields. With `suffixes` {"", "F"} each row runs on both dates, the first
// and the second. Columns: field, text, message, typed (key by key into the emptied
// field; otherwise pasted over it, where typing would be refused at an earlier key).
inline void dateRefusalRows(CheckForm form, bool withTime, const QStringList& suffixes = {QString()}) {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  QTest::addColumn<bool>("typed");
  const bool exact = form == CheckForm::ExactText;
  const struct {
    const char* field;
    const char* text;
    const QString& message;
    bool typed;
    bool refusedWhenRead;  // also refused where the number reader reads the day, hour, minute
    bool timeField;
  } rows[] = {
      {"txtJour", "32", kDayRefused, true, true, false},
      {"txtJour", "0", kDayRefused, true, true, false},
      {"txtJour", "1.5", kDayRefused, false, true, false},
      {"txtJour", "05", kDayRefused, false, false, false},
      {"txtJour", "07", kDayRefused, false, false, false},
      {"txtJour", "5 ", kDayRefused, false, false, false},
      {"txtMois", "13", kMonthRefused, true, true, false},
      {"txtMois", "0", kMonthRefused, true, true, false},
      {"txtMois", "1.", kMonthRefused, true, true, false},
      {"txtMois", "00", kMonthRefused, false, true, false},
      {"txtHeure", "24", kHourRefused, true, true, true},
      {"txtHeure", "9h", kHourRefused, false, false, true},
      {"txtMinute", "60", kMinuteRefused, true, true, true},
      {"txtAnnée", "0", kYearRefused, true, true, false},
      {"txtAnnée", "1-", kYearRefused, true, true, false},
      {"txtAnnée", "20x", kYearRefused, false, true, false},
      {"txtAnnée", "2001x", kYearRefused, false, true, false},
  };
  for (const auto& row : rows) {
    if (row.timeField && !withTime) continue;
    if (!exact && !row.refusedWhenRead) continue;
    for (const QString& suffix : suffixes) {
      const QString field = QString::fromUtf8(row.field) + suffix;
      QTest::newRow(qPrintable(QStringLiteral("%1 \"%2\"").arg(field, row.text)))
          << field << QString::fromUtf8(row.text) << row.message << row.typed;
    }
  }
}

// Enters the row's text; while the message is shown the refused text is still in the
// field and `behindTheBox` runs. Returns false where a check failed.
inline bool enterRefused(ui::Form& form, ui::RecordingMessageBox& messages,
                         const std::function<void()>& behindTheBox = {}) {
  QFETCH(QString, field);
  QFETCH(QString, text);
  QFETCH(QString, message);
  QFETCH(bool, typed);
  QString textBehindTheBox;
  messages.whileShown = [&](const ui::RecordingMessageBox::Shown&) {
    textBehindTheBox = form.text(field);
    if (behindTheBox) behindTheBox();
  };
  if (typed)
    retype(form, field, text);
  else
    paste(form, field, text);
  messages.whileShown = {};
  [&] {
    QCOMPARE(messages.shown, (std::vector<ui::RecordingMessageBox::Shown>{{message, 48, "Message d'erreur"}}));
    QCOMPARE(textBehindTheBox, text);
    QCOMPARE(form.text(field), QString());
  }();
  return !QTest::currentTestFailed();
}

// Typing goes on in the emptied field.
inline void typingGoesOn(ui::Form& form) {
  QFETCH(QString, field);
  typeInto(form, field, "1");
  QCOMPARE(form.text(field), QString("1"));
}

}  // namespace kavrel::testing
