#include "Platform/Framework/SpinButtonCtrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

