// libFuzzer target: any bytes as the settings file the file dialog keeps its
// placement in. Every read must end cleanly; writing one key must make it
// read back as written and leave the other keys reading as before.
#include "support/FuzzCheck.h"
#include "io/CIniFile.h"
#include "support/TakeString.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{

const char* const kSection = "filewin";
const char* const kKeys[] = {"left", "top", "width", "height", "tree"};
constexpr int kKeyCount = 5;

// One file for the whole run, removed when the fuzzer exits normally.
struct CScratchFile
{
    std::string path =
        (std::filesystem::temp_directory_path() / ("velmora-ini-fuzz-" + std::to_string(::getpid()) + ".ini")).string();
    ~CScratchFile() { std::remove(path.c_str()); }
};

std::string Read(const CIniFile& ini, const char* key)
{
    return TakeString(ini.ReadString(kSection, key, "\x01missing"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CScratchFile scratch;
    FILE* file = std::fopen(scratch.path.c_str(), "wb");
    Check(file != nullptr);
    Check(std::fwrite(data, 1, size, file) == size);
    Check(std::fclose(file) == 0);

    // The key written and the value depend on the input, so that every key
    // gets written over the run, into files of every shape.
    const int written = static_cast<int>(size % kKeyCount);
    const int value = size > 0 ? static_cast<int8_t>(data[size - 1]) * 1000003 : 0;

    CIniFile ini(scratch.path.c_str());
    std::string before[kKeyCount];
    for (int i = 0; i < kKeyCount; ++i)
        before[i] = Read(ini, kKeys[i]);
    // Numbers of any shape, through the editor's own read.
    ini.ReadInt(kSection, kKeys[(written + 1) % kKeyCount], -1);
    Check(ini.WriteInt(kSection, kKeys[written], value));
    Check(ini.ReadInt(kSection, kKeys[written], value + 1) == value);
    for (int i = 0; i < kKeyCount; ++i)
        if (i != written)
            Check(Read(ini, kKeys[i]) == before[i]);
    return 0;
}
