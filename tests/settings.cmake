# The settings dialog's tests find the built modules on the program's search
# path: the port-I/O module for test melodies (whose sound they measure),
# Quillet for the dialog's component check (registered in the test's own
# registry).
if(TARGET test_clock_settings)
  target_link_libraries(test_clock_settings PRIVATE kv_audio_analysis)
  add_dependencies(test_clock_settings kvportio Quillet)
  set_property(TEST test_clock_settings APPEND PROPERTY ENVIRONMENT
    "KELVORA_MODULE_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
endif()
