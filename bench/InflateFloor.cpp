// The floor under a conversion of an .xlsx bank that is not ours to lower:
// a process that reads the file and inflates its largest sheet part, in
// the pieces the reader takes and with the same checks (size, CRC-32), and
// does nothing else. bench/run-reader.sh times it beside the converter.
//
//   inflate_floor FILE.xlsx
#include <cstdio>
#include <string>
#include <vector>

#include "reader/FileBytes.h"
#include "reader/Zip.h"
#include "reader/ZipStream.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: inflate_floor FILE.xlsx\n");
    return 2;
  }
  qx::reader::ByteBlock bytes;
  qx::reader::OpenFailureCode why;
  std::string error;
  qx::zip::Archive archive;
  if (!qx::reader::ReadFileBytes(argv[1], &bytes, &why)) {
    fprintf(stderr, "%s\n", qx::reader::OpenFailureReason({why, {}}).c_str());
    return 1;
  }
  if (!archive.Open(bytes.view(), &error)) {
    fprintf(stderr, "%s\n", error.c_str());
    return 1;
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
    return 1;
  }
  std::vector<char> piece(64 * 1024);  // the tokenizer's window
  size_t total = 0;
  while (size_t n = stream.Read(piece.data(), piece.size())) total += n;
  if (stream.failed()) {
    fprintf(stderr, "%s\n", stream.error().c_str());
    return 1;
  }
  printf("%zu\n", total);
  return 0;
}
