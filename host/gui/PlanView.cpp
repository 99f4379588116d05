#include "PlanView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ControlBinding.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/host/Editor.h"
#include "platform/network/TopologyStorage.h"

namespace SewerGui {

namespace {

constexpr double kPickPixels = 6.0;
const QColor kBackground(24, 26, 30);

QColor IndexColour(int index, const QColor& byLayer) {
    if (index <= 0 || index >= 256) return byLayer;
    const auto rgb = acedGetRGB(index);
    return QColor(rgb.r, rgb.g, rgb.b);
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + ab * t);
    return std::hypot(d.x(), d.y());
}

std::vector<TAVHost::Point2d> SectionPoints(const TAVGis::Topology::CSection& s) {
    std::vector<TAVHost::Point2d> pts;
    pts.reserve(s.Vertices().size() + 2);
    pts.push_back({s.GetStartingNode()->X(), s.GetStartingNode()->Y()});
    pts.insert(pts.end(), s.Vertices().begin(), s.Vertices().end());
    pts.push_back({s.GetEndingNode()->X(), s.GetEndingNode()->Y()});
    return pts;
}

}  // namespace

PlanView::PlanView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setMinimumSize(320, 240);
    setAutoFillBackground(false);
}

void PlanView::SetDocument(TAVHost::Document* doc) {
    m_doc = doc;
    m_redraws = m_updates = m_refreshes = m_zooms = -1;
    if (m_doc) {
        const auto& ed = m_doc->Editor();
        m_zooms = ed.zoomCount;  // an old zoom request is not repeated
    }
    RefreshValues();
    ZoomExtents();
}

void PlanView::ColourBy(const std::string& attribute) {
    m_attribute = attribute;
    RefreshValues();
}

void PlanView::RefreshValues() {
    m_classes = {};
    m_sectionClass.clear();
    if (m_doc && !m_attribute.empty()) {
        const auto* def = TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(
            TAVGis::Data::kEntitySection, m_attribute);
        if (def) {
            const auto& sections = TAVGis::Topology::TopologyOf(*m_doc).Sections();
            const auto& store = TAVGis::GisData(*m_doc).sectionStore;
            std::vector<std::optional<double>> values;
            values.reserve(sections.size());
            TAVGis::Data::CDataBox box;
            for (const auto& s : sections) {
                store.Get(*def, s->AttributeRow(), box);
                values.push_back(box.IsNotNull() && !box.IsText() ? std::optional<double>(box.ToDouble())
                                                                  : std::nullopt);
            }
            m_classes = Classify(values);
            m_sectionClass.reserve(values.size());
            for (const auto& v : values) m_sectionClass.push_back(m_classes.ClassOf(v));
        }
    }
    update();
}

void PlanView::ShowExtent(double x0, double y0, double x1, double y1) {
    const double w = std::max(x1 - x0, 1.0), h = std::max(y1 - y0, 1.0);
    m_centreX = (x0 + x1) / 2;
    m_centreY = (y0 + y1) / 2;
    m_scale = std::min(std::max(width() - 20, 20) / w, std::max(height() - 20, 20) / h);
    update();
}

void PlanView::ZoomExtents() {
    if (!m_doc) return update();
    auto& topo = TAVGis::Topology::TopologyOf(*m_doc);
    double x0 = std::numeric_limits<double>::max(), y0 = x0, x1 = -x0, y1 = -x0;
    auto add = [&](double x, double y) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    };
    for (const auto& n : topo.Nodes()) add(n->X(), n->Y());
    for (const auto& s : topo.Sections())
        for (const auto& p : s->Vertices()) add(p.x, p.y);
    for (const auto& a : topo.CatchmentAreas())
        for (const auto& p : a->polygon) add(p.x, p.y);
    if (x0 > x1) return update();
    const double margin = std::max(x1 - x0, y1 - y0) * 0.03;
    ShowExtent(x0 - margin, y0 - margin, x1 + margin, y1 + margin);
}

void PlanView::ZoomTo(const std::vector<TAVHost::ObjectId>& ids, double factor) {
    if (!m_doc || ids.empty()) return;
    double x0 = std::numeric_limits<double>::max(), y0 = x0, x1 = -x0, y1 = -x0;
    for (auto id : ids)
        if (const auto* e = m_doc->Db().GetEntity(id))
            for (const auto& p : e->points)
                x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x),
                y1 = std::max(y1, p.y);
    if (x0 > x1) return;
    factor = factor > 0 && std::isfinite(factor) ? factor : 1.0;
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double half = std::max({(x1 - x0) * factor / 2, (y1 - y0) * factor / 2, 5.0});
    ShowExtent(cx - half, cy - half, cx + half, cy + half);
}

bool PlanView::Poll() {
    if (!m_doc) return false;
    const auto& ed = m_doc->Editor();
    bool changed = false;
    if (ed.zoomCount != m_zooms) {
        m_zooms = ed.zoomCount;
        ZoomTo(ed.lastZoomIds, ed.lastZoomFactor);
        changed = true;
    }
    if (ed.redrawCount != m_redraws || ed.updateDisplayCount != m_updates ||
        ed.viewRefreshCount != m_refreshes || ed.highlighted.size() != m_highlights) {
        m_redraws = ed.redrawCount;
        m_updates = ed.updateDisplayCount;
        m_refreshes = ed.viewRefreshCount;
        m_highlights = ed.highlighted.size();
        changed = true;
    }
    if (changed) update();
    return changed;
}

QPointF PlanView::ToScreen(double x, double y) const {
    return QPointF(width() / 2.0 + (x - m_centreX) * m_scale, height() / 2.0 - (y - m_centreY) * m_scale);
}

void PlanView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    if (!m_doc) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    auto& topo = TAVGis::Topology::TopologyOf(*m_doc);
    auto& db = m_doc->Db();
    const auto& highlighted = m_doc->Editor().highlighted;
    const QRectF view = QRectF(rect()).adjusted(-20, -20, 20, 20);

    // Catchment areas beneath everything, tinted by kind.
    for (const auto& a : topo.CatchmentAreas()) {
        if (a->polygon.size() < 3) continue;
        QPolygonF poly;
        for (const auto& pt : a->polygon) poly << ToScreen(pt.x, pt.y);
        if (!poly.boundingRect().adjusted(-1, -1, 1, 1).intersects(view)) continue;
        QColor fill = a->kind == TAVGis::Topology::kCatchmentIndustrial  ? QColor(170, 120, 60)
                      : a->kind == TAVGis::Topology::kCatchmentHousehold ? QColor(90, 140, 90)
                                                                         : QColor(70, 110, 160);
        fill.setAlpha(50);
        p.setPen(QPen(fill.lighter(160), 1));
        p.setBrush(fill);
        p.drawPolygon(poly);
    }
    p.setBrush(Qt::NoBrush);

    const auto& sections = topo.Sections();
    const bool coloured = !m_attribute.empty() && m_sectionClass.size() == sections.size();
    const double width = std::clamp(m_scale * 0.8, 1.5, 4.0);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto& s = *sections[i];
        QPolygonF line;
        for (const auto& pt : SectionPoints(s)) line << ToScreen(pt.x, pt.y);
        // Inflated: the bounds of a straight horizontal or vertical line are empty and intersect nothing.
        if (!line.boundingRect().adjusted(-1, -1, 1, 1).intersects(view)) continue;
        const auto* entity = db.GetEntity(s.GetObjectId());
        QColor colour = IndexColour(entity ? entity->colorIndex : 256, QColor(220, 220, 220));
        if (coloured) {
            const int k = m_sectionClass[i];
            colour = k < 0 ? QColor(110, 110, 110)
                           : QColor(m_classes.classes[static_cast<std::size_t>(k)].colour.r,
                                    m_classes.classes[static_cast<std::size_t>(k)].colour.g,
                                    m_classes.classes[static_cast<std::size_t>(k)].colour.b);
        }
        double w = coloured ? width + 1.0 : width;
        if (auto h = highlighted.find(s.GetObjectId()); h != highlighted.end()) {
            colour = IndexColour(h->second, colour);
            w += 2.5;
        }
        if (m_picking && std::find(picked.begin(), picked.end(), s.GetName()) != picked.end()) {
            colour = QColor(255, 80, 255);
            w += 2.5;
        } else if (m_picking && !m_candidates.empty() && Candidate(s.GetName())) {
            w += 1.5;
            colour = colour.lighter(130);
        }
        p.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(line);
    }

    const double box = std::clamp(m_scale * 1.2, 2.0, 6.0);
    for (const auto& n : topo.Nodes()) {
        const QPointF c = ToScreen(n->X(), n->Y());
        if (!view.contains(c)) continue;
        const auto* entity = db.GetEntity(n->GetObjectId());
        QColor colour = IndexColour(entity ? entity->colorIndex : 256, QColor(235, 235, 235));
        if (auto h = highlighted.find(n->GetObjectId()); h != highlighted.end())
            colour = IndexColour(h->second, colour);
        p.setPen(QPen(colour, 1));
        p.setBrush(kBackground);
        p.drawRect(QRectF(c.x() - box / 2, c.y() - box / 2, box, box));
    }
    p.setBrush(Qt::NoBrush);
    if (!m_attribute.empty()) DrawLegend(p);
}

void PlanView::DrawLegend(QPainter& p) {
    const QFontMetrics fm(font());
    const int line = fm.height() + 2;
    const int rows = static_cast<int>(m_classes.classes.size()) + 2;
    int textWidth = fm.horizontalAdvance(ToQt(m_attribute));
    for (std::size_t i = 0; i < m_classes.classes.size(); ++i)
        textWidth =
            std::max(textWidth, fm.horizontalAdvance(ToQt(m_classes.RangeText(i) + "  (" +
                                                          std::to_string(m_classes.classes[i].count) + ")")));
    textWidth = std::max(textWidth, fm.horizontalAdvance(tr("no value  (%1)").arg(m_classes.missing)));
    const QRect frame(width() - textWidth - 52, 10, textWidth + 42, rows * line + 10);
    p.setPen(QColor(90, 90, 90));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRect(frame);
    p.setPen(Qt::black);
    int y = frame.top() + 5;
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(frame.left() + 8, y, textWidth + 30, line), Qt::AlignVCenter, ToQt(m_attribute));
    p.setFont(font());
    y += line;
    auto row = [&](const QColor& colour, const QString& text) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRect(QRect(frame.left() + 8, y + 3, 22, line - 6));
        p.setPen(Qt::black);
        p.drawText(QRect(frame.left() + 36, y, textWidth + 4, line), Qt::AlignVCenter, text);
        y += line;
    };
    for (std::size_t i = 0; i < m_classes.classes.size(); ++i) {
        const auto& c = m_classes.classes[i];
        row(QColor(c.colour.r, c.colour.g, c.colour.b),
            ToQt(m_classes.RangeText(i) + "  (" + std::to_string(c.count) + ")"));
    }
    row(QColor(110, 110, 110), tr("no value  (%1)").arg(m_classes.missing));
    p.setBrush(Qt::NoBrush);
}

bool PlanView::Candidate(const std::string& name) const {
    return m_candidates.empty() ||
           std::find(m_candidates.begin(), m_candidates.end(), name) != m_candidates.end();
}

std::string PlanView::EntityAt(QPoint at) const {
    if (!m_doc) return {};
    auto& topo = TAVGis::Topology::TopologyOf(*m_doc);
    const QPointF p(at);
    std::string best;
    double bestDistance = kPickPixels;
    for (const auto& n : topo.Nodes()) {
        if (!Candidate(n->GetName())) continue;
        const QPointF d = ToScreen(n->X(), n->Y()) - p;
        const double dist = std::hypot(d.x(), d.y());
        if (dist <= bestDistance) bestDistance = dist, best = n->GetName();
    }
    if (!best.empty()) return best;  // a node wins over the sections that meet at it
    bestDistance = kPickPixels;
    for (const auto& s : topo.Sections()) {
        if (!Candidate(s->GetName())) continue;
        const auto pts = SectionPoints(*s);
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const double dist =
                DistanceToSegment(p, ToScreen(pts[i - 1].x, pts[i - 1].y), ToScreen(pts[i].x, pts[i].y));
            if (dist <= bestDistance) bestDistance = dist, best = s->GetName();
        }
    }
    return best;
}

void PlanView::BeginPick(std::vector<std::string> candidates) {
    m_picking = true;
    m_candidates = std::move(candidates);
    picked.clear();
    setCursor(Qt::CrossCursor);
    update();
}

void PlanView::EndPick() {
    m_picking = false;
    m_candidates.clear();
    picked.clear();
    unsetCursor();
    update();
}

void PlanView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) return;
    const QPointF at = event->position();
    // The point under the cursor stays where it is.
    const double wx = m_centreX + (at.x() - width() / 2.0) / m_scale;
    const double wy = m_centreY - (at.y() - height() / 2.0) / m_scale;
    m_scale = std::clamp(m_scale * std::pow(1.25, steps), 1e-6, 1e6);
    m_centreX = wx - (at.x() - width() / 2.0) / m_scale;
    m_centreY = wy + (at.y() - height() / 2.0) / m_scale;
    update();
}

void PlanView::mousePressEvent(QMouseEvent* event) {
    m_dragFrom = event->pos();
    m_dragged = false;
}

void PlanView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragFrom) return;
    const QPoint d = event->pos() - *m_dragFrom;
    if (!m_dragged && d.manhattanLength() < 4) return;
    m_dragged = true;
    m_centreX -= d.x() / m_scale;
    m_centreY += d.y() / m_scale;
    m_dragFrom = event->pos();
    update();
}

void PlanView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_dragFrom && !m_dragged && event->button() == Qt::LeftButton;
    m_dragFrom.reset();
    if (!click || !m_picking) return;
    const std::string name = EntityAt(event->pos());
    if (name.empty()) return;
    auto it = std::find(picked.begin(), picked.end(), name);
    if (it == picked.end())
        picked.push_back(name);
    else
        picked.erase(it);  // a second click takes it out again
    update();
    if (OnPicked) OnPicked(name);
}

void PlanView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) ZoomExtents();
}

void PlanView::resizeEvent(QResizeEvent*) {
    update();
}

}  // namespace SewerGui
