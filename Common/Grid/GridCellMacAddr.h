#pragma once
// A cell holding a MAC address, edited in a "##:##:##:##:##:##" masked edit.
// Its MAC string and its text are kept the same, so that neither an edit nor
// a set value is lost to the other.
#include "Common/Grid/GridCellMasked.h"

namespace ZELL::Grid {

class CGridCellMacAddr : public CGridCellMasked {
    DECLARE_DYNCREATE(CGridCellMacAddr)
public:
    void SetMacText(LPCWSTR text);
    const CString& GetMacText() const { return m_mac; }
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    const MaskFormat& Format() const override { return kMacAddressFormat; }

private:
    CString m_mac = L"00:00:00:00:00:00";
};

}  // namespace ZELL::Grid
