#pragma once
// What the connection-settings dialog adds to a connection type
// (ZELL::CConnectionTypes): the entry of its choice list and the form that
// edits the type's settings. A type without a row here has no form; the
// first row's form stands in for it.

#include "Common/PelorusDLL/Dialogs/SettingsFormBase.h"

#include <memory>
#include <span>
#include <string>

struct tConnectionTypeForm {
    const wchar_t* word;
    const wchar_t* choiceText;
    const wchar_t* choiceTextGerman;
    UINT templateId;
    std::unique_ptr<CSettingsFormBase> (*makeForm)(ZELL::CConnectionBase* connection, CWnd* parent);
    // Shown when the form cannot be created; `traced` writes it to the debug output too.
    const wchar_t* createFailure;
    bool traced;
};

class CConnectionTypeForms {
public:
    static std::span<const tConnectionTypeForm> All();
    // The row of the type's word; null for a type without a form.
    static const tConnectionTypeForm* Find(const std::wstring& word);
};
