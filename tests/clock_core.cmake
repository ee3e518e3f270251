# The clock window's tests play melodies through the emulated port-I/O module
# and count the plays in the captured sound.
if(TARGET test_clock_core)
  target_link_libraries(test_clock_core PRIVATE kv_audio_analysis)
  add_dependencies(test_clock_core kvportio)
  set_property(TEST test_clock_core APPEND PROPERTY ENVIRONMENT
    "KELVORA_MODULE_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()

# The start-up tests run the program itself, several copies at once.
if(TARGET test_clock_core)
  add_dependencies(test_clock_core Kelvora Quillet kvbuzzer)
  target_compile_definitions(test_clock_core PRIVATE KV_KELVORA_PROGRAM="$<TARGET_FILE:Kelvora>")
endif()

# The large-screen tests once more at device pixel ratio 2.
if(TARGET test_clock_core)
  add_test(NAME test_clock_core_dpr2 COMMAND test_clock_core --gtest_filter=FourKAndEightK/*)
  set_tests_properties(test_clock_core_dpr2 PROPERTIES ENVIRONMENT
    "${KV_TEST_ENV};QT_SCALE_FACTOR=2;KELVORA_TEST_TMP=${CMAKE_CURRENT_BINARY_DIR}/tmp/test_clock_core_dpr2;KELVORA_MODULE_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
