// The disc window: a date and a time of Universal Time as in the solar-aspect window, the
// rotation number, semi-diameter, P, B0 and L0 at that instant, and the disc drawn for it.
// The pointer over the disc reads theta, r, B, L and DMC; a click adds a spot to the
// table, as does typing its theta and r, or its x and y on a drawing of the given
// diameter. The page (heading, disc at true scale, spots) is printed or saved as PDF or SVG.
// A photograph opened (or dropped on the window) takes the disc's place: its limb found or
// given by three clicks, its orientation typed or taken from a drift, the grid laid over
// it; a click there adds a spot kept as its pixel, whose area can be measured; the image
// with its overlay is saved as PNG with the spots as CSV beside it, or printed. The drawn
// disc's state and texts are its engine's (disc_reduction.h), the photograph's its own
// (photo_reduction.h); the controls both share (the instant's results, the pointer's
// read-out, the spots' table and entry) ask the disc in view (reduction.h). The window
// wires its controls to them and asks before spots not saved would be lost.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/about_launcher.h"
#include "image/grey_image.h"
#include "image/observation_date.h"
#include "photo/image_orientation.h"
#include "disque/disc_reduction.h"
#include "disque/photo_reduction.h"
#include "programs/date_fields.h"
#include "pictures/disc_page.h"
#include "programs/disque/page_printer.h"
#include "ui/desktop.h"
#include "ui/document_printer.h"
#include "ui/file_dialog.h"
#include "ui/form.h"

class QTableWidget;

namespace kavrel::disque {

class DiscView;
class PhotoDisplayControls;
class SynopticCommand;
class PhotoView;

[[nodiscard]] ui::FormTable disqueForm();

// The window's own message; the others come with the spots and the page (disc_spots.h,
// disc_texts.h).
inline constexpr char kSaveTitle[] = "Enregistrer la page";

class Disque : public ui::Form {
  Q_OBJECT

 public:
  // `decimalSeparator` is the user's locale's ("," in French).
  Disque(ui::Desktop desktop, std::string decimalSeparator);
  ~Disque() override;

  // The file "&Enregistrer…" writes, asked with its format from a suggested path; an
  // empty path when the user gives up. Defaults to the file dialog.
  using SaveDialog = std::function<QString(const QString& suggested, PageFormat& format)>;
  void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }

  // The image "&Ouvrir une image…" opens, looked for in `folder`; an empty path when the
  // user gives up. Defaults to the file dialog. Every dialog of the window opens in the
  // folder of the last file chosen in one of them (the home folder at first).
  using ImageDialog = std::function<QString(const QString& folder)>;
  void setImageDialog(ImageDialog dialog) { m_imageDialog = std::move(dialog); }
  // The PNG "&Enregistrer…" writes while a photograph is open (the spots' CSV goes beside
  // it), from a suggested path; empty when the user gives up.
  using PictureSaveDialog = std::function<QString(const QString& suggested)>;
  void setPictureSaveDialog(PictureSaveDialog dialog) { m_pictureSaveDialog = std::move(dialog); }
  // The printer and copies "&Imprimer" sends its page to (the drawn disc's or the
  // photograph's), asked among the print server's printers; nothing when the user gives
  // up. Defaults to the dialog "Imprimer" (ui/print_dialog.h).
  void setPrintDialog(ui::DocumentPrinter::DestinationQuestion dialog) { m_printDialog = std::move(dialog); }

  // What to do with a photograph's spots not saved, before they would be lost (another
  // image, "&Fermer l'image", quitting). Defaults to a modal question.
  enum class UnsavedAnswer { Save, Discard, Cancel };
  using UnsavedQuestion = std::function<UnsavedAnswer(const QString& text)>;
  void setUnsavedQuestion(UnsavedQuestion question) { m_unsavedQuestion = std::move(question); }
  // Whether to keep the circle through the three points just picked (drawn over the
  // image while asked). Defaults to a modal question.
  enum class LimbAnswer { Keep, PickAgain, Cancel };
  using LimbQuestion = std::function<LimbAnswer(const QString& text)>;
  void setLimbQuestion(LimbQuestion question) { m_limbQuestion = std::move(question); }
  // Whether to measure at the date an undated image kept from the previous one (asked
  // once). Defaults to a modal question.
  using CarriedQuestion = std::function<bool(const QString& text)>;
  void setCarriedQuestion(CarriedQuestion question) { m_carriedQuestion = std::move(question); }

  // Opens the image at `path` as "&Ouvrir une image…" does; a refused file is said and
  // leaves the window as it was.
  void openImage(const QString& path);

  // "Carte synoptique…": its dialogs and the map's window.
  [[nodiscard]] SynopticCommand& synoptic() { return *m_synoptic; }

  [[nodiscard]] about::AboutLauncher& about() { return m_about; }
  [[nodiscard]] PhotoView* photoView() const { return m_photo; }
  [[nodiscard]] const PhotoReduction& photograph() const { return m_engine; }
  [[nodiscard]] DiscView* discView() const { return m_view; }
  [[nodiscard]] QTableWidget* spotTable() const { return m_table; }
  [[nodiscard]] const std::vector<DrawnSpot>& spots() const { return m_drawn.spots(); }
  // The page as it would be printed now; nothing while the instant or the options are
  // refused (the reason in `error`).
  [[nodiscard]] std::optional<PageContent> pageContent(QString* error = nullptr) const;
  [[nodiscard]] std::optional<PageOptions> pageOptions(QString* error = nullptr) const;

 protected:
  // Delete in the spots' table removes the chosen spots.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A file dropped on the window is opened as an image.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Quitting with a photograph's spots not saved asks first.
  void closeEvent(QCloseEvent* event) override;
  // The photograph's status and help share their stretch of the column anew.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Form_Load();
  void optPas_Click();
  void optEst_Click();
  void picDisque_MouseMove(std::optional<DiscPoint> point);
  void picDisque_MouseDown(DiscPoint point);
  void cmdAjouter_Click();
  void cmdAjouterXY_Click();
  void cmdSupprimer_Click();
  void cmdImprimer_Click();
  void cmdEnregistrer_Click();
  void Command1_Click();
  void cmdMenu_Click();
  void Calcul();
  void cmdOuvrir_Click();
  void cmdFermer_Click();
  void cmdDerive_Click();
  void cmdBord_Click();
  void chkEnTete_Click();
  void cmdMesurer_Click();
  void picPhoto_MouseMove(std::optional<photo::PixelPoint> pixel);
  void picPhoto_Click(photo::PixelPoint pixel);

  void nameForAccessibility();
  // The disc in view: the engine the shared controls ask, and what "&Imprimer" and
  // "&Enregistrer…" make of it.
  void showDrawnDisc();
  void showPhotograph();
  void showInstant();
  // The table, both drawings and the pointer's read-out, after spots or the instant changed.
  void showSpots();
  void showTable();
  void showPointer();
  void showRemovable();
  void refuse(const QString& text);
  // A refusal with its reason said, then the spots shown as they now stand.
  void say(const Outcome& outcome);
  [[nodiscard]] GridStep gridStep() const;
  [[nodiscard]] DrawingOrientation orientation() const;
  // The drawing as its fields stand, refused or not.
  [[nodiscard]] DrawingFields drawingFields() const;
  [[nodiscard]] QString pageName() const;
  void printDrawing();
  // False when the user gave up or the page was refused or not written.
  bool saveDrawing();

  // The photograph's part.
  void connectPhotograph();
  void fillObservedDate(const image::ObservationDate& observed);
  void showOrientation();  // the engine's, in its fields
  void showPicture();      // its overlay and status
  void showPictureControls();
  void fitPhotoTexts();
  void fitSpotTable();
  void txtOrientation_Change();
  void optNord_Click();
  void txtDecalage_Change();
  [[nodiscard]] photo::UmbraBoundary umbraBoundary() const;
  bool confirmCarriedDate(const Outcome& refused);
  void txtSeuil_Change();
  void picPhoto_Escape();
  void picPhoto_Undo();
  void askLimb();
  // False when the user gave up or the files were not written.
  bool savePicture();
  // Asks what to do with spots not saved; false to leave the photograph as it is.
  [[nodiscard]] bool mayDropPictureSpots();
  // What the saved picture's caption and the printed page's heading say of the photograph.
  [[nodiscard]] QStringList pictureCaptionLines() const;
  [[nodiscard]] QString pictureStatus() const;
  [[nodiscard]] QStringList frameLines() const;
  void printPicture();
  // The hooks of both printers: the print dialog asked, the PDF offered in the last folder.
  [[nodiscard]] ui::DocumentPrinter::Hooks printerHooks();
  // The status line says the job the server took.
  void sayPrinted(const std::optional<ui::DocumentPrinter::Sent>& sent);

  ui::Desktop m_desktop;
  std::string m_separator;
  ui::SessionFolder m_folder;
  DateFields m_fields;
  about::AboutLauncher m_about;
  std::unique_ptr<PagePrinter> m_printer;
  SaveDialog m_saveDialog;
  DiscView* m_view = nullptr;
  QTableWidget* m_table = nullptr;
  // The drawn disc: the typed instant, held once, its spots and its page.
  DiscReduction m_drawn;
  struct Shown {
    Reduction* reduction = nullptr;
    void (Disque::*print)() = nullptr;
    bool (Disque::*save)() = nullptr;
  };
  Shown m_shown;

  ImageDialog m_imageDialog;
  PictureSaveDialog m_pictureSaveDialog;
  UnsavedQuestion m_unsavedQuestion;
  LimbQuestion m_limbQuestion;
  CarriedQuestion m_carriedQuestion;
  ui::DocumentPrinter::DestinationQuestion m_printDialog;
  ui::DocumentPrinter m_documents;
  // The photograph, its samples held once: the view reads them through a pointer.
  PhotoReduction m_engine;
  PhotoView* m_photo = nullptr;
  bool m_showingOrientation = false;
  QString m_saved;                  // the file last saved, said in the status
  std::string m_statusWhenSaved;    // the engine's status then
  std::unique_ptr<PhotoDisplayControls> m_photoDisplay;  // its contrast, grid and zoom
  std::unique_ptr<SynopticCommand> m_synoptic;
};

}  // namespace kavrel::disque
