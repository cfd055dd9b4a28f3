#pragma once

#include "CAudioSink.h"

#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

// Writes a stereo render to a WAV or FLAC file through libsndfile. The file
// is written under a temporary name in the target's folder and renamed over
// the target only by Commit, so a failed render never leaves a partial file
// behind nor damages an older one.
class CSoundFileWriter : public CAudioSink
{
public:
    enum Container
    {
        Wav = 0,
        Flac = 1
    };

    enum Encoding
    {
        Pcm16 = 16,
        Pcm24 = 24,
        Float32 = 32  // WAV only
    };

    CSoundFileWriter() = default;
    // Removes the temporary file of a render that was not committed.
    ~CSoundFileWriter() override;

    // The container a file name asks for (".wav" or ".flac", any case);
    // false when the name tells neither.
    static bool ContainerFromName(const std::string& path, Container& container);
    // "WAV 24-bit", "FLAC 16-bit", "WAV 32-bit float".
    static std::string Describe(Container container, Encoding encoding);

    // Creates the temporary file. False, with Error() naming the file, when
    // the combination is impossible or the file cannot be created.
    bool Open(const std::string& path, Container container, Encoding encoding, int32_t sampleRate);
    // Appends frames of the two channels; integer encodings clip at full scale.
    bool Write(const float* left, const float* right, int32_t frames) override;
    // Finishes the file and renames it to the target.
    bool Commit();
    // Closes and removes the temporary file.
    void Abort();

    const std::string& Error() const { return error; }
    const std::string& TemporaryPath() const { return temporaryPath; }

    CSoundFileWriter(const CSoundFileWriter&) = delete;
    CSoundFileWriter& operator=(const CSoundFileWriter&) = delete;

private:
    bool Fail(const std::string& message);

    sf_private_tag* file = nullptr;
    std::string path;
    std::string temporaryPath;
    std::string error;
    std::vector<float> interleaved;
};
