#pragma once

struct AppContext;
class Player;

// Find in the list by the options and find point of AppContext::find.
class Finder {
 public:
  Finder(AppContext& context, Player& player) : context_(context), player_(player) {}

  // One step downward or upward from the find point, wrapping once; reports " 完全找不到！".
  bool FindStep(bool upward);
  // Selects every matching row; nothing else changes.
  void FindAll();
  // The find point becomes the current row; with report, says "已设置当前位置为查找点！".
  void SetFindPoint(bool report);

 private:
  AppContext& context_;
  Player& player_;
};
