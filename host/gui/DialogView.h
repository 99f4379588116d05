#pragma once
// DialogView: one headless dialog (or tab page) rendered from its template, each control bound to a widget
// at the template's position (dialog units scaled by the font, as a dialog of that template would be
// laid out). When the view is resized it tells the dialog its new size in dialog units and moves every
// widget to the rectangle the dialog then gives its control (a dialog without anchors keeps its template
// layout); the view is never smaller than the dialog's minimum tracking size (or, without one, its
// template). DialogWindow: the modal window a running dialog is shown in; its close box and Escape cancel
// the dialog as its own Cancel would, and it closes when the dialog ends.
#include <QDialog>
#include <QWidget>
#include <exception>
#include <map>
#include <memory>
#include <vector>

#include "ControlBinding.h"

class QCloseEvent;
class QResizeEvent;
class QEventLoop;

namespace SewerGui {

class DialogWindow;

class DialogView : public QWidget {
public:
    // `window` is the window the view is shown in (null for a view on its own, as tests build them);
    // `root` the view of the dialog whose page this one is (null for a dialog's own view).
    DialogView(TAVUi::CAdUiBaseDialog& dialog, DialogWindow* window, DialogView* root = nullptr,
               QWidget* parent = nullptr);
    ~DialogView() override;

    TAVUi::CAdUiBaseDialog& Dialog() const { return m_dialog; }
    DialogWindow* Window() const { return m_window; }
    DialogView& Root() { return m_root ? *m_root : *this; }

    // Brings every widget of this view and of its pages up to the state of its control.
    void SyncAll();
    // A person's action on a control of this view's dialog: notifies the dialog and lets the window react.
    void Act(TAVUi::CControl& control, TAVUi::Notification n);
    // Runs a person's action (anything that may call the dialog's handlers) and then what Act does after.
    void Run(const std::function<void()>& action);

    ControlAdapter* AdapterFor(int controlId) const;
    QWidget* WidgetFor(int controlId) const;
    const std::vector<std::unique_ptr<ControlAdapter>>& Adapters() const { return m_adapters; }
    // The views of the tab pages shown inside this one.
    std::vector<DialogView*> Pages() const;
    void AddPage(DialogView* page) { m_pages.push_back(page); }

    // Pixels per dialog unit.
    double UnitX() const { return m_unitX; }
    double UnitY() const { return m_unitY; }
    QRect Place(int x, int y, int width, int height) const;
    // The reverse of Place for a size: the most dialog units whose extent fits in `pixels`.
    int UnitsAcross(int pixels) const;
    int UnitsDown(int pixels) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Moves every widget to the rectangle the dialog gives its control now.
    void PlaceControls();
    void PlaceWidget(ControlAdapter& adapter, const TAVUi::ControlRect& rect);

    TAVUi::CAdUiBaseDialog& m_dialog;
    DialogWindow* m_window;
    DialogView* m_root;
    double m_unitX = 1.5;
    double m_unitY = 1.75;
    std::vector<std::unique_ptr<ControlAdapter>> m_adapters;
    std::vector<DialogView*> m_pages;
};

class DialogWindow : public QDialog {
public:
    explicit DialogWindow(TAVUi::CAdUiBaseDialog& dialog, QWidget* parent = nullptr);
    ~DialogWindow() override;

    DialogView& View() const { return *m_view; }
    TAVUi::CAdUiBaseDialog& Dialog() const { return m_dialog; }

    // Shows the window and runs it until the dialog ends; rethrows what a handler threw. Returns the
    // dialog's result.
    int Run();
    // After every action: the widgets follow the controls, the title and visibility follow the dialog,
    // and the window closes when the dialog has ended (or a handler failed).
    void AfterAction();
    // What a handler threw: kept, the window closes, and Run rethrows it to the running command.
    void Fail(std::exception_ptr error);

    // Every window running now, outermost first.
    static const std::vector<DialogWindow*>& Running();

    void reject() override;

protected:
    // The close box: the dialog's own Cancel (which may keep it open).
    void closeEvent(QCloseEvent* event) override;

private:
    TAVUi::CAdUiBaseDialog& m_dialog;
    DialogView* m_view;
    std::exception_ptr m_error;
    bool m_closing = false;
    QEventLoop* m_loop = nullptr;
};

}  // namespace SewerGui
