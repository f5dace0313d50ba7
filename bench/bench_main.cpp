// Benchmarks of load, save, paint and panel refresh, with the ratios to the one-call floor.
#include "ChildFrame.h"
#include "KarveloDoc.h"
#include "KarveloView.h"
#include "KarveloView_Controls.h"
#include "LayoutDataObject.h"
#include "commands/LayoutCommand.h"
#include "streams/tsBufferedOutputStream.h"
#include "streams/tsStream.h"
#include "tools/HitTest.h"
#include "tools/Transform.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::filesystem::path g_folder;

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

const LayoutDataObject& layoutOf(std::size_t count)
{
    static std::map<std::size_t, LayoutDataObject> made;
    auto found = made.find(count);
    if (found == made.end())
        found = made.emplace(count, makeLayout(count)).first;
    return found->second;
}

std::string fileOf(std::size_t count)
{
    const std::string path = (g_folder / ("layout" + std::to_string(count) + ".lay")).string();
    if (!std::filesystem::exists(path)) {
        tsStream stream;
        stream.Open(path.c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE);
        tsBufferedOutputStream out(&stream);
        layoutOf(count).Write(&out);
        out.Flush();
    }
    return path;
}

void Load(benchmark::State& state)
{
    const std::string path = fileOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        LayoutDataObject layout;
        tsStream stream;
        if (stream.Open(path.c_str(), TS_OPEN_READ) < 0 || layout.Read(&stream) < 0)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(layout.m_controls.data());
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

void Save(benchmark::State& state)
{
    const LayoutDataObject& layout = layoutOf(static_cast<std::size_t>(state.range(0)));
    const std::string path = (g_folder / "save.lay").string();
    for (auto _ : state) {
        tsStream stream;
        HRESULT hr = stream.Open(path.c_str(), TS_OPEN_CREATE | TS_OPEN_WRITE);
        tsBufferedOutputStream out(&stream);
        if (hr >= 0)
            hr = layout.Write(&out);
        if (hr >= 0)
            hr = out.Flush();
        if (hr < 0)
            state.SkipWithError("save failed");
    }
}

void ReadBytes(benchmark::State& state)
{
    const std::string path = fileOf(static_cast<std::size_t>(state.range(0)));
    std::vector<char> buffer(std::filesystem::file_size(path));
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::read(fd, buffer.data(), buffer.size()));
        ::close(fd);
    }
}

void WriteBytes(benchmark::State& state)
{
    const std::string source = fileOf(static_cast<std::size_t>(state.range(0)));
    std::vector<char> buffer(std::filesystem::file_size(source));
    const int in = ::open(source.c_str(), O_RDONLY);
    benchmark::DoNotOptimize(::read(in, buffer.data(), buffer.size()));
    ::close(in);
    const std::string path = (g_folder / "floor.lay").string();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, buffer.data(), buffer.size()));
        ::close(fd);
    }
}

// A document with its panel and canvas, as a layout window holds them.
struct Window
{
    explicit Window(std::size_t count)
    {
        doc->m_layout = layoutOf(count);
        doc->SetCurrentControl(nullptr, 0);
        panel->AttachDocument(doc.get());
        canvas->AttachDocument(doc.get());
        panel->resize(170, 760);
        panel->OnInitialUpdate();
        canvas->OnInitialUpdate();
    }
    std::unique_ptr<CKarveloDoc> doc = std::make_unique<CKarveloDoc>();
    std::unique_ptr<CKarveloView_Controls> panel = std::make_unique<CKarveloView_Controls>();
    std::unique_ptr<CKarveloView> canvas = std::make_unique<CKarveloView>();
};

void Paint(benchmark::State& state)
{
    Window window(static_cast<std::size_t>(state.range(0)));
    QImage image(840, 640, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        window.canvas->OnDraw(painter);
    }
}

void FillControlList(benchmark::State& state)
{
    Window window(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        window.panel->FillControlList();
}

void ShowCurrentControl(benchmark::State& state)
{
    Window window(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        window.panel->ShowCurrentControl();
}

// One keystroke in the Name edit: the rename and the list refill it brings.
void RenameKeystroke(benchmark::State& state)
{
    Window window(static_cast<std::size_t>(state.range(0)));
    auto* name = window.panel->findChild<QLineEdit*>(QStringLiteral("11006"));
    bool flip = false;
    for (auto _ : state) {
        name->setText(flip ? QStringLiteral("RENAMED_A") : QStringLiteral("RENAMED_B"));
        flip = !flip;
    }
}

// Picking the control under a point: a point no control covers, so every record is tried.
void HitTest(benchmark::State& state)
{
    const auto& controls = layoutOf(static_cast<std::size_t>(state.range(0))).m_controls;
    for (auto _ : state)
        benchmark::DoNotOptimize(TopmostControlAt(controls, 850.0, 650.0, 3.0));
}

// One mouse move of a one-control drag: the step it pushes and the repaint, into an image.
void DragStep(benchmark::State& state)
{
    Window window(static_cast<std::size_t>(state.range(0)));
    window.canvas->resize(840, 640);
    const IndexedControls original = {{0, window.doc->m_layout.m_controls[0]}};
    QImage image(840, 640, QImage::Format_RGB32);
    float dx = 0;
    for (auto _ : state) {
        dx = dx >= 100 ? 1 : dx + 1;
        window.doc->ChangeControls(nullptr, Moved(original, dx, dx), QStringLiteral("Verschieben"),
                                   MERGE_MOVE);
        window.canvas->render(&image);
    }
}

BENCHMARK(Load)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBytes)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Save)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBytes)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Paint)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FillControlList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowCurrentControl)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RenameKeystroke)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(HitTest)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStep)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Keeps every run's time so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

// Peak memory of loading a file, in a process that has done nothing else large: against the
// records' own size (sizeof(LayoutControl) per record plus the names' heap blocks).
static int reportLoadMemory(const char* path)
{
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    LayoutDataObject layout;
    tsStream stream;
    if (stream.Open(path, TS_OPEN_READ) < 0 || layout.Read(&stream) < 0)
        return 1;
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    std::size_t names = 0;
    for (const LayoutControl& c : layout.m_controls)
        names += c.m_name.capacity() > 15 ? c.m_name.capacity() + 1 : 0;
    const double records =
        static_cast<double>(sizeof(LayoutControl) * layout.m_controls.size() + names);
    const double grown = static_cast<double>(after.ru_maxrss - before.ru_maxrss) * 1024.0;
    std::printf("Load/%zu memory: records %.1f MB, peak grew by %.1f MB: %.2f times the records\n",
                layout.m_controls.size(), records / 1e6, grown / 1e6, grown / records);
    return 0;
}

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    char pattern[] = "/tmp/karvelo-bench-XXXXXX";
    g_folder = ::mkdtemp(pattern);

    // --make-file PATH N writes a layout of N controls; --memory PATH loads one and reports.
    if (argc == 4 && std::string(argv[1]) == "--make-file") {
        tsStream stream;
        HRESULT hr = stream.Open(argv[2], TS_OPEN_CREATE | TS_OPEN_WRITE);
        tsBufferedOutputStream out(&stream);
        if (hr >= 0)
            hr = makeLayout(std::strtoul(argv[3], nullptr, 10)).Write(&out);
        if (hr >= 0)
            hr = out.Flush();
        std::filesystem::remove_all(g_folder);
        return hr < 0 ? 1 : 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--memory") {
        const int status = reportLoadMemory(argv[2]);
        std::filesystem::remove_all(g_folder);
        return status;
    }
    {
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        std::printf("\n%-28s %10s\n", "ratio to the one-call floor", "");
        for (const char* n : {"1000", "100000", "1000000"}) {
            const std::string size = n;
            const auto ratio = [&](const char* a, const char* b) {
                const auto x = reporter.times.find(std::string(a) + "/" + size);
                const auto y = reporter.times.find(std::string(b) + "/" + size);
                return x == reporter.times.end() || y == reporter.times.end() || y->second == 0
                           ? 0.0
                           : x->second / y->second;
            };
            std::printf("N = %-8s Load/ReadBytes %6.2f   Save/WriteBytes %6.2f\n", n,
                        ratio("Load", "ReadBytes"), ratio("Save", "WriteBytes"));
        }
    }
    std::filesystem::remove_all(g_folder);
    return 0;
}
