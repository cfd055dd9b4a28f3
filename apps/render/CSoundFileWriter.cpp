#include "CSoundFileWriter.h"

#include "CInterruptCleanup.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace
{
bool EndsWith(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

std::string TemporaryNameFor(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + "." + std::to_string(::getpid()) + ".tmp";
}
}

CSoundFileWriter::~CSoundFileWriter()
{
    Abort();
}

bool CSoundFileWriter::ContainerFromName(const std::string& path, Container& container)
{
    if (EndsWith(path, ".wav"))
        container = Wav;
    else if (EndsWith(path, ".flac"))
        container = Flac;
    else
        return false;
    return true;
}

std::string CSoundFileWriter::Describe(Container container, Encoding encoding)
{
    return std::string(container == Flac ? "FLAC " : "WAV ") + std::to_string(static_cast<int>(encoding)) +
           (encoding == Float32 ? "-bit float" : "-bit");
}

bool CSoundFileWriter::Fail(const std::string& message)
{
    error = message;
    return false;
}

bool CSoundFileWriter::Open(const std::string& target, Container container, Encoding encoding, int32_t sampleRate)
{
    Abort();
    error.clear();
    path = target;
    if (container == Flac && encoding == Float32)
        return Fail(path + ": FLAC holds 16 or 24 bits, not 32-bit float");

    SF_INFO info = {};
    info.samplerate = sampleRate;
    info.channels = 2;
    const int subtype = encoding == Pcm16 ? SF_FORMAT_PCM_16 : encoding == Pcm24 ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT;
    info.format = (container == Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | subtype;
    if (!sf_format_check(&info))
        return Fail(path + ": " + Describe(container, encoding) + " at " + std::to_string(sampleRate) +
                    " Hz is not a format libsndfile can write");

    temporaryPath = TemporaryNameFor(path);
    CInterruptCleanup::Guard(temporaryPath);
    file = sf_open(temporaryPath.c_str(), SFM_WRITE, &info);
    if (!file)
    {
        const std::string reason = sf_strerror(nullptr);
        CInterruptCleanup::Release();
        temporaryPath.clear();
        return Fail(path + ": cannot create the file (" + reason + ")");
    }
    // The peak chunk carries a time stamp: leaving it out keeps renders byte-identical.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool CSoundFileWriter::Write(const float* left, const float* right, int32_t frames)
{
    if (!file)
        return Fail(path + ": the file is not open");
    interleaved.resize(static_cast<size_t>(frames) * 2);
    for (int32_t i = 0; i < frames; ++i)
    {
        interleaved[2 * static_cast<size_t>(i)] = left[i];
        interleaved[2 * static_cast<size_t>(i) + 1] = right[i];
    }
    if (sf_writef_float(file, interleaved.data(), frames) != frames)
        return Fail(path + ": write failed (" + sf_strerror(file) + ")");
    return true;
}

bool CSoundFileWriter::Commit()
{
    if (!file)
        return Fail(path + ": the file is not open");
    const int closed = sf_close(file);
    file = nullptr;
    if (closed != 0)
    {
        const std::string reason = sf_error_number(closed);
        Abort();
        return Fail(path + ": cannot finish the file (" + reason + ")");
    }
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0)
    {
        const std::string reason = std::strerror(errno);
        Abort();
        return Fail(path + ": cannot rename the finished file into place (" + reason + ")");
    }
    CInterruptCleanup::Release();
    temporaryPath.clear();
    return true;
}

void CSoundFileWriter::Abort()
{
    if (file)
    {
        sf_close(file);
        file = nullptr;
    }
    if (!temporaryPath.empty())
    {
        std::remove(temporaryPath.c_str());
        CInterruptCleanup::Release();
        temporaryPath.clear();
    }
}
