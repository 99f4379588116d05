// The adapters of the framework's kinds of control. Each is small: make the widget, Push the control's
// state into it, and connect the widget's signals to the control's new state and a notification.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

#include "DialogView.h"
#include "ListAdapter.h"
#include "platform/ui/AcUiTabMainDialog.h"

namespace SewerGui {

using TAVUi::CControl;
using TAVUi::ControlKind;
using TAVUi::Notification;

namespace {

// The module names its icons and bitmaps; the ones a person needs to tell buttons apart get a standard
// icon, the others their name as a tooltip.
QIcon IconFor(const std::string& name) {
    auto* style = QApplication::style();
    if (name.empty()) return {};
    if (name.find("OPEN") != std::string::npos) return style->standardIcon(QStyle::SP_DirOpenIcon);
    if (name.find("UNCHECK") != std::string::npos) return style->standardIcon(QStyle::SP_DialogResetButton);
    if (name.find("CHECK") != std::string::npos) return style->standardIcon(QStyle::SP_DialogApplyButton);
    if (name.find("ZOOM") != std::string::npos) return style->standardIcon(QStyle::SP_FileDialogContentsView);
    if (name.find("MARK") != std::string::npos) return style->standardIcon(QStyle::SP_DialogYesButton);
    if (name.find("FLASH") != std::string::npos || name.find("CALC") != std::string::npos)
        return style->standardIcon(QStyle::SP_MediaPlay);
    return style->standardIcon(QStyle::SP_FileIcon);
}

class ButtonAdapter final : public ControlAdapter {
public:
    ButtonAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_button(new QPushButton(parent)) {
        QObject::connect(m_button, &QPushButton::clicked, [this] { Act(Notification::Clicked); });
    }
    QWidget* Widget() const override { return m_button; }
    void Push() override {
        const std::string& icon = m_control.icon.empty() ? m_control.bitmap : m_control.icon;
        m_button->setIcon(IconFor(icon));
        // A button with an icon that is too small for its caption shows the icon, the caption as its tip.
        const QString text = ToQt(m_control.text);
        const bool iconOnly =
            !icon.empty() && m_button->fontMetrics().horizontalAdvance(text) + 28 > m_button->width();
        m_button->setText(iconOnly ? QString() : text);
        if (m_control.tooltip.empty())
            m_button->setToolTip(iconOnly || text.isEmpty() ? (text.isEmpty() ? ToQt(icon) : text)
                                                            : QString());
    }

private:
    QPushButton* m_button;
};

class CheckAdapter final : public ControlAdapter {
public:
    CheckAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_box(new QCheckBox(parent)) {
        // The framework toggles the control on the click; the box then shows what the control holds.
        QObject::connect(m_box, &QCheckBox::clicked, [this] { Act(Notification::Clicked); });
    }
    QWidget* Widget() const override { return m_box; }
    void Push() override {
        m_box->setText(ToQt(m_control.text));
        m_box->setChecked(m_control.checked != 0);
    }

private:
    QCheckBox* m_box;
};

class RadioAdapter final : public ControlAdapter {
public:
    RadioAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_radio(new QRadioButton(parent)) {
        m_radio->setAutoExclusive(false);  // the dialog's groups decide, not the widgets' parents
        QObject::connect(m_radio, &QRadioButton::clicked, [this] { Act(Notification::Clicked); });
    }
    QWidget* Widget() const override { return m_radio; }
    void Push() override {
        m_radio->setText(ToQt(m_control.text));
        m_radio->setChecked(m_control.checked != 0);
    }

private:
    QRadioButton* m_radio;
};

class EditAdapter;

class BoundLineEdit final : public QLineEdit {
public:
    BoundLineEdit(EditAdapter& adapter, QWidget* parent) : QLineEdit(parent), m_adapter(adapter) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    EditAdapter& m_adapter;
};

// An edit: a field with a behaviour (a numeric field) sees every typed character and editing key first and
// applies its rules as the person types; a plain field edits as Qt does and tells the dialog the new text.
class EditAdapter final : public ControlAdapter {
public:
    EditAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_edit(new BoundLineEdit(*this, parent)) {
        QObject::connect(m_edit, &QLineEdit::textEdited, [this](const QString& text) {
            m_control.text = FromQt(text);
            StoreSelection();
            Act(Notification::Changed);
        });
        QObject::connect(m_edit, &QLineEdit::selectionChanged, [this] { StoreSelection(); });
        QObject::connect(m_edit, &QLineEdit::cursorPositionChanged, [this] { StoreSelection(); });
    }
    QWidget* Widget() const override { return m_edit; }
    void Push() override {
        if (FromQt(m_edit->text()) != m_control.text) m_edit->setText(ToQt(m_control.text));
        m_edit->setReadOnly(m_control.readOnly);
        const int start = Utf8ToQtPosition(m_control.text, std::min(m_control.selStart, m_control.selEnd));
        const int end = Utf8ToQtPosition(m_control.text, std::max(m_control.selStart, m_control.selEnd));
        if (start == end)
            m_edit->setCursorPosition(end);
        else
            m_edit->setSelection(start, end - start);
    }

    // The caret and selection of the widget, as byte positions of the control's text.
    void StoreSelection() {
        const QString text = m_edit->text();
        int start = m_edit->cursorPosition(), end = start;
        if (m_edit->hasSelectedText()) {
            start = m_edit->selectionStart();
            end = start + static_cast<int>(m_edit->selectedText().size());
        }
        m_control.selStart = QtToUtf8Position(text, start);
        m_control.selEnd = QtToUtf8Position(text, end);
    }

    bool KeyPress(const QKeyEvent& event) {
        StoreSelection();
        if (RouteKey(event)) return true;
        if (!m_control.behavior) return false;
        const QString typed = event.text();
        if (typed.isEmpty() || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
        for (QChar ch : typed)
            if (ch.unicode() < 0x20 || ch.unicode() == 0x7f)
                return false;  // Enter, Escape, Tab: the window's
        const std::string bytes = FromQt(typed);
        m_view.Run([&] {
            auto& dialog = m_view.Dialog();
            for (char ch : bytes) {
                const std::string before = m_control.text;
                if (!m_control.behavior->OnChar(m_control, ch) && !m_control.readOnly) {
                    const int size = static_cast<int>(m_control.text.size());
                    const int a = std::clamp(std::min(m_control.selStart, m_control.selEnd), 0, size);
                    const int b = std::clamp(std::max(m_control.selStart, m_control.selEnd), a, size);
                    m_control.text.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), 1,
                                           ch);
                    m_control.selStart = m_control.selEnd = a + 1;
                }
                if (m_control.text != before) dialog.Notify(m_control.id, Notification::Changed);
            }
        });
        return true;
    }
    void FocusOut() { Act(Notification::KillFocus); }

private:
    BoundLineEdit* m_edit;
};

void BoundLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!m_adapter.KeyPress(*event)) QLineEdit::keyPressEvent(event);
}

void BoundLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    m_adapter.FocusOut();
}

class StaticAdapter final : public ControlAdapter {
public:
    StaticAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_label(new QLabel(parent)) {
        m_label->setTextFormat(Qt::PlainText);
    }
    QWidget* Widget() const override { return m_label; }
    void Push() override { m_label->setText(ToQt(m_control.text)); }

private:
    QLabel* m_label;
};

class BitmapAdapter final : public ControlAdapter {
public:
    BitmapAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_label(new QLabel(parent)) {}
    QWidget* Widget() const override { return m_label; }
    void Push() override {
        const std::string& name = m_control.bitmap.empty() ? m_control.icon : m_control.bitmap;
        if (name == m_shown) return;
        m_shown = name;
        const QIcon icon = IconFor(name);
        m_label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
    }

private:
    QLabel* m_label;
    std::string m_shown = "-";
};

class GroupAdapter final : public ControlAdapter {
public:
    GroupAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_box(new QGroupBox(parent)) {}
    QWidget* Widget() const override { return m_box; }
    void Push() override { m_box->setTitle(ToQt(m_control.text)); }

private:
    QGroupBox* m_box;
};

class ComboAdapter final : public ControlAdapter {
public:
    ComboAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_combo(new QComboBox(parent)) {
        m_combo->setEditable(control.hasEdit);
        if (control.hasEdit) {
            m_combo->setInsertPolicy(QComboBox::NoInsert);
            QObject::connect(m_combo->lineEdit(), &QLineEdit::textEdited, [this](const QString& text) {
                m_control.text = FromQt(text);
                m_control.selStart = m_control.selEnd = static_cast<int>(m_control.text.size());
                Act(Notification::Changed);
            });
        }
        QObject::connect(m_combo, &QComboBox::activated, [this](int index) {
            m_control.SetCurSel(index);
            Act(Notification::SelChange);
        });
    }
    QWidget* Widget() const override { return m_combo; }
    void Push() override {
        bool same = m_combo->count() == static_cast<int>(m_control.items.size());
        for (int i = 0; same && i < m_combo->count(); ++i)
            same = FromQt(m_combo->itemText(i)) == m_control.items[static_cast<std::size_t>(i)].text;
        if (!same) {
            m_combo->clear();
            for (const auto& item : m_control.items) m_combo->addItem(ToQt(item.text));
        }
        m_combo->setCurrentIndex(m_control.curSel);
        if (m_control.hasEdit && FromQt(m_combo->currentText()) != m_control.text)
            m_combo->setEditText(ToQt(m_control.text));
    }

private:
    QComboBox* m_combo;
};

class TreeAdapter final : public ControlAdapter {
public:
    TreeAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_tree(new QTreeWidget(parent)) {
        m_tree->setHeaderHidden(true);
        FilterKeys(m_tree);
        QObject::connect(m_tree, &QTreeWidget::itemSelectionChanged, [this] {
            const auto items = m_tree->selectedItems();
            m_control.selectedTreeItem = items.isEmpty() ? 0 : items.front()->data(0, Qt::UserRole).toInt();
            Act(Notification::SelChange);
        });
        QObject::connect(m_tree, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* item) {
            if (auto* t = m_control.FindTreeItem(item->data(0, Qt::UserRole).toInt())) t->expanded = true;
        });
        QObject::connect(m_tree, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* item) {
            if (auto* t = m_control.FindTreeItem(item->data(0, Qt::UserRole).toInt())) t->expanded = false;
        });
        QObject::connect(m_tree, &QTreeWidget::itemDoubleClicked, [this] { Act(Notification::DoubleClick); });
    }
    QWidget* Widget() const override { return m_tree; }
    void Push() override {
        std::vector<std::tuple<int, int, std::string>> shape;
        for (const auto& t : m_control.treeItems) shape.emplace_back(t.handle, t.parent, t.text);
        if (shape != m_shape) {
            m_shape = shape;
            m_tree->clear();
            std::map<int, QTreeWidgetItem*> made;
            for (const auto& t : m_control.treeItems) {
                auto parent = made.find(t.parent);
                auto* item =
                    parent == made.end() ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(parent->second);
                item->setText(0, ToQt(t.text));
                item->setData(0, Qt::UserRole, t.handle);
                made[t.handle] = item;
            }
        }
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
            const int handle = (*it)->data(0, Qt::UserRole).toInt();
            if (const auto* t = m_control.FindTreeItem(handle)) (*it)->setExpanded(t->expanded);
            (*it)->setSelected(handle == m_control.selectedTreeItem);
        }
    }

private:
    QTreeWidget* m_tree;
    std::vector<std::tuple<int, int, std::string>> m_shape;
};

// A tab control. In a tab host the pages are the host's child dialogs, each rendered in its own view;
// choosing a tab asks the host (which may refuse). A tab control without pages changes its selection.
class TabAdapter final : public ControlAdapter {
public:
    TabAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_tabs(new QTabWidget(parent)) {
        auto* host = dynamic_cast<TAVUi::CAcUiTabMainDialog*>(&view.Dialog());
        m_tab = host && host->GetAcadTabPointer() && host->GetAcadTabPointer()->ControlId() == control.id
                    ? host->GetAcadTabPointer()
                    : nullptr;
        if (m_tab) {
            for (int i = 0; i < m_tab->GetTabCount(); ++i) {
                auto* page = new DialogView(*m_tab->GetDialogPtr(i), view.Window(), &view.Root(), nullptr);
                view.AddPage(page);
                m_tabs->addTab(page, QString());
            }
        }
        QObject::connect(m_tabs, &QTabWidget::currentChanged, [this, host](int index) {
            if (m_tab)
                m_view.Run([&] { host->ChooseTab(index); });
            else {
                m_control.SetCurSel(index);
                Act(Notification::SelChange);
            }
        });
    }
    QWidget* Widget() const override { return m_tabs; }
    void Push() override {
        if (!m_tab)
            while (m_tabs->count() < static_cast<int>(m_control.items.size()))
                m_tabs->addTab(new QWidget, QString());
        for (int i = 0; i < m_tabs->count(); ++i)
            m_tabs->setTabText(i, i < static_cast<int>(m_control.items.size())
                                      ? ToQt(m_control.items[static_cast<std::size_t>(i)].text)
                                      : QString());
        const int current = m_tab ? m_tab->GetCurSel() : m_control.curSel;
        if (current >= 0 && current < m_tabs->count()) m_tabs->setCurrentIndex(current);
    }

private:
    QTabWidget* m_tabs;
    TAVUi::CAdUiTab* m_tab = nullptr;
};

class PlaceholderAdapter final : public ControlAdapter {
public:
    PlaceholderAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_frame(new QFrame(parent)) {}
    QWidget* Widget() const override { return m_frame; }
    void Push() override {}

private:
    QFrame* m_frame;
};

// A selection button: its behaviour hides the dialog and lets the person pick in the plan view.
class SelectionAdapter final : public ControlAdapter {
public:
    SelectionAdapter(DialogView& view, CControl& control, QWidget* parent)
        : ControlAdapter(view, control), m_button(new QToolButton(parent)) {
        m_button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        m_button->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowUp));
        QObject::connect(m_button, &QToolButton::clicked, [this] { Act(Notification::Clicked); });
    }
    QWidget* Widget() const override { return m_button; }
    void Push() override {
        m_button->setText(ToQt(m_control.text));
        if (m_control.tooltip.empty()) m_button->setToolTip(QObject::tr("Pick in the drawing"));
    }

private:
    QToolButton* m_button;
};

template <class Adapter>
AdapterFactory Factory() {
    return [](DialogView& view, CControl& control, QWidget* parent) {
        return std::make_unique<Adapter>(view, control, parent);
    };
}

}  // namespace

void RegisterStandardAdapters() {
    static const bool registered = [] {
        RegisterAdapter(ControlKind::Button, Factory<ButtonAdapter>());
        RegisterAdapter(ControlKind::Check, Factory<CheckAdapter>());
        RegisterAdapter(ControlKind::Radio, Factory<RadioAdapter>());
        RegisterAdapter(ControlKind::Edit, Factory<EditAdapter>());
        RegisterAdapter(ControlKind::Static, Factory<StaticAdapter>());
        RegisterAdapter(ControlKind::Group, Factory<GroupAdapter>());
        RegisterAdapter(ControlKind::Combo, Factory<ComboAdapter>());
        RegisterAdapter(ControlKind::List, Factory<ListAdapter>());
        RegisterEditableListAdapter();
        RegisterAdapter(ControlKind::Tree, Factory<TreeAdapter>());
        RegisterAdapter(ControlKind::Tab, Factory<TabAdapter>());
        RegisterAdapter(ControlKind::Placeholder, Factory<PlaceholderAdapter>());
        RegisterAdapter(ControlKind::Selection, Factory<SelectionAdapter>());
        RegisterAdapter(ControlKind::Bitmap, Factory<BitmapAdapter>());
        return true;
    }();
    (void)registered;
}

}  // namespace SewerGui
