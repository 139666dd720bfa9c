// Measures a whole run against the floor set by the file system, and the generation alone.
//   full_run:   open, writeSequenceMatrix, close, into a real file in a temporary folder;
//               its `ratio` counter is its time over the floor's, the two alternated in one case
//               so that the machine's drift cancels out.
//   generation: the same run into a sink that discards, per sequence.
// Both also count the heap allocations and bytes of one run.
#include "generation/matrix_file.hpp"
#include "generation/sequence_matrix.hpp"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>

namespace {

std::atomic<long> allocations{0};
std::atomic<long> allocatedBytes{0};

}  // namespace

// The replacement operators below pair malloc with free, which GCC cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(static_cast<long>(size), std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using heptanote::ColumnCount;
using heptanote::MatrixFile;
using heptanote::SequenceStyle;
using Clock = std::chrono::steady_clock;

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "heptanote-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        std::filesystem::current_path(pattern);
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(path_, ignored);
    }

  private:
    std::filesystem::path path_;
};

SequenceStyle styleOf(const benchmark::State& state) {
    return state.range(1) == 0 ? SequenceStyle::Plain : SequenceStyle::Score;
}

void fullRun(ColumnCount columns, SequenceStyle style) {
    MatrixFile file;
    benchmark::DoNotOptimize(heptanote::writeSequenceMatrix(file, columns, style));
    file.close();
}

// The same bytes written the way MatrixFile writes them: created, in buffer-sized calls, closed.
void floorRun(const std::string& bytes) {
    const int fd = ::open(MatrixFile::name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw std::runtime_error("open failed");
    for (std::size_t at = 0; at < bytes.size(); at += MatrixFile::bufferSize) {
        const std::size_t size = std::min(MatrixFile::bufferSize, bytes.size() - at);
        if (::write(fd, bytes.data() + at, size) != static_cast<ssize_t>(size))
            throw std::runtime_error("write failed");
    }
    if (::close(fd) != 0) throw std::runtime_error("close failed");
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void countAllocations(benchmark::State& state, ColumnCount columns, SequenceStyle style) {
    const long before = allocations.load();
    const long bytesBefore = allocatedBytes.load();
    fullRun(columns, style);
    state.counters["allocs_per_run"] = static_cast<double>(allocations.load() - before);
    state.counters["heap_bytes_per_run"] = static_cast<double>(allocatedBytes.load() - bytesBefore);
}

void full_run(benchmark::State& state) {
    TempFolder folder;
    const auto columns = static_cast<ColumnCount>(state.range(0));
    const SequenceStyle style = styleOf(state);
    fullRun(columns, style);
    const std::string bytes{
        std::istreambuf_iterator<char>(std::ifstream(MatrixFile::name, std::ios::binary).rdbuf()),
        {}};

    double fullTime = 0.0;
    double floorTime = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        fullRun(columns, style);
        const auto middle = Clock::now();
        floorRun(bytes);
        const auto end = Clock::now();
        fullTime += seconds(middle - start);
        floorTime += seconds(end - middle);
        state.SetIterationTime(seconds(middle - start));
    }
    state.counters["ratio"] = fullTime / floorTime;
    state.counters["floor_ms"] = 1000.0 * floorTime / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes.size()) * state.iterations());
    countAllocations(state, columns, style);
}

ssize_t discard(int, const void*, std::size_t size) { return static_cast<ssize_t>(size); }

void generation(benchmark::State& state) {
    TempFolder folder;
    const auto columns = static_cast<ColumnCount>(state.range(0));
    const SequenceStyle style = styleOf(state);
    Clock::duration elapsed{};
    for (auto _ : state) {
        const auto start = Clock::now();
        MatrixFile file(discard);
        benchmark::DoNotOptimize(heptanote::writeSequenceMatrix(file, columns, style));
        file.close();
        elapsed += Clock::now() - start;
    }
    state.counters["ns_per_sequence"] =
        1e9 * seconds(elapsed) /
        (static_cast<double>(state.iterations()) * heptanote::sequencesPerRun);
}

void cases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"columns", "score"});
    for (const int columns : {1, 15, 32767})
        for (const int score : {0, 1}) b->Args({columns, score});
}

BENCHMARK(full_run)->Apply(cases)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(generation)->Apply(cases)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

BENCHMARK_MAIN();
