// Helpers shared by the format readers (not part of the public API).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reader/Workbook.h"

namespace qx::reader::detail {

// Cells one workbook may hold. Far above any question bank, and low enough
// that a hostile file (an ODS repeat, a huge sheet) cannot exhaust the
// 32-bit program's memory: 8 Mi cells are 192 MiB.
constexpr size_t kMaxCells = size_t{1} << 23;

// Sorts the cells by (row, col) and keeps the last of any duplicates, as
// the cell written last is the one a spreadsheet shows. Cheap when the
// cells already came in order, as every writer emits them.
void FinishSheet(Sheet* sheet);

// Days from 1899-12-30 (OLE automation date 0) to a proleptic Gregorian date.
int64_t OleDayNumber(int64_t year, int month, int day);

// Largest OLE automation date (9999-12-31 23:59:59).
constexpr double kMaxOleDate = 2958465.99999;

// A spreadsheet serial number to an OLE automation date. The 1900 system
// counts a 29 February 1900 that never was, so its serials from 1 to 60
// are one day behind; serials below 1 are times of day and stay.
double SerialToOle(double serial, bool date1904);

// A number in a cell whose format shows dates, as the spreadsheet hands it
// out: an OLE date when it is one (a serial from 0, times of day included,
// up to the last OLE date), false when it stays a plain number (negative
// serials have no date, so the application shows the number). One rule for
// every format that stores dates as serials.
bool DateCellToOle(double serial, bool date1904, double* ole);

// ISO 8601 date, date-time or time of day ("2024-01-15",
// "2024-01-15T13:45:30.5", "13:45:30", with an optional zone suffix that
// is ignored) to an OLE date; a time alone is a fraction of day 0.
bool ParseIsoDateTime(std::string_view text, double* ole);

// ISO 8601 duration as ODS writes time values ("PT13H45M00S", "P1DT2H")
// to days. A leading '-' negates.
bool ParseIsoDuration(std::string_view text, double* days);

// A finite decimal number, surrounding blanks allowed.
bool ParseNumber(std::string_view text, double* value);

// A non-negative decimal integer without sign (for indexes and counts).
bool ParseUnsigned(std::string_view text, uint64_t* value);

// Decodes the _xHHHH_ escapes with which Office packages store control
// characters (and "_x005F_" a literal underscore) in place.
void DecodeOfficeEscapes(std::string* text);
// The same on n bytes at s; returns the size they shrink to.
size_t DecodeOfficeEscapes(char* s, size_t n);

// Text from the file as a message quotes it: on one line (control
// characters become spaces) and cut, at a character's start, after about
// maxBytes bytes.
std::string ForMessage(std::string_view text, size_t maxBytes);

// A sheet as a message names it: 工作表“name”, on one line (the name
// comes from the file and may hold line breaks) and not too long.
std::string QuotedSheet(std::string_view name);

// The end of a read whose sheets each say whether they were read: under
// BadSheets::FailTheRead the first sheet's failure becomes the read's
// (false); otherwise, or without one, true.
bool ApplyBadSheets(const Workbook& book, BadSheets badSheets, std::string* error);

// Returns the pool index of an error literal, adding it once per workbook.
uint32_t InternError(Workbook* book, std::vector<uint32_t>* known, std::string_view literal);

}  // namespace qx::reader::detail
