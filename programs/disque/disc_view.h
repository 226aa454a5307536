// The disc on screen: the drawing of disc_drawing.h in a widget, and the pointer over it.
//
// The disc fills the widget's square, with room around it for the rim's labels. Moving
// the pointer over the widget reports the disc point under it (r may exceed 1); leaving
// the widget reports nothing; a press of the left button reports the point pressed.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pictures/disc_drawing.h"

namespace kavrel::disque {

class DiscView : public QWidget {
  Q_OBJECT

 public:
  explicit DiscView(QWidget* parent = nullptr);

  // No orientation: the instant is not known (a date field is empty); the widget then
  // says so instead of drawing a grid.
  void setDisc(std::optional<DiscOrientation> disc);
  void setGridStep(GridStep step);
  void setOrientation(DrawingOrientation orientation);
  void setSpots(std::vector<DrawnSpot> spots);
  void setDecimalSeparator(std::string separator);

  // Where the disc lies in the widget now.
  [[nodiscard]] DiscFrame frame() const;

  // The point under the pointer, or nothing when the pointer has left.
  void onPointer(std::function<void(std::optional<DiscPoint>)> handler) { m_onPointer = std::move(handler); }
  void onPress(std::function<void(DiscPoint)> handler) { m_onPress = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  [[nodiscard]] DiscLook look() const;

  std::optional<DiscOrientation> m_disc;
  GridStep m_gridStep{};
  DrawingOrientation m_orientation = DrawingOrientation::EastLeft;
  std::vector<DrawnSpot> m_spots;
  std::string m_separator = ",";
  std::function<void(std::optional<DiscPoint>)> m_onPointer;
  std::function<void(DiscPoint)> m_onPress;
};

}  // namespace kavrel::disque
