#include "Platform/Framework/ProgressCtrl.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

