#pragma once
// The program's run-time error: a number, a description and a source, as
// handlers catch it and ReportError shows it. Descriptions are Japanese.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// The numbered errors the program raises.
enum ErrorNumber : int32_t {
  errInvalidCall = 5,      // invalid procedure call or argument
  errOverflow = 6,
  errOutOfMemory = 7,
  errSubscriptRange = 9,
  errDivisionByZero = 11,
  errTypeMismatch = 13,
  errDllLoad = 48,
  errBadFileName = 52,
  errFileNotFound = 53,
  errPathFileAccess = 75,
  errObjectNotSet = 91,
  errAlreadyLoaded = 360,  // a control array element with that index exists
  errCannotCreateObject = 429,
  errNotSupported = 438,
  errAutomation = 440,
  errWrongArgumentCount = 450,
  errDllEntryNotFound = 453,
  errInvalidPicture = 481,
};

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int32_t number, std::string description, std::string source);

  int32_t Number() const { return mlngNumber; }
  const std::string& Description() const { return mstrDescription; }
  const std::string& Source() const { return mstrSource; }

 private:
  int32_t mlngNumber;
  std::string mstrDescription;
  std::string mstrSource;
};

// The standard Japanese description of an error number ("" when unknown).
std::string ErrorDescription(int32_t number);

// The source named by errors raised without one: the application title.
const std::string& DefaultErrorSource();

// Throws RuntimeError(number) with its standard description.
[[noreturn]] void RaiseError(int32_t number, const std::string& source = DefaultErrorSource());

}  // namespace platform
