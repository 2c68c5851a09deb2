#include "pixmill/SplitterLayout.h"

#include <algorithm>
#include <cstdlib>

namespace slipway::pixmill {

SplitterLayout::SplitterLayout(int storedLeft, int storedRight) {
    if (storedLeft <= 0 || storedLeft >= storedRight || storedRight >= kFractionScale) {
        storedLeft = kDefaultLeftPos;
        storedRight = kDefaultRightPos;
    }
    left_ = static_cast<float>(storedLeft) / kFractionScale;
    right_ = static_cast<float>(storedRight) / kFractionScale;
    storedLeft_ = storedLeft;
    storedRight_ = storedRight;
}

ColumnLayout SplitterLayout::columns(int width) const {
    ColumnLayout layout;
    layout.source = {0, static_cast<int>(width * left_)};
    const int targetWidth = static_cast<int>(width * (1.0f - right_));
    layout.target = {width - targetWidth, targetWidth};
    const int viewerX = layout.source.width + kSplitterGap;
    layout.viewer = {viewerX, std::max(0, layout.target.x - kSplitterGap - viewerX)};
    return layout;
}

int SplitterLayout::position(Splitter splitter, int width) const {
    if (splitter == Splitter::Left)
        return static_cast<int>(width * left_);
    if (splitter == Splitter::Right)
        return static_cast<int>(width * right_);
    return 0;
}

Splitter SplitterLayout::grab(int x, int width) const {
    if (std::abs(x - position(Splitter::Left, width)) < kSplitterGrabRange)
        return Splitter::Left;
    if (std::abs(x - position(Splitter::Right, width)) < kSplitterGrabRange)
        return Splitter::Right;
    return Splitter::None;
}

void SplitterLayout::drag(Splitter splitter, int x, int width) {
    if (width <= 0)
        return;
    const float fraction = static_cast<float>(x) / static_cast<float>(width);
    if (splitter == Splitter::Left) {
        left_ = std::min(fraction, right_ - static_cast<float>(kMinimumMiddle));
        left_ = std::max(left_, static_cast<float>(kMinimumLeft));
        storedLeft_ = static_cast<int>(static_cast<double>(left_) * kFractionScale);
    } else if (splitter == Splitter::Right) {
        right_ = std::max(fraction, left_ + static_cast<float>(kMinimumMiddle));
        right_ = std::min(right_, static_cast<float>(kMaximumRight));
        storedRight_ = static_cast<int>(static_cast<double>(right_) * kFractionScale);
    }
}

}  // namespace slipway::pixmill
