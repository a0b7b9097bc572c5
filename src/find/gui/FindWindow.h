#pragma once
#include <QWidget>

struct FindParameters;
class Finder;
class QCheckBox;
class QComboBox;

// "查找表项": the find options and the find commands, non-modal, owned by the main window. Every
// change of a control reaches the program's FindParameters at once, so the main window's find keys use the
// options last set here even after the window is closed.
class FindWindow : public QWidget {
  Q_OBJECT
 public:
  FindWindow(Finder& finder, QWidget* owner);


 private:
  QCheckBox* AddCheckBox(const QString& name, const QString& caption, bool& field);

  FindParameters& find_;
  Finder& finder_;
  QComboBox* 组合框欲查找_;
};
