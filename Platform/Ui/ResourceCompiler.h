#pragma once
// Turns the entries of a resource table into the platform's resource
// formats: string blocks, menu templates, accelerator arrays, icon and
// cursor groups, DIBs. One compiler per module, so that the icon and cursor
// pictures of all its tables get distinct ids.
#include "Platform/Ui/CompiledResource.h"
#include "Platform/Ui/ResourceTable.h"

#include <memory>
#include <vector>

namespace Ui {

class CResourceCompiler {
public:
    using Output = std::vector<std::shared_ptr<CompiledResource>>;

    Output Compile(const Res::ResourceTable& table);

    // The platform's formats, also for tests that write images by hand.
    static std::vector<BYTE> MenuTemplate(std::initializer_list<Res::MenuItem> items);
    static std::vector<BYTE> AcceleratorEntries(std::initializer_list<Res::Accelerator> entries);
    static std::vector<BYTE> ToolbarRecord(const Res::Toolbar& toolbar);

private:
    void AddStrings(const Res::StringTable& table, Output& out) const;
    void AddImage(const Res::Image& image, Output& out);
    void AddBitmap(const Res::Image& image, Output& out) const;

    WORD m_nextPictureId = 1;
};

}
