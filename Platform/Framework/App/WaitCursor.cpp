#include "Platform/Framework/App/WaitCursor.h"

CWaitCursor::CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}

CWaitCursor::~CWaitCursor() { ::SetCursor(m_hPrevious); }

void CWaitCursor::Restore() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }
