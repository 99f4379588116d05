#pragma once
// PlanView: the plan of the current drawing: catchment areas as polygons, sections as lines in their
// colour index (or in the class colour of a chosen result attribute, with a legend), nodes as small
// squares, highlighted and marked entities in their colour. Wheel zooms about the cursor, dragging pans,
// a double click of the middle button shows everything. The editor's requests (redraw, zoom to entities
// with a factor, highlights) are read from the document's EditorState when the event loop runs, so a
// calculation that asks for a redraw per section still repaints once.
//
// Picking: while a pick runs, a click names the entity under the cursor (limited to the pick's
// candidates, if any); OnPicked hears it.
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ResultColours.h"
#include "platform/host/Document.h"

namespace SewerGui {

class PlanView : public QWidget {
public:
    explicit PlanView(QWidget* parent = nullptr);

    // The drawing shown (null: none); shows all of it.
    void SetDocument(TAVHost::Document* doc);
    TAVHost::Document* Document() const { return m_doc; }

    // Colours the sections by a numeric section attribute ("" for their own colours) and recomputes the
    // classes from the values the drawing holds now.
    void ColourBy(const std::string& attribute);
    const std::string& ColouredBy() const { return m_attribute; }
    const Classification& Legend() const { return m_classes; }
    // Recomputes the colouring after the values changed (a command ran).
    void RefreshValues();

    void ZoomExtents();
    // Shows the entities' extent enlarged by factor (at least a few metres across).
    void ZoomTo(const std::vector<TAVHost::ObjectId>& ids, double factor);
    // Applies the editor's requests made since the last look; true when something changed.
    bool Poll();

    // Picking in the plan.
    void BeginPick(std::vector<std::string> candidates);
    void EndPick();
    bool Picking() const { return m_picking; }
    std::function<void(const std::string& name)> OnPicked;
    // Names picked so far (marked while the pick runs).
    std::vector<std::string> picked;

    // The name of the node or section under a point of the widget (within a few pixels), or "".
    std::string EntityAt(QPoint at) const;
    QPointF ToScreen(double x, double y) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void ShowExtent(double x0, double y0, double x1, double y1);
    void DrawLegend(class QPainter& p);
    bool Candidate(const std::string& name) const;

    TAVHost::Document* m_doc = nullptr;
    double m_scale = 1.0;  // pixels per metre
    double m_centreX = 0.0, m_centreY = 0.0;
    std::optional<QPoint> m_dragFrom;
    bool m_dragged = false;
    std::string m_attribute;
    Classification m_classes;
    std::vector<int> m_sectionClass;  // per section index: its class, -1 none
    bool m_picking = false;
    std::vector<std::string> m_candidates;
    // Editor counters already seen.
    long m_redraws = -1, m_updates = -1, m_refreshes = -1, m_zooms = -1;
    std::size_t m_highlights = 0;
};

}  // namespace SewerGui
