#pragma once
// CXTPResize: control anchoring for a resizable dialog. Each anchored control keeps its rectangle from the
// template; when the dialog's size changes by (dx, dy) an anchored control's edges move by the anchor
// fractions: left += dx * left fraction, top += dy * top fraction, right += dx * right fraction,
// bottom += dy * bottom fraction. (0, 0, 0, 0) keeps a control where it is, (0, 0, 1, 0) stretches it to the
// right, (1, 0, 1, 0) moves it right, (0, 0, 1, 1) stretches it right and down, (0, 1, 0, 1) moves it down.
// Controls without an anchor keep their place and size.
//
// Sizes are in the template's units (dialog units; a dialog states a minimum given in pixels in those units).
// A size below the minimum tracking size is taken as the minimum: a dialog is never made
// smaller than that, so no control is squeezed to nothing.
#include <map>

#include "platform/ui/AdUiBaseDialog.h"

namespace TAVUi {

struct ResizeAnchor {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// Anchor fractions by name.
inline constexpr ResizeAnchor SZ_TOP_LEFT{0, 0, 0, 0};
inline constexpr ResizeAnchor SZ_TOP_RIGHT{1, 0, 1, 0};
inline constexpr ResizeAnchor SZ_BOTTOM_LEFT{0, 1, 0, 1};
inline constexpr ResizeAnchor SZ_BOTTOM_RIGHT{1, 1, 1, 1};
inline constexpr ResizeAnchor SZ_STRETCH_RIGHT{0, 0, 1, 0};
inline constexpr ResizeAnchor SZ_STRETCH_BOTH{0, 0, 1, 1};

class CXTPResize {
public:
    // Takes the dialog's template size and the template rectangles of its controls as the starting layout.
    void Init(const CAdUiBaseDialog& dialog);
    // Anchors a control (an id the template lacks is ignored: false).
    bool SetResize(int id, double left, double top, double right, double bottom);
    bool SetResize(int id, const ResizeAnchor& a) { return SetResize(id, a.left, a.top, a.right, a.bottom); }
    void SetMinTrackSize(int width, int height);
    // The dialog was resized to width x height (clamped to the minimum tracking size).
    void Size(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int MinWidth() const { return m_minWidth; }
    int MinHeight() const { return m_minHeight; }
    // The control's rectangle at the current size (its template rectangle when it has no anchor; empty for
    // an unknown id).
    ControlRect RectOf(int id) const;

private:
    struct Entry {
        ControlRect initial;
        ResizeAnchor anchor;
        bool anchored = false;
    };
    std::map<int, Entry> m_controls;
    int m_initialWidth = 0, m_initialHeight = 0;
    int m_width = 0, m_height = 0;
    int m_minWidth = 0, m_minHeight = 0;
};

}  // namespace TAVUi
