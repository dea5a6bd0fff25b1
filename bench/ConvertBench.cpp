// Conversion of a 10,000-row x 7-column bank of Chinese text, from the file
// on disk to the document text: reading, parsing and converting.
//
//   convert_bench DATA_DIR [benchmark flags]   timings
//   convert_bench --peak FILE                  peak memory of one conversion
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/Conversion.h"
#include "app/ReaderWorksheet.h"

namespace {

std::string g_dataDir = ".";

size_t ConvertOnce(const std::string& path) {
  qx::app::ReaderWorksheet sheet;
  std::string text;
  qx::app::OpenSheetFailure error;
  if (!qx::app::ConvertWorksheetToText(qx::app::MakeReaderWorksheetSource(&sheet), path, &text,
                                       &error)) {
    fprintf(stderr, "%s\n", qx::reader::OpenFailureReason(error.file).c_str());
    exit(1);
  }
  return text.size();
}

void BM_Convert(benchmark::State& state, const char* file) {
  std::string path = g_dataDir + "/" + file;
  size_t bytes = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bytes = ConvertOnce(path));
  state.counters["doc_bytes"] = static_cast<double>(bytes);
}

BENCHMARK_CAPTURE(BM_Convert, xlsx_shared_strings, "bank-10000x7.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, xlsx_inline_strings, "bank-10000x7-inline.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, xls, "bank-10000x7.xls")->Unit(benchmark::kMillisecond);

long MaxRssKb() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--peak") == 0) {
    long before = MaxRssKb();
    size_t bytes = ConvertOnce(argv[2]);
    long after = MaxRssKb();
    printf("%s: document %zu bytes, peak memory of the conversion %ld KiB\n", argv[2], bytes,
           after - before);
    return 0;
  }
  if (argc > 1 && argv[1][0] != '-') {
    g_dataDir = argv[1];
    --argc;
    ++argv;
    argv[0] = argv[-1];
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
