#pragma once
// Where Pixmill keeps its settings between runs (organisation "Zentha", application "Pixmill";
// sections are groups) and the rule for the window rectangle written back.

namespace slipway::pixmill {

inline constexpr const char* kSettingsOrganization = "Zentha";
inline constexpr const char* kSettingsApplication = "Pixmill";

// Section "Interface": the splitters (SplitterLayout.h) and the viewer's background.
inline constexpr const char* kLeftPosKey = "Interface/leftPos";
inline constexpr const char* kRightPosKey = "Interface/rightPos";
inline constexpr const char* kBackgroundKey = "Interface/bkgColor";
// Section "Interface/window": the main window's restored rectangle and show state.
inline constexpr const char* kWindowXKey = "Interface/window/x";
inline constexpr const char* kWindowYKey = "Interface/window/y";
inline constexpr const char* kWindowWidthKey = "Interface/window/w";
inline constexpr const char* kWindowHeightKey = "Interface/window/h";
inline constexpr const char* kWindowShowKey = "Interface/window/showCmd";
// Section "Paths": each pane's folder under its first extension.
inline constexpr const char* kPathsSection = "Paths";

inline constexpr int kDefaultWindowWidth = 660;
inline constexpr int kDefaultWindowHeight = 490;
inline constexpr int kMinimumWindowWidth = 640;
inline constexpr int kMinimumWindowHeight = 480;

// Show states as stored.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowAsIs = 5;  // the default: shown in its current size and place

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// The rectangle to store: a negative left or top becomes 0, and a width or height larger than
// the screen's becomes the screen's, so the window never starts larger than the screen.
inline WindowRect storedWindowRect(WindowRect rect, int screenWidth, int screenHeight) {
    if (rect.x < 0)
        rect.x = 0;
    if (rect.y < 0)
        rect.y = 0;
    if (screenWidth > 0 && rect.width > screenWidth)
        rect.width = screenWidth;
    if (screenHeight > 0 && rect.height > screenHeight)
        rect.height = screenHeight;
    return rect;
}

}  // namespace slipway::pixmill
