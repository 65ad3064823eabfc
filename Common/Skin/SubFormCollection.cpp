#include "Common/Skin/SubFormCollection.h"

#include "Platform/Framework/Exceptions/InvalidArgException.h"

namespace ZELL::Skin {

CSubFormCollection::~CSubFormCollection()
{
    for (const std::unique_ptr<CDialog>& form : m_forms) {
        if (form->GetSafeHwnd() != nullptr)
            form->DestroyWindow();
    }
}

bool CSubFormCollection::CreateSubForm(UINT templateId, CWnd* parent)
{
    return CreateSubForm(new CDialog(templateId, parent), templateId, parent);
}

bool CSubFormCollection::CreateSubForm(CDialog* form, UINT templateId, CWnd* parent)
{
    if (form == nullptr)
        return false;
    std::unique_ptr<CDialog> owned(form);
    if (!owned->Create(templateId, parent))
        return false;
    Place(*owned);
    m_forms.push_back(std::move(owned));
    return true;
}

void CSubFormCollection::CheckIndex(int index) const
{
    if (index < -1)
        AfxThrowInvalidArgException();
}

CDialog* CSubFormCollection::GetSubForm(int index) const
{
    if (index < 0 || index >= GetCount())
        AfxThrowInvalidArgException();
    return m_forms[static_cast<std::size_t>(index)].get();
}

bool CSubFormCollection::SetCurrent(int index)
{
    CheckIndex(index);
    if (index >= GetCount())
        return false;
    m_current = index;
    return true;
}

bool CSubFormCollection::ShowSubForm(int index)
{
    CheckIndex(index);
    if (index >= GetCount())
        return false;
    if (index != -1) {
        if (m_current != -1) {
            CDialog* shown = m_forms[static_cast<std::size_t>(m_current)].get();
            if (shown->GetSafeHwnd() == nullptr)
                return false;
            shown->ShowWindow(SW_HIDE);
        }
        m_current = index;
    } else if (m_current == -1) {
        if (m_forms.empty())
            return false;
        m_current = 0;
    }
    CDialog* form = m_forms[static_cast<std::size_t>(m_current)].get();
    if (form->GetSafeHwnd() == nullptr)
        return false;
    form->ShowWindow(SW_SHOW);
    form->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return true;
}

// Lays the form at the placeholder's top-left corner, or centred in it,
// wherever its template put it in the parent.
void CSubFormCollection::Place(CDialog& form) const
{
    RECT own{};
    form.GetWindowRect(&own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    POINT target{m_placeholder.left, m_placeholder.top};
    if (m_centre != 0) {
        target.x += ((m_placeholder.right - m_placeholder.left) - width) / 2;
        target.y += ((m_placeholder.bottom - m_placeholder.top) - height) / 2;
    }
    if (HWND parent = ::GetParent(form.m_hWnd))
        ::ScreenToClient(parent, &target);
    form.SetWindowPos(nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ZELL::Skin
