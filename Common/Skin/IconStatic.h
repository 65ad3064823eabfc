#pragma once
// A static that shows an icon resource at a given size.
#include "Platform/Framework/Controls/Static.h"

namespace ZELL::Skin {

class CIconStatic : public CStatic {
public:
    CIconStatic() = default;
    ~CIconStatic() override;

    // Loads the icon only when id or size changed.
    void SetIcon(UINT id, int width = 16, int height = 16);
    HICON GetIcon() const { return m_icon; }
    UINT GetIconId() const { return m_iconId; }
    // The caller keeps the icon.
    void SetIconHandle(HICON icon);

private:
    void FreeIcon();

    HICON m_icon = nullptr;
    UINT m_iconId = 0;
    int m_width = 16;
    int m_height = 16;
    BOOL m_ownsIcon = FALSE;
};

}  // namespace ZELL::Skin
