#include "CPictureFolder.h"

#include "PngWriter.h"
#include "gui/platform/CSoftContext.h"

void CPictureFolder::Write(CDrawContext& surface, const std::string& name, int scale)
{
    bool ok = surface.Width() > 0 && surface.Height() > 0;
    if (ok && scale == 1)
    {
        ok = WritePng(surface, Path(name));
    }
    else if (ok)
    {
        const Rect whole{0, 0, surface.Width() * scale, surface.Height() * scale};
        CSoftContext big(whole.right, whole.bottom);
        big.Stretch(whole, surface, Rect{0, 0, surface.Width(), surface.Height()}, whole);
        ok = WritePng(big, Path(name));
    }
    if (ok)
        ++written;
    else
        Fail(name, "cannot write " + Path(name));
}

void CPictureFolder::Fail(const std::string& name, const std::string& why)
{
    failures.push_back(name + ": " + why);
}
