// libFuzzer target: any bytes given to CPresetFile::Load. A refused file must
// say why and leave every field as it was; an accepted one must be saved and
// read back to the same fields, and saved again to the same bytes.
#include "support/FuzzCheck.h"
#include "io/CMemoryStream.h"
#include "io/CPresetFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

bool SameFields(const CPresetFile& a, const CPresetFile& b)
{
    return a.kind == b.kind && a.pluginId == b.pluginId && a.pluginVersion == b.pluginVersion && a.count == b.count &&
           a.currentProgram == b.currentProgram && a.programName == b.programName && a.chunk == b.chunk;
}

bool Load(CPresetFile& file, const uint8_t* data, size_t size)
{
    CMemoryStream stream;
    if (size > 0)
        stream.Write(data, static_cast<int32_t>(size));
    stream.Seek(0, CStream::FromStart);
    return file.Load(stream);
}

std::vector<uint8_t> Saved(const CPresetFile& file)
{
    CMemoryStream stream;
    Check(file.Save(stream));
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size());
}

// Fields no accepted file gives back: a bank has no program name.
CPresetFile Sentinel()
{
    CPresetFile file;
    file.kind = CPresetFile::Bank;
    file.pluginId = 0xFFFFFFFFu;
    file.pluginVersion = -7;
    file.count = -7;
    file.currentProgram = -7;
    file.programName = "sentinel";
    file.chunk = {1, 2, 3};
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > static_cast<size_t>(CPresetFile::kMaxFileBytes))
        return 0;
    CPresetFile file = Sentinel();
    if (!Load(file, data, size))
    {
        Check(!file.Error().empty());
        Check(SameFields(file, Sentinel()));
        return 0;
    }
    const std::vector<uint8_t> saved = Saved(file);
    CPresetFile again;
    Check(Load(again, saved.data(), saved.size()));
    Check(SameFields(again, file));
    Check(Saved(again) == saved);
    return 0;
}
