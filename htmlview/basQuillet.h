#pragma once
// The viewer's own copies of a few general routines (screen metrics, busy
// pointer, numbers from attribute text, trailing path separators), and its
// text helpers: UTF-8 ↔ characters, and decoding a help file.
#include <cstdint>
#include <string>

namespace basQuillet {

// The screen's twips per pixel, rounded; read when refresh is non-zero or
// nothing is cached yet.
int16_t TwipsPerPixelX(int16_t refresh = 0);
int16_t TwipsPerPixelY(int16_t refresh = 0);

// Hourglass pointer when busy, default pointer otherwise.
void SetBusyCursor(bool busy);

// The number the text holds (surrounding blanks and a sign allowed), else 0.
double NumericOrZero(const std::string& value);

// mode 0: removes one trailing "/"; mode 1: appends one if missing; empty
// for an empty path or another mode.
std::string PathSlash(const std::string& path, int16_t mode);

// UTF-8 ↔ characters (code points). Invalid bytes become U+FFFD.
std::u32string ToChars(const std::string& utf8);
std::string ToUtf8(const std::u32string& chars);
std::string ToUtf8(char32_t c);

// The character set a document declares in a META tag before its body
// (`charset=NAME` in CONTENT, or a CHARSET attribute); empty when none.
std::string DeclaredCharset(const std::string& bytes);

// The text of a file's bytes: by its byte-order mark (UTF-8, UTF-16), else
// by the character set it declares when ICU knows it and it reads ASCII as
// ASCII (a declared UTF-16 or UTF-32 means UTF-8; EBCDIC and the like are
// ignored, as browsers do), else UTF-8 when the bytes are valid UTF-8,
// otherwise Shift-JIS (Windows code page 932).
// Undecodable bytes become U+FFFD; an ASCII character after a bad byte is
// kept.
std::u32string DecodeText(const std::string& bytes);

}  // namespace basQuillet
