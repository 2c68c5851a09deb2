#pragma once
// The main view's three columns (source pane, viewer, target pane) and the two splitters
// between them: where each column goes for a client width, which splitter a press grabs, and
// how far a dragged splitter may go.

namespace slipway::pixmill {

inline constexpr int kSplitterGap = 3;        // pixels between two columns; the drag bar's width
inline constexpr int kSplitterGrabRange = 4;  // a press less than this far from a splitter grabs it
inline constexpr double kMinimumLeft = 0.1;   // of the width
inline constexpr double kMaximumRight = 0.9;
inline constexpr double kMinimumMiddle = 0.4;  // between the two splitters
inline constexpr int kFractionScale = 100000;  // stored as trunc(fraction * 100000)
inline constexpr int kDefaultLeftPos = 27000;
inline constexpr int kDefaultRightPos = 73000;

struct ColumnSpan {
    int x = 0;
    int width = 0;
};

struct ColumnLayout {
    ColumnSpan source;
    ColumnSpan viewer;
    ColumnSpan target;
};

enum class Splitter { None, Left, Right };

class SplitterLayout {
  public:
    // From the stored values; a pair that does not describe two splitters left to right
    // (0 < left < right < 1) gives the defaults.
    SplitterLayout(int storedLeft = kDefaultLeftPos, int storedRight = kDefaultRightPos);

    double left() const { return left_; }
    double right() const { return right_; }
    // The values to store: those read, until a splitter is dragged (a float fraction times
    // 100000 may fall a hair short of the value it was read from; storing that would move the
    // splitter a little at every start).
    int storedLeft() const { return storedLeft_; }
    int storedRight() const { return storedRight_; }

    ColumnLayout columns(int width) const;
    // The x of a splitter for a client width: trunc(width * fraction).
    int position(Splitter splitter, int width) const;
    // The splitter a press at x grabs: the left one first, then the right one.
    Splitter grab(int x, int width) const;
    // Moves a dragged splitter to x / width within its limits.
    void drag(Splitter splitter, int x, int width);

  private:
    // Floats, as stored fractions read back the same.
    float left_;
    float right_;
    int storedLeft_;
    int storedRight_;
};

}  // namespace slipway::pixmill
