// The view state of a tree list beyond its top row and horizontal position: the row counts of
// the rows area, the wheel's unused delta and what the list last wrote to its scroll bars.
// Internal to treelist/.
#pragma once

namespace dxtl {

struct TdxScrollState {
    // Rows that fit wholly into the rows area (a full page at the end of the list when the
    // rows run out), and rows at least partly shown; both at least 1.
    int PageRowCount = 1;
    int ShownRowCount = 1;
    // Wheel delta short of a notch, kept for the next wheel message (high-resolution wheels
    // and touchpads send fractions of a notch).
    int WheelRemainder = 0;
    // Whether the list last showed each bar (horizontal, vertical).
    bool BarShown[2] = {false, false};
    // The bars are being written: a size message that showing one sends must not start
    // another write.
    bool UpdatingBars = false;
};

} // namespace dxtl
