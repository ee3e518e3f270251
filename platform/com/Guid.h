#pragma once
// Globally unique identifiers of component classes, interfaces and type
// libraries, written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::com {

struct Guid {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4{};

  auto operator<=>(const Guid&) const = default;
};

namespace detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
// The identifier written in text; nullopt when the text is not one.
constexpr std::optional<Guid> Parse(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  uint8_t bytes[16]{};
  size_t at = 1;
  for (int i = 0; i < 16; ++i) {
    if (at == 9 || at == 14 || at == 19 || at == 24) {
      if (text[at] != '-') return std::nullopt;
      ++at;
    }
    const int high = HexDigit(text[at]), low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<uint8_t>(high * 16 + low);
    at += 2;
  }
  if (at != 37) return std::nullopt;
  Guid guid;
  guid.Data1 = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
  guid.Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  guid.Data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.Data4[static_cast<size_t>(i)] = bytes[8 + i];
  return guid;
}
}  // namespace detail

// A fixed identifier from its text, checked when the program is compiled.
consteval Guid GuidOf(std::string_view text) {
  const std::optional<Guid> guid = detail::Parse(text);
  if (!guid) throw std::invalid_argument("not a GUID");
  return *guid;
}

std::optional<Guid> ParseGuid(std::string_view text);
// Upper case, with braces.
std::string FormatGuid(const Guid& guid);

}  // namespace platform::com
