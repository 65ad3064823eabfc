#include "Platform/Ui/PointerSelection.h"

#include "Platform/Ui/WindowSystem.h"

bool Ui::OfferPointerSelection(const std::wstring& text)
{
    return !text.empty() && LayerDisplay().SetSelectionText(text);
}

std::optional<std::wstring> Ui::PointerSelectionText()
{
    return LayerDisplay().GetSelectionText();
}
