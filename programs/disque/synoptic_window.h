// Disque's synoptic map: "Carte synoptique…" asks for the photographs (the suite's file
// dialog, several at once), then the rotation (the one under way at the first photograph
// proposed) and the step, makes the map with the synoptic engine (disque/synoptic_map.h)
// in a worker thread behind a progress dialog that cancels it, says every photograph it
// left out and why, and shows the map in a window of its own, which saves it as PNG (the
// engine's grey picture) or FITS (its values and Carrington WCS). Every text and figure
// shown is the engine's or disque/synoptic_texts.h's; the window computes nothing.
#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "disque/synoptic_map.h"
#include "programs/disque/synoptic_dialog.h"
#include "ui/desktop.h"
#include "ui/file_dialog.h"
#include "ui/progress_task.h"

class QLabel;
class QPushButton;

namespace kavrel::disque {

inline constexpr char kSynopticImagesTitle[] = "Photographies de la carte synoptique";
inline constexpr char kSynopticSaveTitle[] = "Enregistrer la carte synoptique";
inline constexpr char kSynopticProgress[] = "Carte synoptique de la rotation %1 : photographies placées…";
inline constexpr char kSynopticSaved[] = "Fichier « %1 » enregistré.";
inline constexpr char kSynopticLeftOut[] = "Photographies laissées hors de la carte :";

// The map made, in a window of its own: the picture (scaled to the window), what became of
// the photographs, "&Enregistrer…" and "&Fermer".
class SynopticView : public QWidget {
  Q_OBJECT

 public:
  // The file the map is saved to, from a suggested path; empty when the user gives up. A
  // name ending in .fits, .fit or .fts is written as FITS, any other as PNG.
  using SaveDialog = std::function<QString(const QString& suggested)>;

  SynopticView(QWidget* owner, SynopticMap map, const QString& summary, ui::MessageBox& messages,
               ui::SessionFolder& folder, SaveDialog saveDialog);

  [[nodiscard]] const SynopticMap& map() const { return m_map; }
  [[nodiscard]] QPushButton* saveButton() const { return m_saveButton; }
  [[nodiscard]] QString status() const;
  [[nodiscard]] QString summary() const;
  // False when the user gave up or the file was not written (the reason said).
  bool save();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showPicture();
  // Empty when written, else why not.
  [[nodiscard]] QString writePng(const QString& path) const;
  [[nodiscard]] QString writeFits(const QString& path) const;

  SynopticMap m_map;
  QImage m_picture;  // the engine's grey picture, whole
  ui::MessageBox& m_messages;
  ui::SessionFolder& m_folder;
  SaveDialog m_saveDialog;
  QLabel* m_shown = nullptr;
  QLabel* m_status = nullptr;
  QLabel* m_summary = nullptr;
  QPushButton* m_saveButton = nullptr;
};

// The command: its dialogs (each replaceable, as the tests do) and the map window it opened.
class SynopticCommand {
 public:
  // The photographs, looked for in `folder`; empty when the user gives up.
  using ImagesDialog = std::function<QStringList(const QString& folder)>;
  // The rotation and step, the photographs chosen said and the proposed ones typed.
  using ChoiceDialog =
      std::function<std::optional<SynopticChoice>(const QString& photographs, const SynopticChoice& proposed)>;

  SynopticCommand(QWidget& window, ui::MessageBox& messages, ui::SessionFolder& folder, std::string decimalSeparator);
  ~SynopticCommand();

  void setImagesDialog(ImagesDialog dialog) { m_imagesDialog = std::move(dialog); }
  void setChoiceDialog(ChoiceDialog dialog) { m_choiceDialog = std::move(dialog); }
  void setSaveDialog(SynopticView::SaveDialog dialog) { m_saveDialog = std::move(dialog); }
  // Called with the progress dialog before the work starts.
  void setProgressShown(ui::ProgressShown shown) { m_progressShown = std::move(shown); }

  // "Carte synoptique…".
  void run();
  // The last map's window while it is open.
  [[nodiscard]] SynopticView* view() const { return m_view; }

 private:
  [[nodiscard]] SynopticChoice proposed(const QStringList& paths) const;
  // Nothing when the user cancelled.
  [[nodiscard]] std::optional<SynopticOutcome> make(const SynopticRequest& request, const QStringList& paths);
  // Each photograph left out with its reason, a line each.
  [[nodiscard]] static QString leftOut(const SynopticOutcome& outcome);
  void refuse(const QString& text);

  QWidget& m_window;
  ui::MessageBox& m_messages;
  ui::SessionFolder& m_folder;
  std::string m_separator;
  ImagesDialog m_imagesDialog;
  ChoiceDialog m_choiceDialog;
  SynopticView::SaveDialog m_saveDialog;
  ui::ProgressShown m_progressShown;
  QPointer<SynopticView> m_view;
};

}  // namespace kavrel::disque
