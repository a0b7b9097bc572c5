#pragma once
#include <functional>
#include <utility>

class Player;
struct AppContext;

// The mouse state of the list: hover-play and the drag that exchanges two rows.
class HoverTracker {
 public:
  enum class Cursor { kDefault, kNoTarget, kExchange };

  HoverTracker(AppContext& context, Player& player) : context_(context), player_(player) {}
  // Shows a cursor over the list (set by the window).
  void SetCursorHandler(std::function<void(Cursor)> handler) { setCursor_ = std::move(handler); }

  // The row under the pointer after a mouse move, -1 over no row. Hover-play, or during a drag
  // the highlight of the two rows to exchange.
  void OnRowUnderMouse(int row);
  void OnLeftButtonDown();
  void OnLeftButtonUp();  // exchanges the start and end rows of a drag
  void OnClick();  // a press and release without a drag (the view may swallow the release)

  int HoverRow() const { return hoverRow_; }
  int DragStartRow() const { return dragStartRow_; }
  int DragEndRow() const { return dragEndRow_; }
  bool LeftButtonDown() const { return leftButtonDown_; }

 private:
  // Hands a changed cursor to the handler; false when it is already shown.
  bool ShowCursor(Cursor cursor);
  AppContext& context_;
  Player& player_;
  std::function<void(Cursor)> setCursor_;
  Cursor cursor_ = Cursor::kDefault;
  int hoverRow_ = 0;
  int dragStartRow_ = 0;
  int dragEndRow_ = 0;
  bool leftButtonDown_ = false;
};
