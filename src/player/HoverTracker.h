#pragma once
#include <functional>

class Player;
struct AppContext;

// The mouse state of the list: hover-play and the drag that exchanges two rows.
class HoverTracker {
 public:
  enum class Cursor { kDefault, kNoTarget, kExchange };

  HoverTracker(AppContext& context, Player& player) : context_(context), player_(player) {}
  // Shows a cursor over the list (set by the window).
  void SetCursorHandler(std::function<void(Cursor)> handler) { setCursor_ = std::move(handler); }

  void OnRowUnderMouse(int row);  // -1 over no row
  void OnLeftButtonDown();
  void OnLeftButtonUp();
  void OnClick();

  int HoverRow() const { return hoverRow_; }
  int DragStartRow() const { return dragStartRow_; }
  int DragEndRow() const { return dragEndRow_; }
  bool LeftButtonDown() const { return leftButtonDown_; }

 private:
  void ShowCursor(Cursor cursor);
  AppContext& context_;
  Player& player_;
  std::function<void(Cursor)> setCursor_;
  Cursor cursor_ = Cursor::kDefault;
  int hoverRow_ = 0;
  int dragStartRow_ = 0;
  int dragEndRow_ = 0;
  bool leftButtonDown_ = false;
};
