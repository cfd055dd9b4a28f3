#pragma once

#include "gui/platform/CDrawContext.h"

#include <string>
#include <vector>

// The folder the gallery writes into: each picture a PNG named after it,
// optionally magnified; remembers the pictures it could not write.
class CPictureFolder
{
public:
    explicit CPictureFolder(std::string folder) : folder(std::move(folder)) {}

    // Writes surface as <folder>/<name>.png, each pixel a scale x scale block.
    void Write(CDrawContext& surface, const std::string& name, int scale = 1);
    // Notes a picture that could not be made at all.
    void Fail(const std::string& name, const std::string& why);

    std::string Path(const std::string& name) const { return folder + "/" + name + ".png"; }

    const std::string folder;
    int written = 0;
    std::vector<std::string> failures;
};
