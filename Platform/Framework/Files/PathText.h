#pragma once
// The parts of a POSIX path that the file classes report. Paths keep their
// case; nothing here touches the file system except FullPath, which asks for
// the working folder of a relative path.

#include "Platform/Base/CString.h"

namespace ZELL::Framework::PathText {

// An absolute path as given; a relative one after the working folder.
CString FullPath(const CString& path);
// The part after the last '/' (all of it when there is none).
CString FileName(const CString& path);
// The file name without its extension (the part from the last '.').
CString FileTitle(const CString& path);
// The part before the last '/' ("" when there is none, "/" for the root).
CString Folder(const CString& path);

}  // namespace ZELL::Framework::PathText
