#pragma once
// The binding of a headless dialog's controls to Qt widgets. Every control of a dialog gets one adapter,
// made by the factory registered for its kind: the adapter owns a widget, shows the control's state in it
// (Push, both at the start and after every action, since the dialog's handlers change controls as plain
// state) and turns what a person does to the widget into the control's new state and a notification of the
// dialog (Act), exactly as the script host does for `set`, `type`, `click`, `choose` and `select`.
//
// A new kind of control is one adapter class and one RegisterAdapter call (see ControlAdapters.cpp; the
// editable list, a behaviour on a list, in EditableListAdapter.cpp).
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/AdUiBaseDialog.h"

class QKeyEvent;

namespace SewerGui {

class DialogView;

class ControlAdapter {
public:
    ControlAdapter(DialogView& view, TAVUi::CControl& control) : m_view(view), m_control(control) {}
    virtual ~ControlAdapter() = default;
    ControlAdapter(const ControlAdapter&) = delete;
    ControlAdapter& operator=(const ControlAdapter&) = delete;

    virtual QWidget* Widget() const = 0;
    // Shows the control's state in the widget without signalling back.
    virtual void Push() = 0;
    // Shows what every control has: enabled, visible, tooltip, bold, text and face colours.
    void PushCommon();

    TAVUi::CControl& Control() const { return m_control; }
    DialogView& View() const { return m_view; }

    // A key combination of the control in the framework's words ("ctrl+c", "delete", ...), or "".
    static std::string KeyName(const QKeyEvent& event);
    // Offers a key combination to the control's behaviour and handlers; true when one of them took it.
    bool RouteKey(const QKeyEvent& event);

protected:
    // Tells the control's dialog what the person did, then brings every widget up to date.
    void Act(TAVUi::Notification n);
    // Lets RouteKey see the widget's key presses (for widgets without their own key handling).
    void FilterKeys(QWidget* widget);

    DialogView& m_view;
    TAVUi::CControl& m_control;
};

using AdapterFactory =
    std::function<std::unique_ptr<ControlAdapter>(DialogView&, TAVUi::CControl&, QWidget*)>;

// Registers the factory of a kind of control (a later registration replaces an earlier one).
void RegisterAdapter(TAVUi::ControlKind kind, AdapterFactory factory);
// Registers the factory for controls that carry a behaviour of their own (an editable list is a list with
// a behaviour): it is asked first, for every control `applies` accepts.
void RegisterAdapter(std::function<bool(const TAVUi::CControl&)> applies, AdapterFactory factory);
// The adapter of a control, from the factory of its kind; a kind without one is shown as a disabled
// placeholder labelled with its kind, so a dialog still opens.
std::unique_ptr<ControlAdapter> MakeAdapter(DialogView& view, TAVUi::CControl& control, QWidget* parent);
// Registers the adapters of every kind the framework has (called once by DialogView).
void RegisterStandardAdapters();
void RegisterEditableListAdapter();

// Texts between the framework (UTF-8, byte positions) and Qt (UTF-16 positions).
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);
int Utf8ToQtPosition(const std::string& text, int bytePos);
int QtToUtf8Position(const QString& text, int qtPos);

}  // namespace SewerGui
