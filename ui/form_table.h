// A window as data: the table of its controls, its client area, title and tab order.
//
// Each window of the suite is declared as one FormTable, written out like the control
// tables of its design: name, kind, caption and place in twips, plus the few
// appearance details that matter (alignment, single-line border, background). The Form
// class builds the Qt widgets from it. Names are the controls' objectNames, spelled
// exactly as the window's code refers to them, accents included ("txtAnnée").
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

#include "ui/twips.h"

namespace kavrel::ui {

enum class Kind {
  Label,          // QLabel, plain text
  TextBox,        // TextField, single line
  CommandButton,  // QPushButton; "&" in the caption marks the access key
  CheckBox,       // QCheckBox; value 0 or 1
  ListBox,        // ListBox, items in the order added
  Frame,          // QGroupBox with the caption as its title; other controls may sit in it
  PictureBox,     // QLabel showing a picture (Form::setPicture)
  Line,           // a straight line, decoration only
  OptionButton,   // QRadioButton; value 0 or 1. Those sitting in one frame (or all in the
                  // window itself) are one group: choosing one clears the others
  Table,          // QTableWidget of read-only rows, chosen whole; `columns` heads it
  ComboBox,       // QComboBox, a choice among `items` (none typed); as wide as the widest
};

enum class Align { Left, Centre };

enum class Background {
  Default,       // the window's own
  Window,        // the system's window (field) background: sets a result apart
  ActiveBorder,  // the system's active-border (button face) colour
};

struct ControlRow {
  QString name{};          // objectName
  Kind kind = Kind::Label;
  QString caption{};       // label caption, button or check box text, frame title,
                           // a text box's initial text
  Twips at{};              // left, top, width, height; for a line: x1, y1, x2 - x1, y2 - y1
  Align align = Align::Left;
  bool border = false;     // single-line (sunken) border
  Background background = Background::Default;
  bool wrap = false;       // a label of several lines: words wrap at its width
  bool middle = false;     // a label centred on its height, as a caption or a unit stands
                           // level with the value of its row
  QString frame{};         // the frame it sits in (declared earlier); `at` is then
                           // relative to the frame's top-left corner
  QString widest{};        // the widest text it must show besides its caption, such as
                           // a result label's longest value; it sizes the window
  int index = -1;          // index within a control array (Line1(0), Line1(1))
  QColor colour{};         // line colour
  int lineWidth = 1;       // line width in pixels (not scaled)
  bool checked = false;    // an option button chosen at opening
  QStringList columns{};   // a table's column headings
  QStringList items{};     // a combo box's choices

  // What a screen reader says for the control. Its name is made of the captions of the
  // labels (or frames) in `namedBy`, in reading order (the caption of its row, then the
  // heading of its column), joined by ", ", followed by the caption of its `unit` label
  // in parentheses: "Date de début, Jour", "Ascension droite (hh,mmss)". A text box or a
  // combo box is also the buddy of each of those labels that has none yet, so that the
  // reader links the two. `accessibleName` is said instead of the captions where the window shows
  // none, or only an abbreviation ("Min").
  QStringList namedBy{};
  QString unit{};
  QString accessibleName{};
};

struct FormTable {
  QString name{};                     // the form's objectName
  QString title{};                    // window title, leading spaces kept
  int clientWidth = 0;                // client area in twips
  int clientHeight = 0;
  std::vector<ControlRow> controls{};  // in creation order: later ones lie on top
  QStringList tabOrder{};             // names in keyboard order; controls that take no
                                      // focus (labels) may be listed and are skipped.
                                      // The first one has the focus when the window opens.
  bool minimiseButton = true;         // a fixed-size window never offers maximise
  // Empty for a window of fixed size. Otherwise the window may be enlarged (and
  // maximised) from its size in the table, and this area (twips) takes the extra width and
  // height: the controls wholly right of it move right, the others wholly below it move
  // down, the rest stay where the table puts them.
  Twips grows{};
  bool dialogFrame = false;           // dialog frame; with an owner, kept off the taskbar
  bool centred = false;               // opens centred on the screen
};

// Where a window's result rows stand (twips) and how they look.
struct ResultColumns {
  int captionLeft = 0;
  int captionWidth = 0;
  int resultLeft = 0;
  int resultWidth = 0;
  int unitLeft = 0;
  int unitWidth = 0;
  int height = 0;
  bool middle = false;  // caption and unit level with the value
  QString widest{};     // the widest text a result shows
};

// One row of results: its caption at left, the result label on the field background and
// the unit where it has one. A screen reader says the caption and the unit in
// parentheses ("Ascension droite (hh,mmss)"), or `accessibleName` where it is given.
struct ResultRow {
  int top = 0;
  QString captionName{};
  QString caption{};
  QString resultName{};
  QString unitName{};
  QString unit{};
  QString accessibleName{};
};

// Appends the labels of `row` to a window's table.
void addResultRow(std::vector<ControlRow>& controls, const ResultColumns& columns, const ResultRow& row);

}  // namespace kavrel::ui
