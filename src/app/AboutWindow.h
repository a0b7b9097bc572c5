#pragma once
#include <QPointer>
#include <QWidget>

class QLabel;

// The borderless About window: name, version and pictures. A click on a picture shows the help
// text; a click elsewhere or Esc closes the window.
class AboutWindow : public QWidget {
  Q_OBJECT
 public:
  explicit AboutWindow(QWidget* owner);
  // Opens the window, or brings the open one to the front.
  static void ShowFor(QPointer<AboutWindow>& slot, QWidget* owner);
  static QString HelpText();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* picture_ = nullptr;
};
