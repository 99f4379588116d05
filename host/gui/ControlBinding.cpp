#include "ControlBinding.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <map>

#include "DialogView.h"

namespace SewerGui {

namespace {

std::map<TAVUi::ControlKind, AdapterFactory>& Registry() {
    static std::map<TAVUi::ControlKind, AdapterFactory> registry;
    return registry;
}

std::vector<std::pair<std::function<bool(const TAVUi::CControl&)>, AdapterFactory>>& BehaviorRegistry() {
    static std::vector<std::pair<std::function<bool(const TAVUi::CControl&)>, AdapterFactory>> registry;
    return registry;
}

QColor ToColor(const TAVUi::Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

// A control of a kind no adapter knows: shown, disabled, so the dialog still opens and the gap is visible.
class UnknownAdapter final : public ControlAdapter {
public:
    UnknownAdapter(DialogView& view, TAVUi::CControl& control, QWidget* parent)
        : ControlAdapter(view, control),
          m_label(new QLabel(QString("[%1]").arg(TAVUi::ControlKindName(control.kind)), parent)) {
        m_label->setEnabled(false);
    }
    QWidget* Widget() const override { return m_label; }
    void Push() override {}

private:
    QLabel* m_label;
};

class KeyFilter final : public QObject {
public:
    KeyFilter(ControlAdapter& adapter, QObject* parent) : QObject(parent), m_adapter(adapter) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && m_adapter.RouteKey(*static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    ControlAdapter& m_adapter;
};

}  // namespace

void RegisterAdapter(TAVUi::ControlKind kind, AdapterFactory factory) {
    Registry()[kind] = std::move(factory);
}

void RegisterAdapter(std::function<bool(const TAVUi::CControl&)> applies, AdapterFactory factory) {
    BehaviorRegistry().emplace_back(std::move(applies), std::move(factory));
}

std::unique_ptr<ControlAdapter> MakeAdapter(DialogView& view, TAVUi::CControl& control, QWidget* parent) {
    for (const auto& [applies, factory] : BehaviorRegistry())
        if (applies(control))
            if (auto adapter = factory(view, control, parent)) return adapter;
    auto it = Registry().find(control.kind);
    if (it != Registry().end())
        if (auto adapter = it->second(view, control, parent)) return adapter;
    return std::make_unique<UnknownAdapter>(view, control, parent);
}

void ControlAdapter::PushCommon() {
    QWidget* w = Widget();
    w->setEnabled(m_control.enabled);
    w->setVisible(m_control.visible);
    w->setToolTip(ToQt(m_control.tooltip));
    QFont f = w->font();
    if (f.bold() != m_control.bold) {
        f.setBold(m_control.bold);
        w->setFont(f);
    }
    if (m_control.textColor || m_control.faceColor) {
        QPalette p = w->palette();
        if (m_control.textColor) {
            p.setColor(QPalette::WindowText, ToColor(*m_control.textColor));
            p.setColor(QPalette::ButtonText, ToColor(*m_control.textColor));
            p.setColor(QPalette::Text, ToColor(*m_control.textColor));
        }
        if (m_control.faceColor) {
            p.setColor(QPalette::Button, ToColor(*m_control.faceColor));
            p.setColor(QPalette::Window, ToColor(*m_control.faceColor));
            w->setAutoFillBackground(true);
        }
        w->setPalette(p);
    }
}

void ControlAdapter::Act(TAVUi::Notification n) {
    m_view.Act(m_control, n);
}

std::string ControlAdapter::KeyName(const QKeyEvent& event) {
    const auto mods = event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const int key = event.key();
    if (mods == Qt::ControlModifier) {
        switch (key) {
            case Qt::Key_A:
                return "ctrl+a";
            case Qt::Key_C:
                return "ctrl+c";
            case Qt::Key_X:
                return "ctrl+x";
            case Qt::Key_V:
                return "ctrl+v";
            case Qt::Key_Insert:
                return "ctrl+insert";
            default:
                return "";
        }
    }
    if (mods == Qt::ShiftModifier) {
        if (key == Qt::Key_Insert) return "shift+insert";
        if (key == Qt::Key_Delete) return "shift+delete";
        return "";
    }
    if (mods == Qt::NoModifier) {
        if (key == Qt::Key_Delete) return "delete";
        if (key == Qt::Key_Backspace) return "backspace";
    }
    return "";
}

bool ControlAdapter::RouteKey(const QKeyEvent& event) {
    const std::string name = KeyName(event);
    if (name.empty()) return false;
    auto& dialog = m_view.Dialog();
    bool handled = false;
    m_view.Run([&] {
        dialog.SetLastKey(name);
        handled = dialog.Notify(m_control.id, TAVUi::Notification::KeyDown);
    });
    return handled;
}

void ControlAdapter::FilterKeys(QWidget* widget) {
    widget->installEventFilter(new KeyFilter(*this, widget));
}

QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int Utf8ToQtPosition(const std::string& text, int bytePos) {
    bytePos = std::clamp(bytePos, 0, static_cast<int>(text.size()));
    return static_cast<int>(QString::fromUtf8(text.data(), bytePos).size());
}

int QtToUtf8Position(const QString& text, int qtPos) {
    qtPos = std::clamp(qtPos, 0, static_cast<int>(text.size()));
    return static_cast<int>(text.left(qtPos).toUtf8().size());
}

}  // namespace SewerGui
