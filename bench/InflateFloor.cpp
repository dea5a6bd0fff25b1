// The floor under a conversion of an .xlsx bank that is not ours to lower:
// a process that reads the file and inflates its largest sheet part, in
// the pieces the reader takes and with the same checks (size, CRC-32), and
// does nothing else. bench/run-reader.sh times it beside the converter.
//
// With --twice it inflates the part twice at once, on two threads, each
// over an archive of its own: were the second core there whenever asked
// for, that would take no longer than once. It is the measure of what a
// thread inflating beside the parse could win on this machine.
//
//   inflate_floor [--twice] FILE.xlsx
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "reader/FileBytes.h"
#include "reader/Zip.h"
#include "reader/ZipStream.h"

namespace {

// The largest sheet part of the archive in `bytes`, inflated whole; its
// length, or -1 with the reason printed.
long long InflateSheet(std::string_view bytes) {
  std::string error;
  qx::zip::Archive archive;
  if (!archive.Open(bytes, &error)) {
    fprintf(stderr, "%s\n", error.c_str());
    return -1;
  }
  const qx::zip::Entry* sheet = nullptr;
  for (const qx::zip::Entry& e : archive.entries()) {
    if (e.name.find("worksheets/") != std::string::npos &&
        (!sheet || e.uncompressedSize > sheet->uncompressedSize))
      sheet = &e;
  }
  qx::zip::EntryStream stream;
  if (!sheet || !archive.OpenStream(*sheet, &stream, &error)) {
    fprintf(stderr, "no sheet part: %s\n", error.c_str());
    return -1;
  }
  std::vector<char> piece(64 * 1024);  // the tokenizer's window
  size_t total = 0;
  while (size_t n = stream.Read(piece.data(), piece.size())) total += n;
  if (stream.failed()) {
    fprintf(stderr, "%s\n", stream.error().c_str());
    return -1;
  }
  return static_cast<long long>(total);
}

}  // namespace

int main(int argc, char** argv) {
  const bool twice = argc == 3 && std::strcmp(argv[1], "--twice") == 0;
  if (argc != 2 && !twice) {
    fprintf(stderr, "usage: inflate_floor [--twice] FILE.xlsx\n");
    return 2;
  }
  qx::reader::ByteBlock bytes;
  qx::reader::OpenFailureCode why;
  if (!qx::reader::ReadFileBytes(argv[argc - 1], &bytes, &why)) {
    fprintf(stderr, "%s\n", qx::reader::OpenFailureReason({why, {}}).c_str());
    return 1;
  }
  long long other = 0;
  std::thread beside;
  if (twice) beside = std::thread([&] { other = InflateSheet(bytes.view()); });
  const long long total = InflateSheet(bytes.view());
  if (beside.joinable()) beside.join();
  if (total < 0 || other < 0) return 1;
  printf("%lld\n", total);
  return 0;
}
