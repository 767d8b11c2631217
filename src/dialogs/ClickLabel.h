#pragma once

#include <QLabel>

// A label that acts like a link: hand cursor, and Clicked on a left click.
class TClickLabel final : public QLabel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TClickLabel)

 public:
  explicit TClickLabel(const QString& text = QString(), QWidget* parent = nullptr);
  // Blue and underlined, as links are drawn.
  void SetLinkLook();

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};
