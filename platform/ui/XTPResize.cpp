#include "platform/ui/XTPResize.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/AdUiBaseDialog.h"

namespace TAVUi {

void CXTPResize::Init(const CAdUiBaseDialog& dialog) {
    m_controls.clear();
    const DialogTemplate* t = dialog.Template();
    if (!t) return;
    m_initialWidth = m_width = t->width;
    m_initialHeight = m_height = t->height;
    for (const auto& c : t->controls) m_controls[c.id].initial = ControlRect{c.x, c.y, c.width, c.height};
}

bool CXTPResize::SetResize(int id, double left, double top, double right, double bottom) {
    auto it = m_controls.find(id);
    if (it == m_controls.end()) return false;
    it->second.anchor = ResizeAnchor{left, top, right, bottom};
    it->second.anchored = true;
    return true;
}

void CXTPResize::SetMinTrackSize(int width, int height) {
    m_minWidth = std::max(0, width);
    m_minHeight = std::max(0, height);
}

void CXTPResize::Size(int width, int height) {
    m_width = std::max(width, m_minWidth);
    m_height = std::max(height, m_minHeight);
}

ControlRect CXTPResize::RectOf(int id) const {
    auto it = m_controls.find(id);
    if (it == m_controls.end()) return {};
    const Entry& e = it->second;
    if (!e.anchored) return e.initial;
    const double dx = m_width - m_initialWidth, dy = m_height - m_initialHeight;
    const auto move = [](int v, double delta, double fraction) {
        return v + static_cast<int>(std::lround(delta * fraction));
    };
    const int left = move(e.initial.x, dx, e.anchor.left);
    const int top = move(e.initial.y, dy, e.anchor.top);
    const int right = move(e.initial.x + e.initial.width, dx, e.anchor.right);
    const int bottom = move(e.initial.y + e.initial.height, dy, e.anchor.bottom);
    return ControlRect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

}  // namespace TAVUi
