#include "BenchLayouts.h"

#include "streams/tsBufferedOutputStream.h"
#include "streams/tsStream.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

LayoutDataObject makeLayout(std::size_t count)
{
    LayoutDataObject layout;
    layout.m_controls.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        LayoutControl& c = layout.m_controls[i];
        c.m_id = static_cast<std::uint32_t>(i);
        c.m_name = "CONTROL_" + std::to_string(i) + std::string(i % 9, 'X'); // 10 to 20 characters
        c.m_name.resize(std::max<std::size_t>(c.m_name.size(), 10), 'Q');
        c.m_x1 = static_cast<float>(i % 800);
        c.m_y1 = static_cast<float>(i % 600);
        c.m_x2 = c.m_x1 + 30.5f;
        c.m_y2 = c.m_y1 + 12.25f;
        c.m_guiResourceId = static_cast<std::uint32_t>(i * 7);
        c.m_textId = static_cast<std::uint32_t>(i * 3);
    }
    return layout;
}

} // namespace

const LayoutDataObject& BenchLayout(std::size_t count)
{
    static std::map<std::size_t, LayoutDataObject> made;
    auto found = made.find(count);
    if (found == made.end())
        found = made.emplace(count, makeLayout(count)).first;
    return found->second;
}

std::string BenchFolder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/karvelo-bench-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

std::string BenchFile(std::size_t count)
{
    const std::string path = BenchFolder() + "/layout" + std::to_string(count) + ".lay";
    if (!std::filesystem::exists(path)) {
        tsStream stream;
        stream.Open(path.c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE);
        tsBufferedOutputStream out(&stream);
        BenchLayout(count).Write(&out);
        out.Flush();
    }
    return path;
}

void RemoveBenchFiles()
{
    std::error_code ignored;
    if (BenchFolder() != "/tmp")
        std::filesystem::remove_all(BenchFolder(), ignored);
}

bool bench::NamesShown()
{
    static const bool shown = [] {
        const char* value = std::getenv("KARVELO_BENCH_NAMES");
        return value && std::string(value) == "1";
    }();
    return shown;
}
