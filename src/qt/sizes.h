#pragma once

// Sizes shared by the screens of the main window.
namespace tervano::qt::size {

inline constexpr int kWidth = 598;
inline constexpr int kHeight = 543;

// Command panels: a column of buttons opening over the button that opens them.
inline constexpr int kRow = 28;
inline constexpr int kButtonHeight = 26;
constexpr int columnHeight(int rows) {
  return 4 + rows * kRow + 2;
}

// The category row at the bottom of the menu screen, and the editor bar in its place.
inline constexpr int kCategoryTop = 507;
inline constexpr int kCategoryWidth = 144;
inline constexpr int kCategoryHeight = 28;
constexpr int categoryLeft(int i) {
  return 5 + i * (kCategoryWidth + 4);
}

}  // namespace tervano::qt::size
