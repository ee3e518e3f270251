# Makes one language's manual page from the shared source.
#   cmake -DSOURCE=kelvora.1.in -DLANGUAGE=en|ja -DOUTPUT=kelvora.1 -P GenerateManPage.cmake
# SOURCE has already been through configure_file (versions, dates).
file(STRINGS ${SOURCE} lines ENCODING UTF-8)
set(text "")
foreach(line IN LISTS lines)
  if(line MATCHES "^(en|ja)\\|(.*)$")
    if(CMAKE_MATCH_1 STREQUAL LANGUAGE)
      string(APPEND text "${CMAKE_MATCH_2}\n")
    endif()
  elseif(NOT line MATCHES "^\\.\\\\\"")
    string(APPEND text "${line}\n")
  endif()
endforeach()
file(WRITE ${OUTPUT} "${text}")
