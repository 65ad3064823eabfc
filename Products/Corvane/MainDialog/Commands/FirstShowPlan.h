#pragma once
// What the main dialog does when it is first shown, from the start-up
// options: read the device named on the command line, open the parameter
// file for it, start offline from a parameter file, or wait for the user.
// And what the first read does with a parameter file.

#include "Platform/Base/CString.h"

namespace Corvane {

struct tStartupOptions;

enum class ENFirstShow { ReadDevice, OpenParamFile, OfflineStartup, PleaseRead };
enum class ENParamFileAfterRead { Nothing, SaveToParamFile, WrongDevice };

class CFirstShowPlan {
public:
    static ENFirstShow Decide(const tStartupOptions& options);
    // The file exists and holds something.
    static bool IsUsableFile(const CString& path);
    // After a read: a first successful read with a parameter file and an
    // article number given saves the device into the file when it is of
    // that article, and tells the user otherwise.
    static ENParamFileAfterRead AfterRead(bool succeeded, bool firstRead, const tStartupOptions& options,
                                          const CString& deviceArticle);

private:
    static bool HasParamFileAndArticle(const tStartupOptions& options);
};

}  // namespace Corvane
