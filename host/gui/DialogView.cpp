#include "DialogView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace SewerGui {

DialogView::DialogView(TAVUi::CAdUiBaseDialog& dialog, DialogWindow* window, DialogView* root,
                       QWidget* parent)
    : QWidget(parent), m_dialog(dialog), m_window(window), m_root(root) {
    RegisterStandardAdapters();
    // Dialog units: a quarter of the average width of the alphabet's letters across, an eighth of the line
    // height down.
    const QFontMetrics metrics(font());
    const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    m_unitX = std::max(1.0, metrics.horizontalAdvance(alphabet) / 52.0 / 4.0);
    m_unitY = std::max(1.0, metrics.height() / 8.0);
    if (const auto* t = dialog.Template()) {
        // No smaller than the dialog's minimum tracking size; in a dimension where it has none, than its
        // template.
        const TAVUi::DialogSize min = dialog.MinTrackSize();
        setMinimumSize(
            Place(0, 0, min.width > 0 ? min.width : t->width, min.height > 0 ? min.height : t->height)
                .size());
        resize(Place(0, 0, t->width, t->height).size());
    }
    // Group boxes first, so they lie beneath the controls they frame.
    std::vector<TAVUi::CControl*> controls = dialog.Controls();
    std::stable_partition(controls.begin(), controls.end(),
                          [](const TAVUi::CControl* c) { return c->kind == TAVUi::ControlKind::Group; });
    for (auto* c : controls) m_adapters.push_back(MakeAdapter(*this, *c, this));
    PlaceControls();
    SyncAll();
}

DialogView::~DialogView() = default;

QRect DialogView::Place(int x, int y, int width, int height) const {
    return QRect(static_cast<int>(x * m_unitX), static_cast<int>(y * m_unitY),
                 static_cast<int>(width * m_unitX), static_cast<int>(height * m_unitY));
}

namespace {
// The most dialog units whose extent in pixels, as Place truncates it, fits in `pixels`.
int UnitsIn(int pixels, double unit) {
    int units = std::max(0, static_cast<int>(pixels / unit));
    while (units > 0 && static_cast<int>(units * unit) > pixels) --units;
    while (static_cast<int>((units + 1) * unit) <= pixels) ++units;
    return units;
}
}  // namespace

int DialogView::UnitsAcross(int pixels) const {
    return UnitsIn(pixels, m_unitX);
}

int DialogView::UnitsDown(int pixels) const {
    return UnitsIn(pixels, m_unitY);
}

void DialogView::PlaceWidget(ControlAdapter& adapter, const TAVUi::ControlRect& rect) {
    QWidget* widget = adapter.Widget();
    const TAVUi::CControl& c = adapter.Control();
    QRect place = Place(rect.x, rect.y, rect.width, rect.height);
    // A combo box's height in a template includes its drop-down list; the box is one line.
    if (c.kind == TAVUi::ControlKind::Combo)
        place.setHeight(std::min(place.height(), widget->sizeHint().height()));
    widget->setGeometry(place);
    // A label wraps only where the template gives it room for two lines.
    if (auto* label = qobject_cast<QLabel*>(widget); label && c.kind == TAVUi::ControlKind::Static)
        label->setWordWrap(place.height() >= 2 * QFontMetrics(font()).height());
}

void DialogView::PlaceControls() {
    for (auto& a : m_adapters)
        if (m_dialog.Template() && m_dialog.Template()->FindControl(a->Control().id))
            PlaceWidget(*a, m_dialog.ItemRect(a->Control().id));
}

void DialogView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_dialog.Template()) return;
    try {
        m_dialog.OnSize(UnitsAcross(event->size().width()), UnitsDown(event->size().height()));
    } catch (...) {
        // As a handler that throws: the window closes and the running command gets the error.
        if (!Root().m_window) throw;
        Root().m_window->Fail(std::current_exception());
        return;
    }
    PlaceControls();
}

void DialogView::SyncAll() {
    for (auto& a : m_adapters) {
        const QSignalBlocker block(a->Widget());
        a->Push();
        a->PushCommon();
    }
    for (auto* page : m_pages) page->SyncAll();
}

void DialogView::Run(const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        if (!Root().m_window) throw;
        Root().m_window->Fail(std::current_exception());
        return;
    }
    if (Root().m_window)
        Root().m_window->AfterAction();
    else
        Root().SyncAll();
}

void DialogView::Act(TAVUi::CControl& control, TAVUi::Notification n) {
    Run([&] { m_dialog.Notify(control.id, n); });
}

ControlAdapter* DialogView::AdapterFor(int controlId) const {
    for (const auto& a : m_adapters)
        if (a->Control().id == controlId) return a.get();
    return nullptr;
}

QWidget* DialogView::WidgetFor(int controlId) const {
    auto* a = AdapterFor(controlId);
    return a ? a->Widget() : nullptr;
}

std::vector<DialogView*> DialogView::Pages() const {
    return m_pages;
}

namespace {
std::vector<DialogWindow*> g_running;
}

const std::vector<DialogWindow*>& DialogWindow::Running() {
    return g_running;
}

DialogWindow::DialogWindow(TAVUi::CAdUiBaseDialog& dialog, QWidget* parent)
    : QDialog(parent), m_dialog(dialog) {
    setWindowTitle(ToQt(dialog.GetWindowText()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    m_view = new DialogView(dialog, this, nullptr, this);
    layout->addWidget(m_view);
    // Enter presses the dialog's OK button only where the template has one, as a dialog box does.
    for (const auto& a : m_view->Adapters())
        if (auto* button = qobject_cast<QPushButton*>(a->Widget())) {
            button->setAutoDefault(false);
            button->setDefault(a->Control().id == TAVUi::IDOK);
        }
}

DialogWindow::~DialogWindow() {
    g_running.erase(std::remove(g_running.begin(), g_running.end(), this), g_running.end());
}

int DialogWindow::Run() {
    g_running.push_back(this);
    struct Leave {
        DialogWindow* self;
        ~Leave() {
            self->m_loop = nullptr;
            g_running.erase(std::remove(g_running.begin(), g_running.end(), self), g_running.end());
        }
    } leave{this};
    AfterAction();
    if (!m_dialog.IsEnded() && !m_error) {
        // A loop of its own rather than QDialog::exec(): hiding a dialog ends exec(), and a dialog hides
        // while the person picks in the plan and then goes on.
        QEventLoop loop;
        m_loop = &loop;
        setWindowModality(Qt::ApplicationModal);
        show();
        loop.exec(QEventLoop::DialogExec);
    }
    if (m_error) std::rethrow_exception(m_error);
    return m_dialog.Result();
}

void DialogWindow::AfterAction() {
    m_view->SyncAll();
    setWindowTitle(ToQt(m_dialog.GetWindowText()));
    if ((m_dialog.IsEnded() || m_error) && !m_closing) {
        m_closing = true;
        hide();
        if (m_loop) m_loop->quit();
    }
}

void DialogWindow::Fail(std::exception_ptr error) {
    if (!m_error) m_error = std::move(error);
    AfterAction();
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        reject();
        if (!m_closing) return event->ignore();
    }
    event->accept();
}

void DialogWindow::reject() {
    // The close box and Escape: the dialog's own Cancel, which may keep it open.
    m_view->Run([this] { m_dialog.OnCancel(); });
}

}  // namespace SewerGui
