// Small helpers shared by the safe-save tests.
#pragma once

#include "streams/tsSafeSave.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

inline HRESULT save(const std::string& path, const std::string& content, bool* inPlace = nullptr)
{
    tsSafeSave saving;
    HRESULT hr = saving.Begin(path.c_str());
    if (inPlace)
        *inPlace = saving.InPlace();
    if (hr >= 0)
        hr = saving.Stream()->Write(content.data(), static_cast<std::uint32_t>(content.size()));
    if (hr >= 0)
        hr = saving.Commit();
    return hr;
}

// The whole file in one read: byte-wise reading is slow for large files under the sanitizers.
inline std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string text(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    return text;
}

// The names in folder, sorted.
inline std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace testing_support
