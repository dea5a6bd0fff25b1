// A kind's own properties as one table of rows. Most of a kind's
// properties are a field of its settings record, stored and read back as
// they are; a row names the property's number, its name and value type (the
// runtime's property table is made from these), the field, and whether the
// control has to be built anew for a changed value. The generic get and set
// below do the storing and reading; a kind keeps code only for what a value
// does besides being stored (redrawing, messages to the live control) and
// for the few values that are not a field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

enum PropertyAccess : uint8_t {
  kReadWrite,
  // Only creation applies the value: a changed one re-creates the control.
  kRecreate,
};

// Where a property's value lives in the settings record S, and how it
// crosses as a RawProperty: a logical as 0 or 1, a word or an integer as
// RawProperty::i, a character as a text of its one byte, bytes as they are;
// an element of a word array like a word. No field: the kind answers itself.
template <typename S>
struct SettingsField {
  enum Form : uint8_t { kNone, kLogical, kWord, kInteger, kCharacter, kBytes, kArrayWord };
  Form form = kNone;
  bool S::*logical = nullptr;
  uint32_t S::*word = nullptr;
  int32_t S::*integer = nullptr;
  uint16_t S::*character = nullptr;
  std::string S::*bytes = nullptr;
  uint32_t (S::*words)[3] = nullptr;
  int32_t element = 0;

  constexpr SettingsField() = default;
  constexpr SettingsField(bool S::*f) : form(kLogical), logical(f) {}
  constexpr SettingsField(uint32_t S::*f) : form(kWord), word(f) {}
  constexpr SettingsField(int32_t S::*f) : form(kInteger), integer(f) {}
  constexpr SettingsField(uint16_t S::*f) : form(kCharacter), character(f) {}
  constexpr SettingsField(std::string S::*f) : form(kBytes), bytes(f) {}
  constexpr SettingsField(uint32_t (S::*f)[3], int32_t i) : form(kArrayWord), words(f), element(i) {}
};

template <typename S>
struct SettingsProperty {
  int32_t number;  // as GetUnitProperty numbers it
  const char* name;
  uint32_t valueType;
  SettingsField<S> field;
  PropertyAccess access = kReadWrite;
};

// The row of own property `index`, or null past the table.
template <typename Row, size_t N>
constexpr const Row* PropertyRow(const Row (&rows)[N], int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < N ? &rows[index] : nullptr;
}

// Each row stands at the index its number gives it.
template <typename Row, size_t N>
constexpr bool RowsInNumberOrder(const Row (&rows)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (rows[i].number != kFirstOwnProperty + static_cast<int32_t>(i)) return false;
  return true;
}

// The runtime's property table (name, value type, flags) of the rows.
template <typename S, size_t N>
constexpr std::array<PropertyInfo, N> PropertyInfos(const SettingsProperty<S> (&rows)[N]) {
  std::array<PropertyInfo, N> infos = {};
  for (size_t i = 0; i < N; ++i)
    infos[i] = {rows[i].name, rows[i].valueType,
                rows[i].access == kRecreate ? uint32_t{kPropertyRecreate} : 0u};
  return infos;
}
// The same for rows that carry their PropertyInfo whole.
template <typename Row, size_t N>
  requires requires(Row r) { PropertyInfo{r.info}; }
constexpr std::array<PropertyInfo, N> PropertyInfos(const Row (&rows)[N]) {
  std::array<PropertyInfo, N> infos = {};
  for (size_t i = 0; i < N; ++i) infos[i] = rows[i].info;
  return infos;
}

template <typename S>
void ReadField(const SettingsField<S>& f, const S& s, RawProperty* out) {
  switch (f.form) {
    case SettingsField<S>::kNone: break;
    case SettingsField<S>::kLogical: out->i = s.*f.logical ? 1 : 0; break;
    case SettingsField<S>::kWord: out->i = static_cast<int32_t>(s.*f.word); break;
    case SettingsField<S>::kInteger: out->i = s.*f.integer; break;
    case SettingsField<S>::kCharacter:
      out->bytes = std::string(1, static_cast<char>(s.*f.character));
      break;
    case SettingsField<S>::kBytes: out->bytes = s.*f.bytes; break;
    case SettingsField<S>::kArrayWord:
      out->i = static_cast<int32_t>((s.*f.words)[f.element]);
      break;
  }
}

// Stores the value; true when the stored value changed.
template <typename S>
bool WriteField(const SettingsField<S>& f, S* s, const RawProperty& v) {
  auto store = [](auto* field, auto value) {
    bool changed = *field != value;
    *field = value;
    return changed;
  };
  switch (f.form) {
    case SettingsField<S>::kNone: return false;
    case SettingsField<S>::kLogical: return store(&(s->*f.logical), v.i != 0);
    case SettingsField<S>::kWord: return store(&(s->*f.word), static_cast<uint32_t>(v.i));
    case SettingsField<S>::kInteger: return store(&(s->*f.integer), v.i);
    case SettingsField<S>::kCharacter:
      return store(&(s->*f.character),
                   static_cast<uint16_t>(v.bytes.empty() ? 0 : static_cast<uint8_t>(v.bytes[0])));
    case SettingsField<S>::kBytes: return store(&(s->*f.bytes), v.bytes);
    case SettingsField<S>::kArrayWord:
      return store(&(s->*f.words)[f.element], static_cast<uint32_t>(v.i));
  }
  return false;
}

// The generic get and set of a kind's own property `index` over its
// settings record; an index past the table reads and stores nothing.
template <typename S, size_t N>
void GetSetting(const SettingsProperty<S> (&rows)[N], int32_t index, const S& s,
                RawProperty* out) {
  if (const SettingsProperty<S>* row = PropertyRow(rows, index)) ReadField(row->field, s, out);
}
// True when the control has to be re-created: a creation-only value changed.
template <typename S, size_t N>
bool SetSetting(const SettingsProperty<S> (&rows)[N], int32_t index, S* s,
                const RawProperty& value) {
  const SettingsProperty<S>* row = PropertyRow(rows, index);
  return row && WriteField(row->field, s, value) && row->access == kRecreate;
}

// The texts of a settings record are its text properties that are a field
// (a text that lives only in the live control is not in a type block).
template <typename S, size_t N>
bool VisitSettingsTexts(const SettingsProperty<S> (&rows)[N], S* s, TextVisitorFn visit,
                        void* context) {
  bool changed = false;
  for (const SettingsProperty<S>& row : rows) {
    if (row.valueType != kValueText || row.field.form != SettingsField<S>::kBytes) continue;
    std::string& text = s->*row.field.bytes;
    std::string before = text;
    visit(&text, context);
    changed |= text != before;
  }
  return changed;
}

template <typename Writer>
struct WrittenSettings;
template <typename S>
struct WrittenSettings<std::string (*)(const S&)> {
  using type = S;
};

// A kind's operation 9 over its rows and the reader and writer of its type
// block: VisitBlockTexts<kRows, ReadFooSettings, WriteFooSettings>.
template <const auto& Rows, auto Read, auto Write>
bool VisitBlockTexts(std::string* block, TextVisitorFn visit, void* context) {
  typename WrittenSettings<decltype(Write)>::type s;
  if (!Read(*block, &s)) return false;
  if (VisitSettingsTexts(Rows, &s, visit, context)) *block = Write(s);
  return true;
}

}  // namespace qx
