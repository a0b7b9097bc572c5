#pragma once
#include <QPointer>
#include <QWidget>

struct AppContext;
class Finder;
class QCheckBox;
class QComboBox;

// "查找表项": the find options and the find commands, non-modal, owned by the main window. Every
// change of a control reaches AppContext::find at once, so the main window's find keys use the
// options last set here even after the window is closed.
class FindWindow : public QWidget {
  Q_OBJECT
 public:
  FindWindow(AppContext& context, Finder& finder, QWidget* owner);

  // Shows the open window in front, or opens a new one into slot.
  static void ShowFor(QPointer<FindWindow>& slot, AppContext& context, Finder& finder,
                      QWidget* owner);

 private:
  QCheckBox* AddCheckBox(const QString& name, const QString& caption, bool& field);

  AppContext& context_;
  Finder& finder_;
  QComboBox* 组合框欲查找_;
};
