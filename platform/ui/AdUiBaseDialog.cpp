#include "platform/ui/AdUiBaseDialog.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "platform/host/Document.h"
#include "platform/host/HostUi.h"
#include "platform/host/NumberText.h"

namespace TAVUi {
namespace {
CAdUiBaseDialog* g_modalTop = nullptr;
}

const char* NotificationName(Notification n) {
    switch (n) {
        case Notification::Clicked:
            return "clicked";
        case Notification::Changed:
            return "changed";
        case Notification::SelChange:
            return "selchange";
        case Notification::SelChanging:
            return "selchanging";
        case Notification::ItemChanged:
            return "itemchanged";
        case Notification::KeyDown:
            return "keydown";
        case Notification::DoubleClick:
            return "doubleclick";
        case Notification::KillFocus:
            return "killfocus";
    }
    return "?";
}

CAdUiBaseDialog* CurrentModalDialog() {
    return g_modalTop;
}

CAdUiBaseDialog::CAdUiBaseDialog(int templateId, CAdUiBaseDialog* parent)
    : m_templateId(templateId), m_parent(parent) {}

CAdUiBaseDialog::~CAdUiBaseDialog() = default;

bool CAdUiBaseDialog::CreateControls() {
    m_resource = acDocManagerPtr()->curResourceHandle();
    m_template = FindDialogTemplate(m_resource, m_templateId);
    if (!m_template) return false;
    m_controls.clear();
    for (const auto& t : m_template->controls) m_controls.push_back(std::make_unique<CControl>(t));
    m_title = m_template->caption;
    m_created = true;
    m_ended = false;
    m_result = 0;
    return true;
}

bool CAdUiBaseDialog::Create(CAdUiBaseDialog* parent) {
    if (parent) m_parent = parent;
    if (!CreateControls()) return false;
    OnInitDialog();
    return true;
}

int CAdUiBaseDialog::DoModal() {
    if (!CreateControls()) return -1;
    m_outerModal = g_modalTop;
    if (m_outerModal) m_outerModal->m_nestedModal = this;
    g_modalTop = this;
    struct Restore {
        CAdUiBaseDialog* self;
        ~Restore() {
            g_modalTop = self->m_outerModal;
            if (self->m_outerModal) self->m_outerModal->m_nestedModal = nullptr;
            self->m_outerModal = nullptr;
        }
    } restore{this};
    OnInitDialog();
    if (!m_ended) TAVHost::GetHostUi().RunModal(*this);
    if (!m_ended) EndDialog(IDCANCEL);
    return m_result;
}

bool CAdUiBaseDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CAdUiBaseDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CAdUiBaseDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CAdUiBaseDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx{saveAndValidate, this};
    DoDataExchange(&dx);
    return true;
}

void CAdUiBaseDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

CControl* CAdUiBaseDialog::GetDlgItem(int id) {
    for (auto& c : m_controls)
        if (c->id == id) return c.get();
    return nullptr;
}

const CControl* CAdUiBaseDialog::GetDlgItem(int id) const {
    for (const auto& c : m_controls)
        if (c->id == id) return c.get();
    return nullptr;
}

ControlRect CAdUiBaseDialog::ItemRect(int id) const {
    const ControlTemplate* t = m_template ? m_template->FindControl(id) : nullptr;
    return t ? ControlRect{t->x, t->y, t->width, t->height} : ControlRect{};
}

CControl& CAdUiBaseDialog::Item(int id) {
    if (auto* c = GetDlgItem(id)) return *c;
    throw std::out_of_range("dialog " + std::to_string(m_templateId) + " has no control " +
                            std::to_string(id));
}

CControl* CAdUiBaseDialog::FindControl(const std::string& nameOrId) {
    int id = 0;
    auto [p, ec] = std::from_chars(nameOrId.data(), nameOrId.data() + nameOrId.size(), id);
    if (ec == std::errc() && p == nameOrId.data() + nameOrId.size()) return GetDlgItem(id);
    for (auto& c : m_controls)
        if (c->name == nameOrId) return c.get();
    return nullptr;
}

std::vector<CControl*> CAdUiBaseDialog::Controls() {
    std::vector<CControl*> out;
    for (auto& c : m_controls) out.push_back(c.get());
    return out;
}

void CAdUiBaseDialog::SetDlgItemText(int id, const std::string& text) {
    if (auto* c = GetDlgItem(id)) c->SetWindowText(text);
}

std::string CAdUiBaseDialog::GetDlgItemText(int id) const {
    const auto* c = GetDlgItem(id);
    return c ? c->text : std::string();
}

void CAdUiBaseDialog::CheckDlgButton(int id, int check) {
    if (auto* c = GetDlgItem(id)) {
        if (c->kind == ControlKind::Radio && check)
            CheckRadioButton(id);
        else
            c->checked = check;
    }
}

int CAdUiBaseDialog::IsDlgButtonChecked(int id) const {
    const auto* c = GetDlgItem(id);
    return c ? c->checked : 0;
}

void CAdUiBaseDialog::CheckRadioButton(int id) {
    CControl* target = GetDlgItem(id);
    if (!target) return;
    for (auto& c : m_controls)
        if (c->kind == ControlKind::Radio && c->radioGroup == target->radioGroup) c->checked = 0;
    target->checked = 1;
}

void CAdUiBaseDialog::EnableItem(int id, bool enable) {
    if (auto* c = GetDlgItem(id)) c->enabled = enable;
}

std::vector<int> CAdUiBaseDialog::MappedControlsMissing() const {
    std::vector<int> missing;
    for (const auto& [key, handler] : m_handlers)
        if (!GetDlgItem(key.first) && (missing.empty() || missing.back() != key.first))
            missing.push_back(key.first);
    return missing;
}

bool CAdUiBaseDialog::Notify(int id, Notification n) {
    CControl* c = GetDlgItem(id);
    if (c && n == Notification::KeyDown && c->behavior) {
        const std::string before = c->text;
        if (c->behavior->OnKey(*c, m_lastKey)) {
            if (c->text != before) Notify(id, Notification::Changed);
            return true;
        }
    }
    if (c && n == Notification::Clicked) {
        if (c->behavior && c->behavior->OnClick(*c)) return true;
        if (c->kind == ControlKind::Check) c->checked = c->checked ? 0 : 1;
        if (c->kind == ControlKind::Radio) CheckRadioButton(id);
    }
    auto it = m_handlers.find({id, n});
    if (it != m_handlers.end()) {
        auto handler = it->second;  // a handler may remap itself
        handler();
        return true;
    }
    if (n == Notification::Clicked && id == IDOK) {
        OnOK();
        return true;
    }
    if (n == Notification::Clicked && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

std::intptr_t CAdUiBaseDialog::SendMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    auto it = m_messageHandlers.find(message);
    if (it == m_messageHandlers.end()) return 0;
    auto handler = it->second;
    return handler(wParam, lParam);
}

namespace {
// The control a data exchange names. An exchange with a control the dialog's template lacks is a fault
// of the dialog's code, not something to skip: it throws std::logic_error.
CControl* DxItem(CDataExchange* pDX, int id) {
    if (!pDX || !pDX->m_pDlgWnd) throw std::logic_error("data exchange without a dialog");
    CControl* c = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!c)
        throw std::logic_error("data exchange with control " + std::to_string(id) + " that dialog " +
                               std::to_string(pDX->m_pDlgWnd->TemplateId()) + " does not have");
    return c;
}
}  // namespace

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (auto* c = DxItem(pDX, id)) {
        if (pDX->m_bSaveAndValidate)
            value = c->checked;
        else
            c->checked = value;
    }
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value) {
    CControl* first = DxItem(pDX, firstId);
    if (!first) return;
    std::vector<CControl*> group;
    for (auto* c : pDX->m_pDlgWnd->Controls())
        if (c->kind == ControlKind::Radio && c->radioGroup == first->radioGroup) group.push_back(c);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->checked) value = static_cast<int>(i);
    } else {
        for (std::size_t i = 0; i < group.size(); ++i)
            group[i]->checked = static_cast<int>(i) == value ? 1 : 0;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    if (auto* c = DxItem(pDX, id)) {
        if (pDX->m_bSaveAndValidate)
            index = c->curSel;
        else
            c->SetCurSel(index);
    }
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (auto* c = DxItem(pDX, id)) {
        if (pDX->m_bSaveAndValidate)
            value = c->text;
        else
            c->SetWindowText(value);
    }
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    if (auto* c = DxItem(pDX, id)) {
        if (pDX->m_bSaveAndValidate) {
            value = TAVHost::NumberText::ParseOrZero(c->text);
        } else {
            c->SetWindowText(std::isfinite(value) ? TAVHost::NumberText::General(value, 6) : std::string());
        }
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (auto* c = DxItem(pDX, id)) {
        if (pDX->m_bSaveAndValidate)
            value = static_cast<int>(std::clamp(std::trunc(TAVHost::NumberText::ParseOrZero(c->text)),
                                                static_cast<double>(std::numeric_limits<int>::min()),
                                                static_cast<double>(std::numeric_limits<int>::max())));
        else
            c->SetWindowText(std::to_string(value));
    }
}

}  // namespace TAVUi
