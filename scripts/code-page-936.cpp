// Prints code page 936 as the system converts it, for
// scripts/gen-gbk-table.py: every byte pair it reads as a character, every
// single byte above ASCII it reads as one, and every character of the
// Basic Multilingual Plane it writes without its default character (with
// the flags the program converts with: none, so near characters count).
//
//   P lead trail unicode     a pair read strictly
//   S byte unicode           a single byte
//   W unicode byte [byte]    a character written
#include <windows.h>

#include <cstdio>

int main() {
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t wide[2];
      if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) == 1)
        printf("P %02X %02X %04X\n", lead, trail, static_cast<unsigned>(wide[0]));
    }
  }
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const char single = static_cast<char>(byte);
    wchar_t wide[2];
    if (MultiByteToWideChar(936, 0, &single, 1, wide, 2) == 1 && wide[0] != L'?')
      printf("S %02X %04X\n", byte, static_cast<unsigned>(wide[0]));
  }
  for (unsigned unicode = 0x80; unicode < 0x10000; ++unicode) {
    if (unicode >= 0xD800 && unicode <= 0xDFFF) continue;
    const wchar_t wide = static_cast<wchar_t>(unicode);
    char bytes[4];
    BOOL defaulted = FALSE;
    const int n = WideCharToMultiByte(936, 0, &wide, 1, bytes, 4, nullptr, &defaulted);
    if (n < 1 || defaulted) continue;
    printf("W %04X", unicode);
    for (int i = 0; i < n; ++i) printf(" %02X", static_cast<unsigned char>(bytes[i]));
    printf("\n");
  }
  return 0;
}
