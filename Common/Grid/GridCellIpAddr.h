#pragma once
// A cell holding an IPv4 address, edited in a "###.###.###.###" masked edit.
#include "Common/Grid/GridCellMasked.h"

namespace ZELL::Grid {

class CGridCellIpAddr : public CGridCellMasked {
    DECLARE_DYNCREATE(CGridCellIpAddr)
public:
    // Formats the low byte of each part as dotted decimal and shows it.
    void SetAddress(int b1, int b2, int b3, int b4);
    const CString& GetAddress() const { return m_address; }

protected:
    const MaskFormat& Format() const override { return kIpAddressFormat; }

private:
    CString m_address = L"192.168.1.2";
};

}  // namespace ZELL::Grid
