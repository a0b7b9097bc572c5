#pragma once
#include <QTableView>

// The report view of the sound list (`列表框`): reports the row under the mouse, the left button
// and the keys to the window, and leaves press-and-drag to the row exchange instead of
// drag-selecting.
class SoundListView : public QTableView {
  Q_OBJECT
 public:
  explicit SoundListView(QWidget* parent = nullptr);
  // Keys are offered to this handler first; it returns whether the view handles them itself.
  void SetKeyHandler(std::function<bool(int key, int modifiers)> handler);
  // The row under a point of the viewport, -1 over no row.
  int RowAtPoint(const QPoint& viewportPos) const;

 Q_SIGNALS:
  void rowUnderMouse(int row);
  void leftButtonPressed();
  void leftButtonReleased();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<bool(int, int)> keyHandler_;
};
