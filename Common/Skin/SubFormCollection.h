#pragma once
// Child dialogs (sub-forms) that all lie over one placeholder area of their
// parent dialog; one of them is shown at a time. The collection owns them.
#include "Platform/Framework/Windows/Dialog.h"

#include <memory>
#include <vector>

namespace ZELL::Skin {

class CSubFormCollection {
public:
    CSubFormCollection() = default;
    ~CSubFormCollection();
    CSubFormCollection(const CSubFormCollection&) = delete;
    CSubFormCollection& operator=(const CSubFormCollection&) = delete;

    // A plain dialog from the template, as a child of `parent`, laid over
    // the placeholder. False when its window cannot be made.
    bool CreateSubForm(UINT templateId, CWnd* parent);
    // The same for a dialog the caller made; the collection owns it from
    // now on, also when its window cannot be made (it is then deleted).
    bool CreateSubForm(CDialog* form, UINT templateId, CWnd* parent);
    // Hides the shown sub-form and shows the one of `index`; -1 shows the
    // current one again (the first when none is current). False for an
    // index past the last sub-form or a sub-form without a window.
    bool ShowSubForm(int index);
    // Makes the index current without showing anything.
    bool SetCurrent(int index);

    int GetCount() const { return static_cast<int>(m_forms.size()); }
    int GetCurrent() const { return m_current; }
    CDialog* GetSubForm(int index) const;

    // Set by the owner before sub-forms are made: the placeholder's window
    // rectangle on the screen, and whether sub-forms are centred in it
    // (else they start at its top-left corner).
    RECT m_placeholder{};
    BYTE m_centre = 0;

private:
    // Raises the framework's invalid-argument exception below -1.
    void CheckIndex(int index) const;
    void Place(CDialog& form) const;

    std::vector<std::unique_ptr<CDialog>> m_forms;
    int m_current = -1;
};

}  // namespace ZELL::Skin
